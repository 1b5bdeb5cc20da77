#include "view/CLoomwiseView.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"
#include "linalg/Matrix.h"
#include "record/RecordingSession.h"
#include "toolkit/CommandIds.h"
#include "view/ClothDocument.h"
#include "view/FrameClock.h"
#include "view/OpenGlQuadStripSink.h"
#include "view/SceneDrawing.h"
#include "view/ViewCommands.h"

bool CLoomwiseView::stepInProgress = false;
bool CLoomwiseView::realTime = false;

namespace {

constexpr double kNearPlane = -100.0;
constexpr double kFarPlane = 100.0;
constexpr double kAxisLength = 2.0;
constexpr double kRadiansPerPixel = 0.005;
// Stands in for a zoom ratio of 1 or more, which would make the scale zero or negative.
constexpr double kFullHeightZoomRatio = 0.95;
constexpr int kPickRegion = 2;  // width and height of the region a press picks in, pixels

// The view's orthographic box: one pixel spans 2 s world units both ways, whatever the shape.
void multiplyViewBox(int w, int h, double s, double near, double far) {
  glOrtho(-w * s, w * s, -h * s, h * s, near, far);
}

int keyFlags(const QMouseEvent& event) {
  const Qt::MouseButtons buttons = event.buttons();
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  int flags = 0;
  if (buttons & Qt::LeftButton) flags |= CLoomwiseView::KeyLeftButton;
  if (buttons & Qt::RightButton) flags |= CLoomwiseView::KeyRightButton;
  if (modifiers & Qt::ShiftModifier) flags |= CLoomwiseView::KeyShift;
  if (modifiers & Qt::ControlModifier) flags |= CLoomwiseView::KeyControl;
  if (buttons & Qt::MiddleButton) flags |= CLoomwiseView::KeyMiddleButton;
  return flags;
}

}  // namespace

CLoomwiseView::CLoomwiseView()
    : clock(steadyNanoseconds), pacer(RecordingSession::kDefaultTimeStep, kMaxStepsPerTick) {
  for (int i = 0; i < 16; ++i) cameraMatrix[i] = i % 5 == 0 ? 1.0 : 0.0;
  // renderScene clears the whole framebuffer itself: Qt's own clear before each paint would be a
  // second full-size pass, which software OpenGL pays for in every frame.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
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

void CLoomwiseView::initializeGL() {
  OpenGlQuadStripSink::installAsScreen();
  setUpGLState();
}

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
  multiplyViewBox(w, h, s, near, far);
  glMatrixMode(GL_MODELVIEW);
}

void CLoomwiseView::paintGL() { renderScene(); }

void CLoomwiseView::OnUpdate() { FrameClock::instance().request(*this); }

// The framebuffer's alpha is the clear colour's 0: printed as it is, the black background would
// come out transparent, showing the paper or the preview's grey.
QImage CLoomwiseView::printedPicture() { return grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

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
  pushCamera();
  // The scene handle is not drawn: it is an invisible grip that only the picking pass renders.
  if (ClothDocument* document = clothDocument()) {
    glColor3d(0.75, 0.75, 0.75);
    document->simulatedCloth().draw();
  }
  drawAxes(axes, kAxisLength);
  glPopMatrix();
}

void CLoomwiseView::pushCamera() {
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glMultMatrixd(cameraMatrix);
}

void CLoomwiseView::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton)
    OnLButtonDown(keyFlags(*event), point);
  else if (event->button() == Qt::RightButton)
    OnRButtonDown(keyFlags(*event), point);
  else
    QOpenGLWidget::mousePressEvent(event);
}

void CLoomwiseView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
    OnButtonUp(keyFlags(*event), event->position().toPoint());
  else
    QOpenGLWidget::mouseReleaseEvent(event);
}

void CLoomwiseView::mouseMoveEvent(QMouseEvent* event) { OnMouseMove(keyFlags(*event), event->position().toPoint()); }

void CLoomwiseView::OnLButtonDown(int, QPoint point) {
  lastMouseX = point.x();
  lastMouseY = point.y();
  dragTarget = pickAt(point.x(), point.y());
  // The whole set is replaced: a left press also ends zooming.
  mouseMode = dragTarget != nullptr ? ModeDrag : ModeRotate;
  holdsCapture = true;
}

void CLoomwiseView::OnRButtonDown(int, QPoint point) {
  if (mouseMode & ModeRotate)
    mouseMode |= ModeZoom;
  else if (mouseMode & ModeDrag)
    dragTarget = nullptr;  // the handle drag ends, and no zoom takes over until the next left press
  lastMouseX = point.x();
  lastMouseY = point.y();
  holdsCapture = true;
}

// The mode stays: zooming remains available after the first right press.
void CLoomwiseView::OnButtonUp(int, QPoint) { holdsCapture = false; }

void CLoomwiseView::OnMouseMove(int flags, QPoint point) {
  if (!holdsCapture) return;
  if ((flags & KeyLeftButton) && (mouseMode & ModeRotate))
    rotationStep(point);
  else if (flags == KeyRightButton && (mouseMode & ModeZoom))
    zoomStep(point);
  else if (flags == KeyLeftButton && (mouseMode & ModeDrag))
    dragStep(point);
}

