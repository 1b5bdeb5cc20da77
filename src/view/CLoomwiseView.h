#pragma once

#include <QOpenGLWidget>

#include "toolkit/View.h"

class ClothDocument;

// The document's OpenGL view: renders the cloth with the axes, and runs the simulation timer that
// steps the document's cloth while the Run command has it going.
class CLoomwiseView : public QOpenGLWidget, public View {
  Q_OBJECT
public:
  enum MouseMode { ModeZoom = 1, ModeRotate = 2, ModeDrag = 16 };
  static constexpr int kTimerPeriodMs = 10;

  CLoomwiseView();

  // The pixel format every view asks for; must be called before the QApplication exists.
  static void requestPixelFormat();

  QWidget& widget() override { return *this; }
  QSize sizeHint() const override;

  void OnRun();
  void OnUpdateRun(CommandUi& ui);
  void startTimer();
  void stopTimer();
  void OnTimer(int id);
  // One tick of simulation work.
  virtual void advanceSimulation();
  void OnDestroy() override;

  void setUpGLState();
  void renderScene();
  static void setProjection(int w, int h, double s, double near, double far);

  unsigned timerId = 0;      // the running simulation timer, 0 while stopped
  int mouseMode = ModeRotate;
  int lastMouseX = 0, lastMouseY = 0;  // client pixels, y downwards
  double viewScale = 0.01;   // half-extent of the view per pixel of client size, world units
  double cameraMatrix[16];   // the camera's model-view matrix, OpenGL column-major

protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;
  void timerEvent(QTimerEvent* event) override;
  QImage printedPicture() override { return grabFramebuffer(); }

private:
  ClothDocument* clothDocument() const;

  // Set while a tick's simulation work runs, shared by all views: a tick nested inside another
  // (a step that ran a message loop) must not step again.
  static bool stepInProgress;
};
