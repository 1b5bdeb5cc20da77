#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

// Gathers the repaints that views ask for into one frame at most every kFrameIntervalMs, about
// the rate a display shows. One frame for all views matters: with OpenGL widgets every repaint
// composes the whole main window again, so views repainting on their own would multiply that.
class FrameClock : public QObject {
  Q_OBJECT
public:
  static constexpr int kFrameIntervalMs = 33;

  static FrameClock& instance();

  // `widget` is repainted with the next frame.
  void request(QWidget& widget);
  bool framePending() const { return timer.isActive(); }
  // Readies the pending frame now, if it falls due within `ms`: tells aboutToShowFrame and asks
  // for its repaints, which the caller has delivered when it falls due, the milliseconds returned
  // from now. -1 when no frame is that near.
  int readyFrameDueWithin(int ms);

signals:
  // Just before a frame's repaints are asked for: other changes made now are composed with it.
  void aboutToShowFrame();

private:
  FrameClock();
  // Tells aboutToShowFrame and asks for the pending repaints, for a frame shown `lateBy` ms from
  // now: the event loop delivers them, or the caller of readyFrameDueWithin.
  void showFrame(qint64 lateBy);

  std::vector<QPointer<QWidget>> pending;
  QTimer timer;  // single shot, running while a frame is pending
  QElapsedTimer clock;
  qint64 lastFrame = 0;  // when the last frame was shown, on `clock`, ms; none yet while invalid
};