// Mouse handlers run outside paintGL, where Qt has not made our context current: each step
// brackets its OpenGL work so that it never lands in another view's context.
void CLoomwiseView::rotationStep(QPoint point) {
  const double alpha = kRadiansPerPixel * (point.x() - lastMouseX);
  const double beta = kRadiansPerPixel * (point.y() - lastMouseY);
  const double ca = std::cos(alpha), sa = std::sin(alpha), cb = std::cos(beta), sb = std::sin(beta);
  // Column-major Ry(alpha) and Rx(beta), applied before the camera: the turn is about the
  // viewer's axes whatever the scene's orientation.
  const double ry[16] = {ca, 0, -sa, 0, 0, 1, 0, 0, sa, 0, ca, 0, 0, 0, 0, 1};
  const double rx[16] = {1, 0, 0, 0, 0, cb, sb, 0, 0, -sb, cb, 0, 0, 0, 0, 1};
  makeCurrent();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadMatrixd(ry);
  glMultMatrixd(rx);
  glMultMatrixd(cameraMatrix);
  glGetDoublev(GL_MODELVIEW_MATRIX, cameraMatrix);
  glPopMatrix();
  doneCurrent();
  lastMouseX = point.x();
  lastMouseY = point.y();
  update();
}

void CLoomwiseView::zoomStep(QPoint point) {
  const int w = width(), h = height();
  // Without a client height there is no ratio to zoom by.
  if (h == 0) return;
  // Upwards is positive, and zooms in.
  double f = static_cast<double>(lastMouseY - point.y()) / h;
  if (f >= 1) f = kFullHeightZoomRatio;
  lastMouseX = point.x();
  lastMouseY = point.y();
  viewScale *= 1 - f;
  makeCurrent();
  setProjection(w, h, viewScale, kNearPlane, kFarPlane);
  doneCurrent();
  update();
}

void CLoomwiseView::dragStep(QPoint point) {
  makeCurrent();
  pushCamera();
  if (dragTarget != nullptr) dragTarget->drag(0, 0, point.x(), point.y(), SceneObject::AxisX | SceneObject::AxisY);
  glPopMatrix();
  doneCurrent();
  update();
}

SceneObject* CLoomwiseView::pickAt(int x, int y) {
  makeCurrent();
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPickMatrix(x, height() - y, kPickRegion, kPickRegion, viewport);
  multiplyViewBox(width(), height(), viewScale, kNearPlane, kFarPlane);
  pushCamera();
  SceneObject* result = handle.pick(x, y, 0);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  // Model-view last: it is the mode the rest of the view expects between handlers.
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  doneCurrent();
  return result;
}

void CLoomwiseView::OnRun() {
  if (timerId != 0) {
    killTimer(static_cast<int>(timerId));
    timerId = 0;
  } else {
    startTicking();
  }
}

// Time spent stopped is no time owed: the real-time pace starts afresh from now.
void CLoomwiseView::startTicking() {
  timerId = static_cast<unsigned>(QObject::startTimer(kTimerPeriodMs, Qt::PreciseTimer));
  pacer.restart();
  lastTickTime = clock();
}

void CLoomwiseView::setClock(NanosecondClock newClock) {
  clock = std::move(newClock);
  lastTickTime = clock();
}

void CLoomwiseView::OnUpdateRun(CommandUi& ui) { ui.setChecked(timerId != 0); }

void CLoomwiseView::startTimer() {
  if (timerId == 0) startTicking();
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
  // Every view of the document shows the cloth that moved, not only the one whose timer ran.
  if (ClothDocument* document = clothDocument())
    document->updateAllViews();
  else
    OnUpdate();
}

void CLoomwiseView::advanceSimulation() {
  if (stepInProgress) return;
  stepInProgress = true;
  const std::int64_t steps = stepsThisTick();
  ClothDocument* document = clothDocument();
  if (document != nullptr && steps > 0) {
    if (realTime)
      pacer.owe(steps - stepWithinTime(*document, steps));
    else
      document->advance(steps);
  }
  stepInProgress = false;
}

// A chunk that stopped the timer (the cloth diverged) ends the tick: nothing steps past it.
std::int64_t CLoomwiseView::stepWithinTime(ClothDocument& document, std::int64_t steps) {
  const unsigned running = timerId;
  std::int64_t taken = 0;
  while (taken < steps && timerId == running && clock() - lastTickTime < kMaxTickNanoseconds) {
    const std::int64_t chunk = std::min(kStepsPerChunk, steps - taken);
    document.advance(chunk);
    taken += chunk;
  }
  return taken;
}

std::int64_t CLoomwiseView::stepsThisTick() {
  const std::int64_t now = clock();
  const std::int64_t elapsed = now - lastTickTime;
  lastTickTime = now;
  return realTime ? pacer.stepsDue(elapsed) : 1;
}

void CLoomwiseView::OnJoinDocument() {
  if (ClothDocument* document = clothDocument()) document->enterView(*this);
}

void CLoomwiseView::OnDestroy() {
  // timerId keeps its value: the window is going away.
  if (timerId != 0) killTimer(static_cast<int>(timerId));
}
