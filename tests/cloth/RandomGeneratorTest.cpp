#include <gtest/gtest.h>

#include <cstdint>

#include "cloth/RandomGenerator.h"

namespace {

// Expected draws worked out by hand from state = state × 214013 + 2531011 (mod 2^32),
// draw = (state >> 16) & 0x7FFF.
TEST(RandomGenerator, SequenceFromSeedOne) {
  RandomGenerator gusts(1);
  // 1 × 214013 + 2531011 = 2745024 = 41 × 65536 + 58048
  EXPECT_EQ(gusts.draw(), 41);
  EXPECT_EQ(gusts.draw(), 18467);
  EXPECT_EQ(gusts.draw(), 6334);
  EXPECT_EQ(gusts.draw(), 26500);
  EXPECT_EQ(gusts.draw(), 19169);
}

TEST(RandomGenerator, SequenceFromSeedZero) {
  RandomGenerator gusts(0);
  EXPECT_EQ(gusts.draw(), 38);  // 2531011 >> 16
  EXPECT_EQ(gusts.draw(), 7719);
  EXPECT_EQ(gusts.draw(), 21238);
}

// (2^32 − 1) × 214013 + 2531011 wraps to 2531011 − 214013 = 2316998 = 35 × 65536 + 23238.
TEST(RandomGenerator, StateWrapsModulo2To32) {
  RandomGenerator gusts(0xFFFFFFFFu);
  EXPECT_EQ(gusts.draw(), 35);
  EXPECT_EQ(gusts.draw(), 29739);
}

// 10100 × 214013 + 2531011 = 2164062311, whose bit 31 is set: bits 16 to 30 give 33020 − 32768.
TEST(RandomGenerator, TopBitOfTheStateIsMaskedOff) {
  RandomGenerator gusts(10100);
  EXPECT_EQ(gusts.draw(), 252);
}

TEST(RandomGenerator, SeedingAgainRestartsTheSequence) {
  RandomGenerator gusts(1);
  gusts.draw();
  gusts.draw();
  gusts.seed(1);
  EXPECT_EQ(gusts.draw(), 41);
}

}  // namespace
