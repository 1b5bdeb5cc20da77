#pragma once

#include <cstdint>

// The 15-bit generator the gusts draw from: state = state × 214013 + 2531011 (mod 2^32), each draw
// gives bits 16 to 30 of the new state, 0 to 32767. Each simulation owns one, so that two cloths
// never change each other's gusts.
class RandomGenerator {
public:
  static constexpr int kMax = 32767;

  explicit RandomGenerator(std::uint32_t seed = 1) : state(seed) {}

  void seed(std::uint32_t seed) { state = seed; }
  int draw();

private:
  std::uint32_t state;
};
