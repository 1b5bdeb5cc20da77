// The drag's arithmetic: the frame of the mouse ray and the move of each chosen coordinate to
// where its axis passes closest to the ray. Reading the ray from OpenGL, rays along the line of
// sight and the limit of 100 are tested with the view.
#include "view/DragHandle.h"

#include <gtest/gtest.h>

#include "QuietOutput.h"
#include "linalg/Matrix.h"

namespace {

Vector v3(double x, double y, double z) {
  const double d[3] = {x, y, z};
  return Vector(3, d);
}

void placeHandle(DragHandle& handle, double x, double y, double z) { handle.assign(v3(x, y, z)); }

// The parameter t of the point of the line p + t e nearest the line q + s d: the textbook
// solution for two skew lines.
double nearestOnLine(const Vector& p, const Vector& e, const Vector& q, const Vector& d) {
  const Vector w = p.subtract(q);
  const double a = e.dot(e), b = e.dot(d), c = d.dot(d), dw = d.dot(w), ew = e.dot(w);
  return (b * dw - c * ew) / (a * c - b * b);
}

class DragHandleTest : public QuietOutput {
protected:
  // Drags the handle towards the ray from near to far, as the view does.
  void dragAlong(const Vector& nearPoint, const Vector& farPoint, int axisSet) {
    const std::optional<Matrix> frame = handle.rayFrame(nearPoint, farPoint);
    ASSERT_TRUE(frame.has_value());
    handle.moveTowardsRay(*frame, axisSet);
  }

  DragHandle handle;
};

}  // namespace

TEST_F(DragHandleTest, StartsAtTheOriginWithItsSizeAndColour) {
  EXPECT_EQ(handle.size, 3);
  EXPECT_TRUE(handle[0] == 0 && handle[1] == 0 && handle[2] == 0);
  EXPECT_EQ(handle.edgeLength, 3.0);
  EXPECT_TRUE(handle.colour[0] == 0.7f && handle.colour[1] == 0.2f && handle.colour[2] == 0.8f);
  EXPECT_FALSE(handle.highlighted);
}

// The view looking down -z: x and y jump to the ray's, wherever the handle was; z stays.
TEST_F(DragHandleTest, AViewRayPutsTheCentreUnderIt) {
  placeHandle(handle, 1, 2, 5);
  dragAlong(v3(0.3, -0.4, 100), v3(0.3, -0.4, -100), SceneObject::AxisX | SceneObject::AxisY);
  EXPECT_NEAR(handle[0], 0.3, 1e-12);
  EXPECT_NEAR(handle[1], -0.4, 1e-12);
  EXPECT_EQ(handle[2], 5.0);
}

// An axis that crosses the plane of the ray at less than the tolerance counts as running along
// the ray: its coordinate stays exactly, rather than moving by the leftovers of the elimination.
TEST_F(DragHandleTest, AnAxisWithinTheToleranceOfTheRayStays) {
  placeHandle(handle, 1, 2, 5);
  Matrix frame = Matrix::identity(4);
  frame(0, 0) = 5e-13;  // x nearly along the ray's z
  frame(2, 0) = 1;
  frame(2, 2) = 0;
  frame(0, 3) = 1.3;
  frame(1, 3) = 4.8;
  handle.moveTowardsRay(frame, SceneObject::AxisX | SceneObject::AxisY);
  EXPECT_EQ(handle[0], 1.0);
  EXPECT_NEAR(handle[1], 2 - 4.8, 1e-12);
}

TEST_F(DragHandleTest, OnlyTheChosenAxesMove) {
  placeHandle(handle, 1, 2, 5);
  dragAlong(v3(-100, 0.7, 0.2), v3(100, 0.7, 0.2), SceneObject::AxisZ);
  EXPECT_EQ(handle[0], 1.0);
  EXPECT_EQ(handle[1], 2.0);
  EXPECT_NEAR(handle[2], 0.2, 1e-12);
}

// Every axis is solved from the position before the drag, whatever moved first.
TEST_F(DragHandleTest, AnObliqueRayMovesEachAxisToItsNearestPoint) {
  placeHandle(handle, 0.25, -0.5, 1);
  const Vector q = v3(0.5, 0.5, 0), d = v3(1, 2, -3);
  dragAlong(q.subtract(d.scale(10)), q.add(d.scale(10)), SceneObject::AxisX | SceneObject::AxisY);
  const Vector start = v3(0.25, -0.5, 1);
  EXPECT_NEAR(handle[0], 0.25 + nearestOnLine(start, v3(1, 0, 0), q, d), 1e-12);
  EXPECT_NEAR(handle[1], -0.5 + nearestOnLine(start, v3(0, 1, 0), q, d), 1e-12);
  EXPECT_EQ(handle[2], 1.0);
}

// A ray whose direction has three equal components has no frame to solve in.
TEST_F(DragHandleTest, ARayWithoutAFrameReportsIt) {
  EXPECT_FALSE(handle.rayFrame(v3(0, 0, 0), v3(-1, -1, -1)).has_value());
  EXPECT_TRUE(handle.rayFrame(v3(0, 0, 0), v3(-1, -1, -2)).has_value());
}
