#include "view/SimulationTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "sim/Simulation.h"
#include "view/ClothDocument.h"
#include "view/FrameClock.h"

SimulationTimer::SimulationTimer(ClothDocument& document)
    : document_(document), clock_(steadyNanoseconds), pacer_(Simulation::kTimeStep, kMaxStepsPerTick) {}

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
    SimulationClock::Report report;
    if (realTime()) {
      report = stepAlongsidePainting(steps);
      pacer_.owe(steps - report.steps);
    } else {
      report = document_.takeSteps(steps);
    }
    document_.settleSteps(report);
  }
  stepInProgress_ = false;
  document_.updateAllViews();
}

// A frame due within the tick is shown in it, when it falls due, rather than after it, when the
// stepping thread would stand idle. The panes read the simulation as the frame is readied, before
// it moves, and the views paint the positions published then: both show the tick's start.
SimulationClock::Report SimulationTimer::stepAlongsidePainting(std::int64_t steps) {
  document_.publishPositions();
  const int dueIn = FrameClock::instance().readyFrameDueWithin(kMaxTickNanoseconds / 1000000);
  SimulationClock::Report report;
  stepping_ = true;
  painting_ = dueIn >= 0;
  thread_.run([this, steps, &report] { report = stepWithinTime(steps); });
  if (dueIn >= 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(dueIn));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    painting_ = false;
  }
  thread_.wait();
  stepping_ = false;
  return report;
}

// A chunk that finds the sheet diverged or has a frame refused ends the tick: nothing steps past it.
// Steps go on while the frame is painted, however long that takes, so the thread never waits on it.
SimulationClock::Report SimulationTimer::stepWithinTime(std::int64_t steps) {
  SimulationClock::Report report;
  while (report.steps < steps && (painting_ || clock_() - lastTickTime_ < kMaxTickNanoseconds)) {
    const std::int64_t taken = report.steps;
    report = document_.takeSteps(std::min(kStepsPerChunk, steps - taken));
    report.steps += taken;
    if (report.frameRefused || report.diverged) break;
  }
  return report;
}

std::int64_t SimulationTimer::stepsThisTick() {
  const std::int64_t now = clock_();
  const std::int64_t elapsed = now - lastTickTime_;
  lastTickTime_ = now;
  return realTime() ? pacer_.stepsDue(elapsed) : 1;
}
