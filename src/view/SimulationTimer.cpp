#include "view/SimulationTimer.h"

#include <QTimerEvent>
#include <algorithm>
#include <utility>

#include "sim/Simulation.h"


SimulationTimer::SimulationTimer(std::function<void(std::int64_t)> advance, std::function<void()> ticked)
    : advance_(std::move(advance)), ticked_(std::move(ticked)), clock_(steadyNanoseconds),
      pacer_(Simulation::kTimeStep, kMaxStepsPerTick) {}

// Time spent stopped is no time owed: the real-time pace starts afresh from now.
void SimulationTimer::start() {
  if (running()) return;
  timerId_ = static_cast<unsigned>(QObject::startTimer(kTimerPeriodMs, Qt::PreciseTimer));
  pacer_.restart();
  lastTickTime_ = clock_();
}

void SimulationTimer::stop() {
  if (!running()) return;
  killTimer(static_cast<int>(timerId_));
  timerId_ = 0;
}

void SimulationTimer::setClock(NanosecondClock clock) {
  clock_ = std::move(clock);
  lastTickTime_ = clock_();
}

void SimulationTimer::timerEvent(QTimerEvent* event) {
  if (static_cast<unsigned>(event->timerId()) == timerId_) tick();
}

void SimulationTimer::tick() {
  if (stepInProgress_) return;
  stepInProgress_ = true;
  const std::int64_t steps = stepsThisTick();
  if (steps > 0) {
    if (realTime())
      pacer_.owe(steps - stepWithinTime(steps));
    else
      advance_(steps);
  }
  stepInProgress_ = false;
  ticked_();
}

// A chunk that stopped the timer (the sheet diverged) ends the tick: nothing steps past it.
std::int64_t SimulationTimer::stepWithinTime(std::int64_t steps) {
  const unsigned running = timerId_;
  std::int64_t taken = 0;
  while (taken < steps && timerId_ == running && clock_() - lastTickTime_ < kMaxTickNanoseconds) {
    const std::int64_t chunk = std::min(kStepsPerChunk, steps - taken);
    advance_(chunk);
    taken += chunk;
  }
  return taken;
}

std::int64_t SimulationTimer::stepsThisTick() {
  const std::int64_t now = clock_();
  const std::int64_t elapsed = now - lastTickTime_;
  lastTickTime_ = now;
  return realTime() ? pacer_.stepsDue(elapsed) : 1;
}
