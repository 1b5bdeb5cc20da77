#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "sim/RealTimePacer.h"

// The run timer of one document's simulation, whatever the number of its views: every tick
// advances the simulation once through `advance`, then tells `ticked` so that every view repaints.
// Qt timers never queue up behind a slow tick.
class SimulationTimer : public QObject {
public:
  static constexpr int kTimerPeriodMs = 10;
  // A real-time tick that comes late catches up by at most this many steps (0.2 s simulated):
  // enough to ride out a busy moment, few enough that a tick of the largest cloth stays short.
  static constexpr std::int64_t kMaxStepsPerTick = 400;
  // A real-time tick stops stepping once it has run this long and owes the rest to the next
  // tick: several large cloths then share the event loop with the menus instead of holding it.
  static constexpr std::int64_t kMaxTickNanoseconds = 5000000;
  // How many steps a real-time tick takes between two looks at the clock.
  static constexpr std::int64_t kStepsPerChunk = 10;

  // `advance` takes the steps a tick calls for; `ticked` follows every tick.
  SimulationTimer(std::function<void(std::int64_t)> advance, std::function<void()> ticked);

  void start();  // does nothing while running
  void stop();
  void toggle() { running() ? stop() : start(); }
  bool running() const { return timerId_ != 0; }
  unsigned timerId() const { return timerId_; }

  // One tick's simulation work: one step, or with real time on the steps the wall-clock time since
  // the previous tick calls for, as many of them as fit in kMaxTickNanoseconds.
  void tick();
  void setClock(NanosecondClock clock);

  // Keeps to the wall clock's pace while `*setting` is true: the program's Real Time setting,
  // read at every tick. Without one the timer takes one step a tick.
  void followRealTime(const bool* setting) { realTimeSetting_ = setting; }
  bool realTime() const { return realTimeSetting_ != nullptr && *realTimeSetting_; }

protected:
  void timerEvent(QTimerEvent* event) override;

private:
  std::int64_t stepsThisTick();
  // Takes up to `steps` steps in chunks until the tick's time is up; returns the steps taken.
  std::int64_t stepWithinTime(std::int64_t steps);

  const bool* realTimeSetting_ = nullptr;  // not owned
  std::function<void(std::int64_t)> advance_;
  std::function<void()> ticked_;
  unsigned timerId_ = 0;
  // Set while a tick's work runs: a tick nested inside it (a step that ran a message loop, such as
  // a message box about a broken sheet) must not step again.
  bool stepInProgress_ = false;
  NanosecondClock clock_;
  std::int64_t lastTickTime_ = 0;  // the clock at the previous tick, ns
  RealTimePacer pacer_;
};
