#pragma once

#include <cstdint>

// The process-wide 15-bit generator the gusts draw from: state = state × 214013 + 2531011 (mod 2^32),
// each draw gives bits 16 to 30 of the new state, 0 to 32767.
class RandomGenerator {
public:
  static constexpr int kMax = 32767;

  static void seed(std::uint32_t seed);
  static int draw();

private:
  static std::uint32_t state;
};
