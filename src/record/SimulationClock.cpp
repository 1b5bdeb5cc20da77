#include "record/SimulationClock.h"

#include "record/RecordingSession.h"

SimulationClock::SimulationClock(RecordingSession& session) : session(session) {}

SimulationClock::Report SimulationClock::advance(std::int64_t steps) {
  Report report;
  while (report.steps < steps) {
    const RecordingSession::Tick tick = session.advanceFrame();
    ++report.steps;
    if (tick.diverged) {
      report.diverged = true;
      report.divergedAtStep = session.stepCount;
      break;
    }
    if (tick.frame == 0) continue;
    report.lastFrame = tick.frame;
    if (tick.failed) {
      report.failed = true;
      break;
    }
    ++report.framesWritten;
  }
  return report;
}
