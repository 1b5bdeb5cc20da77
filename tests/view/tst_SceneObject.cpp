// Scene objects on a view's OpenGL context: the process-wide record of the nearest pick, and the
// mirrored and flattened drawings.
#include <GL/gl.h>
#include <cmath>
#include <functional>

#include "GuiTestSupport.h"
#include "ViewTestSupport.h"

namespace {

// A drawing made alone into the view's framebuffer through its camera.
struct Drawing {
  QImage picture;
  bool balanced;  // the model-view stack is as deep afterwards as before

  QRgb at(double x, double y) const {
    return picture.pixel(kCentreX + qRound(kPixelsPerUnit * x), kCentreY - qRound(kPixelsPerUnit * y));
  }
  bool blank() const {
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (!isBlack(picture.pixel(x, y))) return false;
    return true;
  }
};

Drawing drawnAlone(CLoomwiseView& view, const std::function<void()>& draw) {
  view.makeCurrent();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  GLint before = 0, after = 0;
  glMatrixMode(GL_MODELVIEW);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &before);
  glPushMatrix();
  glLoadIdentity();
  glMultMatrixd(view.cameraMatrix);
  draw();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
  QImage picture(view.width(), view.height(), QImage::Format_RGBA8888);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, view.width(), view.height(), GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
  view.doneCurrent();
  // OpenGL's rows run upwards.
  return {picture.mirrored(), before == after};
}

// The camera seen from 45° above: the top of the scene tilted towards the viewer.
void lookFromAbove(CLoomwiseView& view) {
  const double c = std::cos(M_PI / 4), s = std::sin(M_PI / 4);
  const double camera[16] = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
  std::copy(camera, camera + 16, view.cameraMatrix);
}

// Near the handle's corner at (√3, 0): on its face away from the viewer, so a farther pick
// than one at the centre, where its apex points at the viewer.
const QPoint kNearCorner = pickPoint(0.92 * std::sqrt(3.0), 0);
const QPoint kCentre = pickPoint(0, 0);

}  // namespace

class SceneObjectTest : public QObject {
  Q_OBJECT

  TestViews views;

private slots:
  void cleanup() {
    views.all.clear();
    QTRY_COMPARE(leakedWindows(), QStringList());
  }

  // A hit is always returned; only a nearer one replaces the record, toggling the highlight of
  // the object recorded before, here the handle itself.
  void aNearerPickTogglesTheRecordedObject() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    SceneObject* const handle = &view->handle;
    QCOMPARE(view->pickRecord.nearestPicked, nullptr);
    QCOMPARE(view->pickAt(kNearCorner.x(), kNearCorner.y()), handle);
    QCOMPARE(view->pickRecord.nearestPicked, handle);
    const std::uint32_t farther = view->pickRecord.nearestPickDepth;
    QVERIFY(!handle->highlighted);
    QCOMPARE(view->pickAt(kNearCorner.x(), kNearCorner.y()), handle);  // as near, not nearer
    QVERIFY(!handle->highlighted);
    QCOMPARE(view->pickRecord.nearestPickDepth, farther);
    QCOMPARE(view->pickAt(kCentre.x(), kCentre.y()), handle);
    QVERIFY(handle->highlighted);
    QVERIFY(view->pickRecord.nearestPickDepth < farther);
    QCOMPARE(view->pickAt(kNearCorner.x(), kNearCorner.y()), handle);
    QVERIFY(handle->highlighted);
    QCOMPARE(view->pickAt(20, 20), nullptr);
    QCOMPARE(view->pickRecord.nearestPicked, handle);
  }

  // Each view keeps its own record: a pick in one leaves the other's record and highlight alone.
  void eachViewKeepsItsOwnPickRecord() {
    CLoomwiseView* first = views.open(nullptr);
    CLoomwiseView* second = views.open(nullptr);
    QVERIFY(first != nullptr && second != nullptr);
    QCOMPARE(first->pickAt(kNearCorner.x(), kNearCorner.y()), &first->handle);
    QCOMPARE(second->pickAt(kCentre.x(), kCentre.y()), &second->handle);
    QCOMPARE(first->pickRecord.nearestPicked, &first->handle);
    QCOMPARE(second->pickRecord.nearestPicked, &second->handle);
    QVERIFY(second->pickRecord.nearestPickDepth < first->pickRecord.nearestPickDepth);
    QVERIFY(!first->handle.highlighted && !second->handle.highlighted);
  }

  // Reflected in the plane y = 1 the handle's outline spans y 1 to 3 on the vertical axis,
  // instead of -1 to 1, its corner (√3, 0) going to (√3, 2).
  void drawMirroredReflectsInThePlane() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    const Drawing plain = drawnAlone(*view, [view] { view->handle.draw(0); });
    QVERIFY(!isBlack(plain.at(0, 0)));
    QVERIFY(isBlack(plain.at(0, 2)));
    const Drawing mirrored = drawnAlone(*view, [view] { view->handle.drawMirrored(0, 1.0); });
    QVERIFY(mirrored.balanced);
    QVERIFY(isBlack(mirrored.at(0, 0.8)));
    QVERIFY(!isBlack(mirrored.at(0, 1.2)));
    QVERIFY(!isBlack(mirrored.at(0, 2.8)));
    QVERIFY(!isBlack(mirrored.at(0.5, 2.6)));  // at x = 0.5 it spans 1.29 to 2.71
    QVERIFY(isBlack(mirrored.at(0.5, 2.9)));
  }

  // Flattened onto the plane y = -3 the handle has no height: seen from the front it covers
  // nothing; from 45° above it lies round (0, -3, 0), shown at y = -3 cos 45°.
  void drawShadowFlattensOntoThePlane() {
    CLoomwiseView* view = views.open(nullptr);
    QVERIFY(view != nullptr);
    const Drawing front = drawnAlone(*view, [view] { view->handle.drawShadow(0, -3.0); });
    QVERIFY(front.balanced);
    QVERIFY(front.blank());
    lookFromAbove(*view);
    const Drawing above = drawnAlone(*view, [view] { view->handle.drawShadow(0, -3.0); });
    QVERIFY(!isBlack(above.at(0, -3 * std::cos(M_PI / 4))));
    QVERIFY(isBlack(above.at(0, 0)));
  }
};

LOOMWISE_GUI_TEST_MAIN(SceneObjectTest, CLoomwiseView::requestPixelFormat)
#include "tst_SceneObject.moc"
