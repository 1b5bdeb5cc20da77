#include "view/DragHandle.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "linalg/Matrix.h"
#include "view/HlsColour.h"
#include "view/SceneDrawing.h"
#include "view/SceneGeometry.h"

namespace {

constexpr double kTolerance = 1e-12;
// Farther than this along an axis, a nearly parallel axis has missed the ray.
constexpr double kFarthestMove = 100.0;

}  // namespace

DragHandle::DragHandle() : Vector(3) {}

SceneObject* DragHandle::pick(int x, int y, int option, PickRecord& record) {
  return SceneObject::pick(x, y, option, record);
}

void DragHandle::draw(int) {
  if (!highlighted) {
    drawTetrahedron(*this, edgeLength, colour);
    return;
  }
  const std::array<float, 3> hls = rgbToHls(colour[0], colour[1], colour[2]);
  const std::array<float, 3> rgb = hlsToRgb(hls[0], hls[1], hls[2]);
  drawTetrahedron(*this, edgeLength, rgb.data());
}

void DragHandle::drag(int, int, int x, int y, int axisSet) {
  GLint viewport[4];
  GLdouble modelView[16], projection[16];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // Window y runs upwards.
  const double wy = viewport[3] - y - 1;
  Vector farPoint(3), nearPoint(3);
  gluUnProject(x, wy, 1.0, modelView, projection, viewport, &farPoint[0], &farPoint[1], &farPoint[2]);
  gluUnProject(x, wy, 0.0, modelView, projection, viewport, &nearPoint[0], &nearPoint[1], &nearPoint[2]);
  // No frame (a ray with three equal components): nothing to move towards.
  if (const std::optional<Matrix> frame = rayFrame(nearPoint, farPoint)) moveTowardsRay(*frame, axisSet);
}

std::optional<Matrix> DragHandle::rayFrame(const Vector& nearPoint, const Vector& farPoint) const {
  Matrix A(4, 4);
  frameAlong(nearPoint, farPoint.subtract(nearPoint), A);
  Matrix B = Matrix::identity(4);
  for (int i = 0; i < 3; ++i) B(i, 3) = -(*this)[i];
  bool failed = false;
  Matrix frame = B.multiply(A).inverse(kTolerance, failed);
  if (failed) return std::nullopt;
  return frame;
}

void DragHandle::moveTowardsRay(const Matrix& frame, int axisSet) {
  const double r[2] = {-frame(0, 3), -frame(1, 3)};
  for (int k = 0; k < 3; ++k) {
    if ((axisSet & (1 << k)) == 0) continue;
    // In the plane across the ray the axis runs along t -> (a t + frame(0, 3), b t + frame(1, 3));
    // u is the t nearest the ray, v that point's distance from it over sqrt(a² + b²).
    const double a = frame(0, k), b = frame(1, k);
    Matrix D(2, 2);
    D(0, 0) = a;
    D(0, 1) = -b;
    D(1, 0) = b;
    D(1, 1) = a;
    bool failed = false;
    const Vector uv = D.inverse(kTolerance, failed).multiply(Vector(2, r));
    // Singular: the axis runs along the ray and no point of it is nearer than another.
    if (failed) continue;
    if (uv.norm() < kFarthestMove) (*this)[k] += uv[0];
  }
}
