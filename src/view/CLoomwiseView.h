#pragma once

#include <QOpenGLWidget>
#include <cstdint>

#include "sim/RealTimePacer.h"

#include "view/ClothView.h"
#include "view/DragHandle.h"

class ClothDocument;

// The document's OpenGL view: renders the cloth with the axes, turns and zooms its camera under the
// mouse, lets a left drag move its invisible scene handle, and runs the simulation timer that
// steps the document's cloth while the Run command has it going.
class CLoomwiseView : public QOpenGLWidget, public ClothView {
  Q_OBJECT
public:
  enum MouseMode { ModeZoom = 1, ModeRotate = 2, ModeDrag = 16 };
  // The mouse-message key flags the handlers take.
  enum KeyFlag { KeyLeftButton = 1, KeyRightButton = 2, KeyShift = 4, KeyControl = 8, KeyMiddleButton = 16 };
  static constexpr int kTimerPeriodMs = 10;
  // A real-time tick that comes late catches up by at most this many steps (0.2 s simulated):
  // enough to ride out a busy moment, few enough that a tick of the largest cloth stays short.
  static constexpr std::int64_t kMaxStepsPerTick = 400;
  // A real-time tick stops stepping once it has run this long and owes the rest to the next
  // tick: several large cloths then share the event loop with the menus instead of holding it.
  static constexpr std::int64_t kMaxTickNanoseconds = 5000000;
  // How many steps a real-time tick takes between two looks at the clock.
  static constexpr std::int64_t kStepsPerChunk = 10;

  CLoomwiseView();

  // The pixel format every view asks for; must be called before the QApplication exists.
  static void requestPixelFormat();

  QWidget& widget() override { return *this; }
  QSize sizeHint() const override;

  void OnRun();
  void OnUpdateRun(CommandUi& ui);
  void startTimer() override;
  void stopTimer() override;
  void OnTimer(int id);
  // One tick of simulation work: one step, or with real time on the steps the wall-clock time
  // since the previous tick calls for, as many of them as fit in kMaxTickNanoseconds.
  virtual void advanceSimulation();
  void OnJoinDocument() override;
  void OnDestroy() override;
  // The document's cloth moved: repaint with the next frame, never once per step.
  void OnUpdate() override;
  void setClock(NanosecondClock clock);
  QImage printedPicture() override;

  // Points are in client pixels, y downwards.
  void OnLButtonDown(int flags, QPoint point);
  void OnRButtonDown(int flags, QPoint point);
  void OnButtonUp(int flags, QPoint point);
  void OnMouseMove(int flags, QPoint point);
  // The scene object under the point, found by a selection-mode pass, or none.
  SceneObject* pickAt(int x, int y);

  void setUpGLState();
  void renderScene();
  static void setProjection(int w, int h, double s, double near, double far);

  unsigned timerId = 0;      // the running simulation timer, 0 while stopped
  int mouseMode = ModeRotate;
  int lastMouseX = 0, lastMouseY = 0;  // client pixels, y downwards
  double viewScale = 0.01;   // half-extent of the view per pixel of client size, world units
  double cameraMatrix[16];   // the camera's model-view matrix, OpenGL column-major
  SceneObject* dragTarget = nullptr;  // picked by the last left press; not owned
  DragHandle handle;         // the one pickable object, at the origin until dragged

  // While true, every running view keeps its cloth at the wall clock's pace; the program's setting.
  static bool realTime;

protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void timerEvent(QTimerEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  ClothDocument* clothDocument() const;
  void rotationStep(QPoint point);
  void zoomStep(QPoint point);
  void dragStep(QPoint point);
  // Pushes the model-view matrix and loads the camera into it.
  void pushCamera();
  void startTicking();
  std::int64_t stepsThisTick();
  // Takes up to `steps` steps in chunks until the tick's time is up; returns the steps taken.
  std::int64_t stepWithinTime(ClothDocument& document, std::int64_t steps);

  // The stand-in for the mouse capture: set by a left or right press, cleared by either release.
  // Qt's implicit grab delivers the moves while a button is down; only captured ones count.
  bool holdsCapture = false;

  // Set while a tick's simulation work runs, shared by all views: a tick nested inside another
  // (a step that ran a message loop) must not step again.
  static bool stepInProgress;

  NanosecondClock clock;
  std::int64_t lastTickTime = 0;  // the clock at the previous tick, ns
  RealTimePacer pacer;
};
