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

signals:
  // Just before a frame's repaints are asked for: other changes made now are composed with it.
  void aboutToShowFrame();

private:
  FrameClock();
  void showFrame();

  std::vector<QPointer<QWidget>> pending;
  QTimer timer;  // single shot, running while a frame is pending
  QElapsedTimer sinceLastFrame;
};
