#include "cloth/RandomGenerator.h"

std::uint32_t RandomGenerator::state = 1;

void RandomGenerator::seed(std::uint32_t seed) { state = seed; }

int RandomGenerator::draw() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}
