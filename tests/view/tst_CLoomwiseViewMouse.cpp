// The camera and the scene handle under real mouse events on a view on Mesa: turning and zooming,
// the mouse modes, and picking and dragging the invisible handle.
#include <algorithm>
#include <array>
#include <cmath>

#include "GuiTestSupport.h"
#include "ViewTestSupport.h"

namespace {

using Point3 = std::array<double, 3>;
using Camera = std::array<double, 16>;

// The world x and y at which a drag in a fresh view puts the handle's centre for a mouse point:
// the drag reads the window row one below the pick's.
QPointF dragPoint(QPoint mouse) {
  return QPointF((mouse.x() - kCentreX - 0.5) / kPixelsPerUnit, (kCentreY - 0.5 - mouse.y()) / kPixelsPerUnit);
}

// A world point in eye coordinates through the view's camera: z runs towards the viewer.
Point3 inEye(const CLoomwiseView& view, const Point3& p) {
  const double* m = view.cameraMatrix;
  return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12], m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
          m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

// OpenGL keeps its matrices in single precision.
bool near(const Point3& a, const Point3& b) {
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a[i] - b[i]) > 1e-6) return false;
  return true;
}

Camera cameraOf(const CLoomwiseView& view) {
  Camera camera;
  std::copy(view.cameraMatrix, view.cameraMatrix + 16, camera.begin());
  return camera;
}

// Turns the camera by the angle about the world's vertical axis.
void turnAboutY(CLoomwiseView& view, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const Camera camera = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
  std::copy(camera.begin(), camera.end(), view.cameraMatrix);
}

QPoint centre(const QWidget& view) { return QPoint(view.width() / 2, view.height() / 2); }

void moveWith(QWidget* widget, QPoint point, Qt::KeyboardModifiers modifiers) {
  QTest::mouseEvent(QTest::MouseMove, widget, Qt::NoButton, modifiers, point);
}

// A point of a fresh view off the handle: a left press there starts a turn.
const QPoint kOffHandle(50, 50);
// Inside the handle's outline, off the axes.
const QPoint kOnHandle = pickPoint(0.6, -0.2);

}  // namespace

Q_DECLARE_METATYPE(Point3)

class CLoomwiseViewMouseTest : public QObject {
  Q_OBJECT

  TestViews views;

  // Presses the left button at the point and checks what the press picked.
  static bool leftPressPicks(CLoomwiseView* view, QPoint point) {
    QTest::mousePress(view, Qt::LeftButton, {}, point);
    return view->dragTarget == &view->handle && view->mouseMode == CLoomwiseView::ModeDrag;
  }

private slots:
  void cleanup() {
    // A test that failed mid-gesture leaves its buttons down in QTest's bookkeeping.
    QTestPrivate::qtestMouseButtons = Qt::NoButton;
    views.all.clear();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // 100 pixels turn the scene by 0.5 radian about a screen axis: to the right about the vertical,
  // swinging the z axis right; downwards about the horizontal, bringing the top of the scene
  // towards the viewer and the z axis down. The z shaft, then in front, shows where it went.
  void aLeftDragTurnsAboutTheScreenAxes_data() {
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<Point3>("x");
    QTest::addColumn<Point3>("y");
    QTest::addColumn<Point3>("z");
    QTest::addColumn<QPoint>("zShaftPixel");
    const double c = std::cos(0.5), s = std::sin(0.5);
    QTest::newRow("right") << QPoint(100, 0) << Point3{c, 0, -s} << Point3{0, 1, 0} << Point3{s, 0, c}
                           << QPoint(40, 0);
    QTest::newRow("down") << QPoint(0, 100) << Point3{1, 0, 0} << Point3{0, c, s} << Point3{0, -s, c}
                          << QPoint(0, 40);
  }
  void aLeftDragTurnsAboutTheScreenAxes() {
    QFETCH(QPoint, move);
    QFETCH(Point3, x);
    QFETCH(Point3, y);
    QFETCH(Point3, z);
    QFETCH(QPoint, zShaftPixel);
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::LeftButton, {}, kOffHandle);
    QTest::mouseMove(view, kOffHandle + move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, kOffHandle + move);
    QVERIFY(near(inEye(*view, {1, 0, 0}), x));
    QVERIFY(near(inEye(*view, {0, 1, 0}), y));
    QVERIFY(near(inEye(*view, {0, 0, 1}), z));
    const QImage image = view->grabFramebuffer();
    const QPoint shaft = QPoint(kCentreX, kCentreY) + zShaftPixel;
    const QPoint opposite = QPoint(kCentreX, kCentreY) - zShaftPixel;
    QVERIFY(isBlue(image.pixel(shaft)));
    QVERIFY(!isBlue(image.pixel(opposite)));
  }

