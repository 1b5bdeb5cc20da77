#include "view/CLoomwiseView.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QColorDialog>
#include <QMouseEvent>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"
#include "linalg/Matrix.h"
#include "sim/Simulation.h"
#include "toolkit/CommandIds.h"
#include "scene/ColliderSurface.h"
#include "view/ClothDocument.h"
#include "view/ColliderDrawing.h"
#include "view/FrameClock.h"
#include "view/NodePicker.h"
#include "view/OpenGlQuadStripSink.h"
#include "view/SceneDrawing.h"
#include "view/ViewCommands.h"

namespace {

constexpr double kNearPlane = -100.0;
constexpr double kFarPlane = 100.0;
constexpr double kAxisLength = 2.0;
constexpr double kRadiansPerPixel = 0.005;
// Stands in for a zoom ratio of 1 or more, which would make the scale zero or negative.
constexpr double kFullHeightZoomRatio = 0.95;
constexpr int kPickRegion = 2;  // width and height of the region a press picks in, pixels
constexpr double kFrontRotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // a new view's camera, looking along −z

// The view's orthographic box: one pixel spans 2 s world units both ways, whatever the shape.
void multiplyViewBox(int w, int h, double s, double near, double far) {
  glOrtho(-w * s, w * s, -h * s, h * s, near, far);
}

// The floor lies on the first ground plane of the scene (one facing up), or where Scene > Add
// Ground Plane would put one: a quarter of the sheet below its rest shape.
double floorHeight(const Simulation& simulation) {
  for (const Collider& collider : simulation.colliders().colliders())
    if (const Plane* plane = std::get_if<Plane>(&collider); plane != nullptr && plane->normal.y > 0.9 * norm(plane->normal))
      return plane->point.y;
  const Cloth& cloth = simulation.cloth();
  double lowest = cloth.restPositions->at(0).y;
  for (int k = 1; k < cloth.nodeCount(); ++k) lowest = std::min(lowest, cloth.restPositions->at(k).y);
  return lowest - 0.25 * std::max(cloth.width - 1, cloth.height - 1) * cloth.spacing;
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

CLoomwiseView::CLoomwiseView() {
  for (int i = 0; i < 16; ++i) cameraMatrix[i] = i % 5 == 0 ? 1.0 : 0.0;
  // renderScene clears the whole framebuffer itself: Qt's own clear before each paint would be a
  // second full-size pass, which software OpenGL pays for in every frame.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
  onCommand(ID_RUN, [this] { OnRun(); });
  onUpdate(ID_RUN, [this](CommandUi& ui) { OnUpdateRun(ui); });
  onCommand(ID_VIEW_FRONT, [this] { lookFrom(Angle::Front); });
  onCommand(ID_VIEW_SIDE, [this] { lookFrom(Angle::Side); });
  onCommand(ID_VIEW_TOP, [this] { lookFrom(Angle::Top); });
  onCommand(ID_VIEW_RESET_CAMERA, [this] { resetCamera(); });
  onCommand(ID_VIEW_FRAME_SCENE, [this] { frameScene(); });
  for (const auto& [id, option] : {std::pair{ID_VIEW_WIREFRAME, &DisplayOptions::wireframe},
                                   std::pair{ID_VIEW_NODES, &DisplayOptions::nodes},
                                   std::pair{ID_VIEW_PINS, &DisplayOptions::pins},
                                   std::pair{ID_VIEW_FLOOR_GRID, &DisplayOptions::floorGrid}}) {
    onCommand(id, [this, option = option] { toggleDisplay(option); });
    onUpdate(id, [this, option = option](CommandUi& ui) { ui.setChecked(display.*option); });
  }
  onCommand(ID_VIEW_CLOTH_COLOUR, [this] { chooseClothColour(); });
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
  // Both sides of the sheet take the light: it billows towards the viewer as often as away.
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
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

QImage CLoomwiseView::renderedImage(QSize size) {
  makeCurrent();
  QImage image;
  QOpenGLFramebufferObject framebuffer(size, QOpenGLFramebufferObject::Depth);
  if (framebuffer.isValid() && framebuffer.bind()) {
    // The scale that fits the view's whole box into the image, whatever its shape.
    const double scale = viewScale * std::max(static_cast<double>(width()) / size.width(),
                                              static_cast<double>(height()) / size.height());
    setProjection(size.width(), size.height(), scale, kNearPlane, kFarPlane);
    renderScene();
    image = framebuffer.toImage().convertToFormat(QImage::Format_RGB32);
    // Binds the widget's own framebuffer again, which its next paint draws into.
    framebuffer.release();
    setProjection(width(), height(), viewScale, kNearPlane, kFarPlane);
  }
  doneCurrent();
  return image;
}

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
    // While a tick's steps run, `shown` holds the positions published for it: the live ones are
    // not to be read then.
    const Simulation& simulation = document->simulation();
    const NodeBuffer* shown = document->shownFrame();
    const NodeBuffer* drawn = shown != nullptr ? shown : simulation.cloth().positions.get();
    drawCloth(simulation, drawn);
    colliderDrawing.draw(simulation.colliders(), planeHalfSizeFor(simulation.cloth()));
    if (drawn != nullptr) {
      const Cloth& cloth = simulation.cloth();
      if (display.floorGrid) drawFloorGrid(floorHeight(simulation), planeHalfSizeFor(cloth), 4 * cloth.spacing);
      if (display.nodes) drawNodes(*drawn, cloth.nodeCount());
      if (display.pins) drawPins(simulation, *drawn);
    }
  }
  drawAxes(axes, kAxisLength);
  glPopMatrix();
}

void CLoomwiseView::drawCloth(const Simulation& simulation, const NodeBuffer* drawn) const {
  glColor3f(display.clothColour.redF(), display.clothColour.greenF(), display.clothColour.blueF());
  if (display.wireframe) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  OpenGlQuadStripSink sink;
  // The strips wind clockwise as seen from the side their normals face: that side is the front,
  // so that two-sided lighting turns the normals round for the other.
  glFrontFace(GL_CW);
  simulation.cloth().draw(sink, drawn);
  glFrontFace(GL_CCW);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}

// Every node as a small white dot, unlit and drawn over the sheet.
void CLoomwiseView::drawNodes(const NodeBuffer& positions, int count) const {
  glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPointSize(3.0f);
  glColor3d(0.95, 0.95, 0.95);
  glBegin(GL_POINTS);
  for (int k = 0; k < count; ++k) {
    const Vec3 p = positions.at(k);
    glVertex3d(p.x, p.y, p.z);
  }
  glEnd();
  glPopAttrib();
}

void CLoomwiseView::toggleDisplay(bool DisplayOptions::*option) {
  display.*option = !(display.*option);
  display.remember();
  update();
}

void CLoomwiseView::chooseClothColour() {
  const QColor colour = QColorDialog::getColor(display.clothColour, this, tr("Cloth Colour"));
  if (!colour.isValid()) return;
  display.clothColour = colour;
  display.remember();
  update();
}

// Pinned nodes as red dots, held ones as yellow, unlit and drawn over the sheet.
void CLoomwiseView::drawPins(const Simulation& simulation, const NodeBuffer& positions) const {
  const Cloth& cloth = simulation.cloth();
  glPushAttrib(GL_ENABLE_BIT | GL_POINT_BIT | GL_CURRENT_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPointSize(6.0f);
  glBegin(GL_POINTS);
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const bool held = simulation.isHeld(k);
    if (!held && !simulation.isPinned(k)) continue;
    if (held)
      glColor3d(1.0, 0.85, 0.1);
    else
      glColor3d(0.9, 0.15, 0.1);
    const Vec3 p = positions.at(k);
    glVertex3d(p.x, p.y, p.z);
  }
  glEnd();
  glPopAttrib();
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

void CLoomwiseView::OnLButtonDown(int flags, QPoint point) {
  lastMouseX = point.x();
  lastMouseY = point.y();
  // The cloth is what the user sees: a node under the press wins over the invisible handle.
  if (grabAt(flags, point)) {
    holdsCapture = true;
    return;
  }
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
void CLoomwiseView::OnButtonUp(int, QPoint) {
  holdsCapture = false;
  releaseGrab();
}

void CLoomwiseView::OnMouseMove(int flags, QPoint point) {
  if (!holdsCapture) return;
  if ((flags & KeyLeftButton) && (mouseMode & ModeGrab))
    grabStep(point);
  else if ((flags & KeyLeftButton) && (mouseMode & ModeRotate))
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
  const int h = height();
  // Without a client height there is no ratio to zoom by.
  if (h == 0) return;
  // Upwards is positive, and zooms in.
  double f = static_cast<double>(lastMouseY - point.y()) / h;
  if (f >= 1) f = kFullHeightZoomRatio;
  lastMouseX = point.x();
  lastMouseY = point.y();
  viewScale *= 1 - f;
  applyZoom();
}

void CLoomwiseView::applyZoom() {
  makeCurrent();
  setProjection(width(), height(), viewScale, kNearPlane, kFarPlane);
  doneCurrent();
  update();
}

// Column-major: the rotation's rows are the eye's axes in scene coordinates.
void CLoomwiseView::setCamera(const double rotation[9], const double translation[3]) {
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) cameraMatrix[4 * column + row] = rotation[3 * row + column];
    cameraMatrix[4 * column + 3] = 0.0;
    cameraMatrix[12 + column] = translation[column];
  }
  cameraMatrix[15] = 1.0;
  update();
}

void CLoomwiseView::lookFrom(Angle angle) {
  // Rows: the eye's x (right), y (up) and z (towards the viewer) in scene coordinates.
  static constexpr double kSide[9] = {0, 0, -1, 0, 1, 0, 1, 0, 0};
  static constexpr double kTop[9] = {1, 0, 0, 0, 0, -1, 0, 1, 0};
  const double* rotation = angle == Angle::Front ? kFrontRotation : angle == Angle::Side ? kSide : kTop;
  // The point at the view's centre stays there.
  double centre[3];
  for (int i = 0; i < 3; ++i)
    centre[i] = -(cameraMatrix[4 * i] * cameraMatrix[12] + cameraMatrix[4 * i + 1] * cameraMatrix[13] +
                  cameraMatrix[4 * i + 2] * cameraMatrix[14]);
  double translation[3];
  for (int row = 0; row < 3; ++row)
    translation[row] = -(rotation[3 * row] * centre[0] + rotation[3 * row + 1] * centre[1] + rotation[3 * row + 2] * centre[2]);
  setCamera(rotation, translation);
}

void CLoomwiseView::resetCamera() {
  static constexpr double kOrigin[3] = {0, 0, 0};
  setCamera(kFrontRotation, kOrigin);
  viewScale = kFirstViewScale;
  applyZoom();
}

void CLoomwiseView::frameScene() {
  ClothDocument* document = clothDocument();
  if (document == nullptr || width() == 0 || height() == 0) return;
  const Simulation& simulation = document->simulation();
  std::vector<Vec3> points;
  const Cloth& cloth = simulation.cloth();
  for (int k = 0; k < cloth.nodeCount(); ++k) points.push_back(cloth.positions->at(k));
  for (const Collider& collider : simulation.colliders().colliders()) {
    if (std::holds_alternative<Plane>(collider)) continue;  // endless: it would fill any view
    const ColliderSurface surface = surfaceOf(collider, 0.0);
    points.insert(points.end(), surface.positions.begin(), surface.positions.end());
  }
  if (points.empty()) return;
  // The scene's extent along the eye's right and up axes.
  double lower[2] = {1e300, 1e300}, upper[2] = {-1e300, -1e300};
  for (const Vec3& p : points)
    for (int axis = 0; axis < 2; ++axis) {
      const double e = cameraMatrix[axis] * p.x + cameraMatrix[4 + axis] * p.y + cameraMatrix[8 + axis] * p.z;
      lower[axis] = std::min(lower[axis], e);
      upper[axis] = std::max(upper[axis], e);
    }
  cameraMatrix[12] = -0.5 * (lower[0] + upper[0]);
  cameraMatrix[13] = -0.5 * (lower[1] + upper[1]);
  // One pixel spans 2 × viewScale: a tenth of a margin round the scene.
  constexpr double kMargin = 1.1;
  viewScale = std::max(kMargin * (upper[0] - lower[0]) / (2.0 * width()), kMargin * (upper[1] - lower[1]) / (2.0 * height()));
  viewScale = std::max(viewScale, 1e-4);
  applyZoom();
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
  SceneObject* result = handle.pick(x, y, 0, pickRecord);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  // Model-view last: it is the mode the rest of the view expects between handlers.
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  doneCurrent();
  return result;
}

NodePicker CLoomwiseView::picker() const { return NodePicker(cameraMatrix, viewScale, width(), height()); }

int CLoomwiseView::nodeAt(QPoint point) const {
  ClothDocument* document = clothDocument();
  // Only the live cloth can be taken: while an earlier frame is shown, a press turns the camera.
  if (document == nullptr || !document->simulation().cloth().hasGrid() || document->shownFrame() != nullptr) return -1;
  return picker().nodeAt(*document->simulation().cloth().positions, point.x(), point.y(), kGrabRadius);
}

bool CLoomwiseView::grabAt(int flags, QPoint point) {
  const int node = nodeAt(point);
  if (node < 0) return false;
  Simulation& simulation = clothDocument()->simulation();
  if (flags & KeyControl) {
    simulation.togglePin(node);
    clothDocument()->sceneEdited(tr("Pin Node"));
    mouseMode = ModeRotate;  // the press ends here; the drag that follows turns nothing
    holdsCapture = false;
    update();
    return true;
  }
  const Vec3 p = simulation.cloth().positions->at(node);
  grabbedNode = node;
  grabDepth = picker().project(p).depth;
  grabTrail = grabPoint = p;
  grabTrailStep = grabPointStep = simulation.stepCount();
  simulation.hold(node, p);
  mouseMode = ModeGrab;
  return true;
}

void CLoomwiseView::grabStep(QPoint point) {
  ClothDocument* document = clothDocument();
  if (document == nullptr || grabbedNode < 0) return;
  Simulation& simulation = document->simulation();
  // The trail keeps the point of an earlier step, so the velocity spans simulated time.
  if (simulation.stepCount() != grabPointStep) {
    grabTrail = grabPoint;
    grabTrailStep = grabPointStep;
  }
  grabPoint = picker().unproject(point.x(), point.y(), grabDepth);
  grabPointStep = simulation.stepCount();
  simulation.hold(grabbedNode, grabPoint);
  document->updateAllViews();
}

// Let go with the velocity of the drag over the last steps; a drag while stopped throws nothing.
void CLoomwiseView::releaseGrab() {
  ClothDocument* document = clothDocument();
  if (document == nullptr || grabbedNode < 0) return;
  Simulation& simulation = document->simulation();
  const std::int64_t steps = simulation.stepCount() - grabTrailStep;
  const Vec3 velocity = steps > 0 ? (1.0 / (steps * Simulation::kTimeStep)) * (grabPoint - grabTrail) : Vec3{};
  simulation.release(grabbedNode, velocity);
  grabbedNode = -1;
  mouseMode = ModeRotate;
  document->updateAllViews();
}

void CLoomwiseView::OnRun() {
  if (ClothDocument* document = clothDocument()) document->runTimer.toggle();
}

void CLoomwiseView::OnUpdateRun(CommandUi& ui) { ui.setChecked(timerId() != 0); }

unsigned CLoomwiseView::timerId() const {
  const ClothDocument* document = clothDocument();
  return document != nullptr ? document->runTimer.timerId() : 0;
}

void CLoomwiseView::startTimer() {
  if (ClothDocument* document = clothDocument()) document->runTimer.start();
}

void CLoomwiseView::stopTimer() {
  if (ClothDocument* document = clothDocument()) document->runTimer.stop();
}
