#include "view/FrameClock.h"

#include <algorithm>

FrameClock& FrameClock::instance() {
  static FrameClock clock;
  return clock;
}

FrameClock::FrameClock() {
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, this, [this] { showFrame(0); });
}

void FrameClock::request(QWidget& widget) {
  if (std::find(pending.begin(), pending.end(), &widget) == pending.end()) pending.emplace_back(&widget);
  if (timer.isActive()) return;
  const qint64 waited = clock.isValid() ? clock.elapsed() - lastFrame : kFrameIntervalMs;
  timer.start(static_cast<int>(std::max<qint64>(0, kFrameIntervalMs - waited)));
}

int FrameClock::readyFrameDueWithin(int ms) {
  if (!timer.isActive() || timer.remainingTime() > ms) return -1;
  const int wait = timer.remainingTime();
  timer.stop();
  showFrame(wait);
  return wait;
}

void FrameClock::showFrame(qint64 lateBy) {
  if (!clock.isValid()) clock.start();
  lastFrame = clock.elapsed() + lateBy;
  emit aboutToShowFrame();
  // Updates asked for in one go are painted and composed together.
  const std::vector<QPointer<QWidget>> due = std::move(pending);
  pending.clear();
  for (const QPointer<QWidget>& widget : due)
    if (widget) widget->update();
}
