#include "view/FrameClock.h"

#include <algorithm>

FrameClock& FrameClock::instance() {
  static FrameClock clock;
  return clock;
}

FrameClock::FrameClock() {
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  connect(&timer, &QTimer::timeout, this, &FrameClock::showFrame);
}

void FrameClock::request(QWidget& widget) {
  if (std::find(pending.begin(), pending.end(), &widget) == pending.end()) pending.emplace_back(&widget);
  if (timer.isActive()) return;
  const qint64 waited = sinceLastFrame.isValid() ? sinceLastFrame.elapsed() : kFrameIntervalMs;
  timer.start(static_cast<int>(std::max<qint64>(0, kFrameIntervalMs - waited)));
}

bool FrameClock::readyFrameDueWithin(int ms) {
  if (!timer.isActive() || timer.remainingTime() > ms) return false;
  timer.stop();
  showFrame();
  return true;
}

void FrameClock::showFrame() {
  sinceLastFrame.start();
  emit aboutToShowFrame();
  // Updates asked for in one go are painted and composed together.
  const std::vector<QPointer<QWidget>> due = std::move(pending);
  pending.clear();
  for (const QPointer<QWidget>& widget : due)
    if (widget) widget->update();
}
