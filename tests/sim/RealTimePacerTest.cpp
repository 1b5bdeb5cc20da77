#include "sim/RealTimePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int64_t kMillisecond = 1000000;

struct PacingCase {
  const char* name;
  std::vector<std::int64_t> elapsed;  // ns per call
  std::vector<std::int64_t> due;      // steps per call
};

// 0.5 ms steps, at most 100 per call.
const PacingCase kCases[] = {
    {"a 10 ms tick is 20 steps", {10 * kMillisecond, 10 * kMillisecond}, {20, 20}},
    {"the part of a step is carried", {700000, 700000, 100000}, {1, 1, 1}},
    {"short ticks add up", {200000, 200000, 200000}, {0, 0, 1}},
    {"a late tick catches up at most 100 steps and drops the rest",
     {2000 * kMillisecond, 10 * kMillisecond},
     {100, 20}},
    {"exactly the bound is no backlog", {50 * kMillisecond, 250000, 250000}, {100, 0, 1}},
    {"a clock running backwards gives nothing", {-5 * kMillisecond, 1 * kMillisecond}, {0, 2}},
};

TEST(RealTimePacer, TurnsWallTimeIntoWholeSteps) {
  for (const PacingCase& c : kCases) {
    RealTimePacer pacer(0.0005, 100);
    for (std::size_t i = 0; i < c.elapsed.size(); ++i)
      EXPECT_EQ(pacer.stepsDue(c.elapsed[i]), c.due[i]) << c.name << ", call " << i;
  }
}

// Over a long run of uneven ticks no step is gained or lost: 2000 steps per second exactly.
TEST(RealTimePacer, KeepsThePaceOverALongRun) {
  RealTimePacer pacer(0.0005, 100);
  std::int64_t steps = 0, wall = 0;
  for (int i = 0; i < 10000; ++i) {
    const std::int64_t tick = 9 * kMillisecond + (i % 7) * 333333;
    wall += tick;
    steps += pacer.stepsDue(tick);
  }
  EXPECT_EQ(steps, wall / 500000);
}

// Steps a caller had no time for come back with the next call, but never beyond the bound.
TEST(RealTimePacer, StepsNotTakenAreDueAgainWithinTheBound) {
  RealTimePacer pacer(0.0005, 100);
  EXPECT_EQ(pacer.stepsDue(30 * kMillisecond), 60);
  pacer.owe(45);
  EXPECT_EQ(pacer.stepsDue(10 * kMillisecond), 65);
  pacer.owe(60);
  EXPECT_EQ(pacer.stepsDue(30 * kMillisecond), 100);
  EXPECT_EQ(pacer.stepsDue(1 * kMillisecond), 2);
}

TEST(RealTimePacer, RestartForgetsTheCarriedTime) {
  RealTimePacer pacer(0.0005, 100);
  EXPECT_EQ(pacer.stepsDue(400000), 0);
  pacer.restart();
  EXPECT_EQ(pacer.stepsDue(400000), 0);
  EXPECT_EQ(pacer.stepsDue(100000), 1);
}

}  // namespace
