#include "sim/RealTimePacer.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cmath>

std::int64_t steadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

RealTimePacer::RealTimePacer(double timeStep, std::int64_t maxStepsPerCall)
    : stepLength(std::max<std::int64_t>(1, std::llround(timeStep * 1e9))), maxStepsPerCall(maxStepsPerCall) {
  assert(maxStepsPerCall >= 1);
}

std::int64_t RealTimePacer::stepsDue(std::int64_t elapsedNanoseconds) {
  owedNanoseconds += std::max<std::int64_t>(0, elapsedNanoseconds);
  const std::int64_t due = owedNanoseconds / stepLength;
  if (due > maxStepsPerCall) {
    // Behind by more than one call may catch up: the backlog is given up, not carried.
    owedNanoseconds = 0;
    return maxStepsPerCall;
  }
  owedNanoseconds -= due * stepLength;
  return due;
}

void RealTimePacer::owe(std::int64_t steps) { owedNanoseconds += std::max<std::int64_t>(0, steps) * stepLength; }