  // Each step turns by what the mouse moved since the last one, about the viewer's axes
  // whatever the scene's orientation: two steps of 50 pixels make one of 100.
  void stepsAddUpInEyeSpace() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::LeftButton, {}, kOffHandle);
    QTest::mouseMove(view, kOffHandle + QPoint(50, 0));
    QTest::mouseMove(view, kOffHandle + QPoint(100, 0));
    QTest::mouseMove(view, kOffHandle + QPoint(100, 100));
    QTest::mouseRelease(view, Qt::LeftButton, {}, kOffHandle + QPoint(100, 100));
    // Rx(0.5) Ry(0.5): the viewer's horizontal axis turns the already turned z axis.
    const double c = std::cos(0.5), s = std::sin(0.5);
    QVERIFY(near(inEye(*view, {0, 0, 1}), {s, -s * c, c * c}));
    QVERIFY(near(inEye(*view, {0, 1, 0}), {0, c, s}));
  }

  // f is the upward move over the client height; the scale takes 1 - f, with f = 0.95 for a
  // move of the full height or more.
  void aRightDragZooms_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("factor");
    QTest::newRow("half the height up") << 250 << 100 << 0.5;
    QTest::newRow("the full height down") << 0 << 300 << 2.0;
    QTest::newRow("the full height up") << 299 << -1 << 0.05;
    QTest::newRow("more than the height up") << 299 << -100 << 0.05;
    QTest::newRow("just under the height up") << 299 << 8 << 0.03;
  }
  void aRightDragZooms() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, factor);
    CLoomwiseView* view = views.open(nullptr, QSize(400, 300));
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::RightButton, {}, QPoint(100, from));
    QTest::mouseMove(view, QPoint(100, to));
    QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(100, to));
    QVERIFY(qAbs(view->viewScale - 0.01 * factor) < 1e-15);
    QCOMPARE(view->cameraMatrix[0], 1.0);
  }

  // Zooming out to twice the scale puts the x arrowhead's tip at 2.4 units = 60 pixels; a
  // resize keeps that scale and shows it from the new centre.
  void aZoomRebuildsTheProjectionAndAResizeKeepsIt() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::RightButton, {}, QPoint(100, 0));
    QTest::mouseMove(view, QPoint(100, kHeight));
    QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(100, kHeight));
    QCOMPARE(view->viewScale, 0.02);
    QImage image = view->grabFramebuffer();
    QVERIFY(isRed(image.pixel(kCentreX + 55, kCentreY)));
    QVERIFY(isBlack(image.pixel(kCentreX + 63, kCentreY)));
    view->resize(601, 401);
    QTRY_COMPARE(view->grabFramebuffer().size(), QSize(601, 401));
    QCOMPARE(view->viewScale, 0.02);
    image = view->grabFramebuffer();
    QVERIFY(isRed(image.pixel(300 + 55, 200)));
    QVERIFY(isBlack(image.pixel(300 + 63, 200)));
  }

  // Zooming wants the right button alone; turning only needs the left one among the flags.
  void keysAndTheMiddleButtonBlockZoomButNotTurns_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("middleHeld");
    QTest::addColumn<bool>("acts");
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << false << true;
    QTest::newRow("Shift right") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << false;
    QTest::newRow("Ctrl right") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ControlModifier) << false << false;
    QTest::newRow("right and middle") << Qt::RightButton << Qt::KeyboardModifiers() << true << false;
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << false << true;
    QTest::newRow("Shift left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << false << true;
    QTest::newRow("Ctrl left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier) << false << true;
    QTest::newRow("left and middle") << Qt::LeftButton << Qt::KeyboardModifiers() << true << true;
  }
  void keysAndTheMiddleButtonBlockZoomButNotTurns() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, middleHeld);
    QFETCH(bool, acts);
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    if (middleHeld) QTest::mousePress(view, Qt::MiddleButton, {}, kOffHandle);
    QTest::mousePress(view, button, modifiers, kOffHandle);
    moveWith(view, kOffHandle + QPoint(0, 30), modifiers);
    const bool turned = view->cameraMatrix[5] != 1.0;
    const bool zoomed = view->viewScale != 0.01;
    QCOMPARE(button == Qt::LeftButton ? turned : zoomed, acts);
    QVERIFY(button == Qt::LeftButton ? !zoomed : !turned);
  }

  // The mode table: a left press sets the mode from what it picked, a right press adds zooming
  // to turning or ends a handle drag, releases change no mode.
  void theModeFollowsThePresses() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeRotate));
    QCOMPARE(view->dragTarget, nullptr);
    QTest::mouseClick(view, Qt::LeftButton, {}, kOffHandle);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeRotate));
    QTest::mouseClick(view, Qt::RightButton, {}, kOffHandle);
    QCOMPARE(view->mouseMode, CLoomwiseView::ModeRotate | CLoomwiseView::ModeZoom);
    // Zooming stays available across releases, until a left press.
    QTest::mouseClick(view, Qt::RightButton, {}, kOffHandle);
    QCOMPARE(view->mouseMode, CLoomwiseView::ModeRotate | CLoomwiseView::ModeZoom);
    QTest::mouseClick(view, Qt::LeftButton, {}, kOffHandle);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeRotate));
    QVERIFY(leftPressPicks(view, kOnHandle));
    QTest::mouseRelease(view, Qt::LeftButton, {}, kOnHandle);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeDrag));
    QCOMPARE(view->dragTarget, &view->handle);
    QTest::mouseClick(view, Qt::RightButton, {}, kOnHandle);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeDrag));
    QCOMPARE(view->dragTarget, nullptr);
    QTest::mouseClick(view, Qt::LeftButton, {}, kOffHandle);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeRotate));
  }

  // With both buttons down the flags hold the left one, so the drag turns; releasing either
  // button ends the gesture, though the other is still down.
  void bothButtonsTurnUntilEitherIsReleased_data() {
    QTest::addColumn<Qt::MouseButton>("released");
    QTest::newRow("right released") << Qt::RightButton;
    QTest::newRow("left released") << Qt::LeftButton;
  }
  void bothButtonsTurnUntilEitherIsReleased() {
    QFETCH(Qt::MouseButton, released);
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::LeftButton, {}, kOffHandle);
    QTest::mousePress(view, Qt::RightButton, {}, kOffHandle);
    QTest::mouseMove(view, kOffHandle + QPoint(100, 0));
    QVERIFY(near(inEye(*view, {0, 0, 1}), {std::sin(0.5), 0, std::cos(0.5)}));
    QTest::mouseRelease(view, released, {}, kOffHandle + QPoint(100, 0));
    const Camera turned = cameraOf(*view);
    QTest::mouseMove(view, kOffHandle + QPoint(100, -100));
    QVERIFY(cameraOf(*view) == turned);
    QCOMPARE(view->viewScale, 0.01);
  }

  // A right press during a handle drag drops the handle; neither a drag nor a zoom follows until
  // the next left press, which picks the handle again.
  void aRightPressEndsAHandleDrag() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QVERIFY(leftPressPicks(view, kOnHandle));
    const QPoint dropped = kOnHandle + QPoint(10, -10);
    QTest::mouseMove(view, dropped);
    const double x = view->handle[0], y = view->handle[1];
    QTest::mousePress(view, Qt::RightButton, {}, dropped);
    QTest::mouseMove(view, dropped + QPoint(30, 0));  // both buttons down
    QTest::mouseRelease(view, Qt::RightButton, {}, dropped + QPoint(30, 0));
    QTest::mouseMove(view, dropped + QPoint(60, 0));  // the left one alone
    QTest::mouseRelease(view, Qt::LeftButton, {}, dropped + QPoint(60, 0));
    QTest::mousePress(view, Qt::RightButton, {}, dropped);
    QTest::mouseMove(view, dropped + QPoint(0, -60));
    QTest::mouseRelease(view, Qt::RightButton, {}, dropped + QPoint(0, -60));
    QCOMPARE(view->handle[0], x);
    QCOMPARE(view->handle[1], y);
    QCOMPARE(view->viewScale, 0.01);
    QCOMPARE(view->cameraMatrix[0], 1.0);
    QCOMPARE(view->cameraMatrix[5], 1.0);
    QVERIFY(leftPressPicks(view, dropped));
    QTest::mouseMove(view, dropped + QPoint(20, 0));
    QVERIFY(view->handle[0] > x);
  }

  // The handle is a tetrahedron of edge 3 with one face away from the viewer: seen in a fresh
  // view, the triangle of corners (√3, 0), (-√3/2, 1.5) and (-√3/2, -1.5), about 87 pixels right
  // of the centre and 43 left at 75 above and below. Points a few pixels inside its corners and
  // edges pick it; as far outside, a press starts a turn.
  void aLeftPressPicksTheHandleInsideItsOutline_data() {
    QTest::addColumn<QPointF>("world");
    QTest::addColumn<bool>("picks");
    const double r = 3 / std::sqrt(3.0);  // the corners' distance from the centre
    const QPointF corners[3] = {QPointF(r, 0), QPointF(-r / 2, 1.5), QPointF(-r / 2, -1.5)};
    QTest::newRow("centre") << QPointF(0, 0) << true;
    for (int i = 0; i < 3; ++i) {
      const QPointF midEdge = (corners[i] + corners[(i + 1) % 3]) / 2;
      QTest::addRow("inside corner %d", i) << corners[i] * 0.92 << true;
      QTest::addRow("outside corner %d", i) << corners[i] * 1.08 << false;
      QTest::addRow("inside edge %d", i) << midEdge * 0.9 << true;
      QTest::addRow("outside edge %d", i) << midEdge * 1.1 << false;
    }
  }
  void aLeftPressPicksTheHandleInsideItsOutline() {
    QFETCH(QPointF, world);
    QFETCH(bool, picks);
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    const QPoint point = pickPoint(world.x(), world.y());
    QCOMPARE(leftPressPicks(view, point), picks);
    if (picks) return;
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeRotate));
    QCOMPARE(view->dragTarget, nullptr);
    QTest::mouseMove(view, point + QPoint(100, 0));
    QVERIFY(near(inEye(*view, {0, 0, 1}), {std::sin(0.5), 0, std::cos(0.5)}));
  }

  // The handle takes part in picking only: the frame shows nothing where it is picked.
  void theHandleIsNotDrawn() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QVERIFY(isBlack(view->grabFramebuffer().pixel(kOnHandle)));
    QCOMPARE(view->pickAt(kOnHandle.x(), kOnHandle.y()), &view->handle);
  }

  // The first move of a drag puts the handle's centre under the cursor even when the press was
  // off-centre; z stays.
  void aDragKeepsTheHandleUnderTheCursor() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QVERIFY(leftPressPicks(view, kOnHandle));
    for (const QPoint to : {QPoint(260, 120), QPoint(150, 200)}) {
      QTest::mouseMove(view, to);
      QVERIFY(qAbs(view->handle[0] - dragPoint(to).x()) < 1e-5);
      QVERIFY(qAbs(view->handle[1] - dragPoint(to).y()) < 1e-5);
      QCOMPARE(view->handle[2], 0.0);
    }
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 200));
    QCOMPARE(view->cameraMatrix[0], 1.0);
    // Picked where it went (-1.01, -1.01), no longer at the centre nor at its mirror image.
    QVERIFY(leftPressPicks(view, QPoint(150, 200)));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 200));
    QVERIFY(!leftPressPicks(view, QPoint(150, 100)));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(150, 100));
    QVERIFY(!leftPressPicks(view, centre(*view)));
  }

  // Looking along the world x axis, the mouse ray runs along it: x has no nearest point and
  // stays, y follows the cursor. Turned 0.01 radian off that axis, the ray crosses the x axis at
  // the cursor's eye x / sin 0.01: at 97 units the handle goes there, at 101 it stays.
  void aDragAlongTheLineOfSight_data() {
    QTest::addColumn<double>("turn");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<double>("x");
    const double slant = 0.01;
    QTest::newRow("along x") << M_PI / 2 << QPoint(240, 110) << 0.0;
    QTest::newRow("0.01 off x, 97 away") << M_PI / 2 - slant << QPoint(249, 149) << 0.97 / std::sin(slant);
    QTest::newRow("0.01 off x, 101 away") << M_PI / 2 - slant << QPoint(251, 149) << 0.0;
  }
  void aDragAlongTheLineOfSight() {
    QFETCH(double, turn);
    QFETCH(QPoint, to);
    QFETCH(double, x);
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    turnAboutY(*view, turn);
    QVERIFY(leftPressPicks(view, centre(*view)));
    QTest::mouseMove(view, to);
    QVERIFY2(qAbs(view->handle[0] - x) < 1e-3, qPrintable(QString::number(view->handle[0])));
    QVERIFY(qAbs(view->handle[1] - dragPoint(to).y()) < 1e-5);
    QCOMPARE(view->handle[2], 0.0);
  }

  // A client area without height gives no zoom ratio: the step is ignored.
  // A press on a node holds it: it follows the mouse in the plane facing the camera (50 px a unit
  // in a fresh view) and goes free on release. The node wins over the handle beneath it.
  void aPressOnANodeGrabsItAndItFollowsTheMouse() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = views.open(document);
    QVERIFY(view != nullptr);
    const int node = 5 * 17 + 8;  // (-0.125, 0): on the handle too
    const Vec3 start = document->cloth.positions->at(node);
    const QPoint press(qRound(kCentreX + 0.5 + kPixelsPerUnit * start.x), qRound(kCentreY + 0.5 - kPixelsPerUnit * start.y));
    QTest::mousePress(view, Qt::LeftButton, {}, press);
    QCOMPARE(view->mouseMode, int(CLoomwiseView::ModeGrab));
    QVERIFY(document->sim.isHeld(node));
    QTest::mouseMove(view, press + QPoint(50, -25));
    const Vec3 moved = document->cloth.positions->at(node);
    QVERIFY(std::fabs(moved.x - (start.x + 1.0)) < 0.03 && std::fabs(moved.y - (start.y + 0.5)) < 0.03);
    QCOMPARE(moved.z, start.z);
    QTest::mouseRelease(view, Qt::LeftButton, {}, press + QPoint(50, -25));
    QVERIFY(!document->sim.isHeld(node));
    QCOMPARE(view->handle[0], 0.0);
  }

  // Ctrl+click pins a node where it was laid out, and unpins it again; no drag follows.
  void ctrlClickPinsAndUnpinsANode() {
    auto* document = new CountingDocument;
    CLoomwiseView* view = views.open(document);
    QVERIFY(view != nullptr);
    const QPoint node(qRound(kCentreX + 0.5 + kPixelsPerUnit * -1.125), qRound(kCentreY + 0.5 - kPixelsPerUnit * 0.75));
    const int k = 2 * 17 + 4;
    for (bool pinned : {true, false}) {
      QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, node);
      QCOMPARE(document->sim.isPinned(k), pinned);
      QVERIFY(!document->sim.isHeld(k));
    }
  }

  void aZoomWithoutClientHeightIsIgnored() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    QTest::mousePress(view, Qt::RightButton, {}, QPoint(100, 0));
    view->resize(kWidth, 0);
    QCOMPARE(view->height(), 0);
    QTest::mouseMove(view, QPoint(100, 50));
    QCOMPARE(view->viewScale, 0.01);
    view->resize(kWidth, kHeight);
    QTest::mouseMove(view, QPoint(100, 0));
    QVERIFY(std::isfinite(view->viewScale));
  }
};

LOOMWISE_GUI_TEST_MAIN(CLoomwiseViewMouseTest, CLoomwiseView::requestPixelFormat)
#include "tst_CLoomwiseViewMouse.moc"
