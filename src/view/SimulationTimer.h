#pragma once

#include <QObject>
#include <atomic>
#include <cstdint>

#include "sim/RealTimePacer.h"
#include "sim/SimulationClock.h"
#include "view/StepThread.h"

class ClothDocument;

// The run timer of one document's simulation, whatever the number of its views: every tick
// advances the simulation through the document's takeSteps and settleSteps, then has every view
// repaint. Qt timers never queue up behind a slow tick.
//
// A real-time tick steps on a thread of its own while this one paints the frame due, so that a
// large cloth gets a whole core: the document publishes its positions first and its views draw
// those, and the tick waits for the steps before it returns, so that nothing else of the program
// meets the simulation while it moves.
class SimulationTimer : public QObject {
public:
  static constexpr int kTimerPeriodMs = 10;
  // A real-time tick that comes late catches up by at most this many steps (0.2 s simulated):
  // enough to ride out a busy moment, few enough that a tick of the largest cloth stays short.
  static constexpr std::int64_t kMaxStepsPerTick = 400;
  // A real-time tick stops stepping once it has run this long, or once its painting is done if
  // that takes longer, and owes the rest to the next tick: the events that came meanwhile (the
  // menus, the mouse, other cloths' ticks) are answered in between. Two periods: the stepping
  // thread then seldom waits between ticks, and the window still answers within 20 ms or so.
  static constexpr std::int64_t kMaxTickNanoseconds = 20000000;
  // How many steps a real-time tick takes between two looks at the clock.
  static constexpr std::int64_t kStepsPerChunk = 10;

  explicit SimulationTimer(ClothDocument& document);

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
  // True while a real-time tick's steps run on the stepping thread.
  bool stepping() const { return stepping_; }

protected:
  void timerEvent(QTimerEvent* event) override;

private:
  std::int64_t stepsThisTick();
  // Up to `steps` steps on the stepping thread, while this one paints the frame due.
  SimulationClock::Report stepAlongsidePainting(std::int64_t steps);
  // Takes up to `steps` steps in chunks until the tick's time is up, a step finds the sheet
  // diverged or a frame is refused.
  SimulationClock::Report stepWithinTime(std::int64_t steps);

  ClothDocument& document_;
  const bool* realTimeSetting_ = nullptr;  // not owned
  unsigned timerId_ = 0;
  bool stepping_ = false;
  std::atomic<bool> painting_{false};  // the frame is being painted while the steps run
  // Set while a tick's work runs: a tick nested inside it (a step that ran a message loop, such as
  // a message box about a broken sheet) must not step again.
  bool stepInProgress_ = false;
  NanosecondClock clock_;
  std::int64_t lastTickTime_ = 0;  // the clock at the previous tick, ns
  RealTimePacer pacer_;
  StepThread thread_;
};
