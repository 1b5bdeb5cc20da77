#include "view/CLoomwiseView.h"

#include <GL/gl.h>
#include <QSurfaceFormat>
#include <QTimerEvent>

#include "cloth/Cloth.h"
#include "linalg/Matrix.h"
#include "toolkit/CommandIds.h"
#include "view/ClothDocument.h"
#include "view/SceneDrawing.h"
#include "view/ViewCommands.h"

bool CLoomwiseView::stepInProgress = false;

namespace {

constexpr double kNearPlane = -100.0;
constexpr double kFarPlane = 100.0;
constexpr double kAxisLength = 2.0;

}  // namespace

CLoomwiseView::CLoomwiseView() {
  for (int i = 0; i < 16; ++i) cameraMatrix[i] = i % 5 == 0 ? 1.0 : 0.0;
  onCommand(ID_RUN, [this] { OnRun(); });
  onUpdate(ID_RUN, [this](CommandUi& ui) { OnUpdateRun(ui); });
  onCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
  onCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
  onCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

void CLoomwiseView::requestPixelFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setDepthBufferSize(16);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  QSurfaceFormat::setDefaultFormat(format);
}

QSize CLoomwiseView::sizeHint() const { return QSize(480, 360); }

ClothDocument* CLoomwiseView::clothDocument() const { return dynamic_cast<ClothDocument*>(document()); }

void CLoomwiseView::initializeGL() { setUpGLState(); }

void CLoomwiseView::setUpGLState() {
  const GLfloat ambient[] = {0.8f, 0.8f, 0.8f, 1.0f};
  glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glDepthFunc(GL_LESS);
  glEnable(GL_DEPTH_TEST);
  glClearColor(0, 0, 0, 0);
}

// The widget's context is current here and in paintGL: Qt makes it so and swaps the buffers.
void CLoomwiseView::resizeGL(int w, int h) { setProjection(w, h, viewScale, kNearPlane, kFarPlane); }

void CLoomwiseView::setProjection(int w, int h, double s, double near, double far) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-w * s, w * s, -h * s, h * s, near, far);
  glMatrixMode(GL_MODELVIEW);
}

void CLoomwiseView::paintGL() { renderScene(); }

void CLoomwiseView::renderScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_COLOR_MATERIAL);
  const GLfloat ambient[] = {0.8f, 0.8f, 0.8f, 1.0f};
  const GLfloat diffuse[] = {0.2f, 0.2f, 0.2f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  // Given while the model-view matrix is the identity, so the light stays put relative to the
  // viewer whatever the camera does.
  const GLfloat light[] = {-45.0f, -5.0f, 25.0f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, light);
  const Matrix axes = Matrix::identity(4);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glMultMatrixd(cameraMatrix);
  if (ClothDocument* document = clothDocument()) {
    glColor3d(0.75, 0.75, 0.75);
    document->simulatedCloth().draw();
  }
  drawAxes(axes, kAxisLength);
  glPopMatrix();
}

void CLoomwiseView::OnRun() {
  if (timerId != 0) {
    killTimer(static_cast<int>(timerId));
    timerId = 0;
  } else {
    timerId = static_cast<unsigned>(QObject::startTimer(kTimerPeriodMs, Qt::PreciseTimer));
  }
}

void CLoomwiseView::OnUpdateRun(CommandUi& ui) { ui.SetCheck(timerId != 0); }

void CLoomwiseView::startTimer() {
  if (timerId == 0) timerId = static_cast<unsigned>(QObject::startTimer(kTimerPeriodMs, Qt::PreciseTimer));
}

void CLoomwiseView::stopTimer() {
  if (timerId == 0) return;
  killTimer(static_cast<int>(timerId));
  timerId = 0;
}

void CLoomwiseView::timerEvent(QTimerEvent* event) {
  QOpenGLWidget::timerEvent(event);
  OnTimer(event->timerId());
}

void CLoomwiseView::OnTimer(int id) {
  if (static_cast<unsigned>(id) != timerId) return;
  advanceSimulation();
  update();
}

void CLoomwiseView::advanceSimulation() {
  if (stepInProgress) return;
  stepInProgress = true;
  if (ClothDocument* document = clothDocument()) document->advanceFrame();
  stepInProgress = false;
}

void CLoomwiseView::OnDestroy() {
  // timerId keeps its value: the window is going away.
  if (timerId != 0) killTimer(static_cast<int>(timerId));
}
