#pragma once

#include <cstdint>
#include <functional>

// A monotonic clock in nanoseconds: the steady clock in the program, a hand-set one in tests.
using NanosecondClock = std::function<std::int64_t()>;
std::int64_t steadyNanoseconds();

// Turns wall-clock time into whole simulation steps, so that one simulated second takes one
// second: the part of a step not yet due is carried to the next call. Time is counted in integer
// nanoseconds, so no rounding drifts the pace over a long run.
class RealTimePacer {
public:
  // At most `maxStepsPerCall` steps fall due at once; time beyond them is dropped, so a machine
  // that cannot keep up runs slower instead of falling ever further behind.
  RealTimePacer(double timeStep, std::int64_t maxStepsPerCall);

  // The whole steps due after `elapsedNanoseconds` more of wall-clock time (negative counts as 0).
  std::int64_t stepsDue(std::int64_t elapsedNanoseconds);
  // Steps that fell due but were not taken (the caller ran out of time): due again at the next
  // call, within the same bound.
  void owe(std::int64_t steps);
  // Forgets the carried time, for a fresh start after a pause.
  void restart() { owedNanoseconds = 0; }

  std::int64_t stepNanoseconds() const { return stepLength; }
  std::int64_t maxSteps() const { return maxStepsPerCall; }

private:
  std::int64_t stepLength;  // one step of simulated time, ns (at least 1)
  std::int64_t maxStepsPerCall;
  std::int64_t owedNanoseconds = 0;  // wall time passed that no step has covered yet
};
