#include "record/RealTimePacer.h"

#include <algorithm>
#include <cassert>
#include <cmath>

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
