#include "sim/SimulationClock.h"

#include "sim/Simulation.h"

SimulationClock::Report SimulationClock::advance(std::int64_t steps) {
  Report report;
  while (report.steps < steps) {
    const Simulation::StepResult result = simulation.step();
    ++report.steps;
    if (result.diverged) {
      report.diverged = true;
      report.divergedAtStep = simulation.stepCount();
      break;
    }
    if (result.frameRefused) {
      report.frameRefused = true;
      break;
    }
  }
  return report;
}
