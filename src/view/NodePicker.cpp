#include "view/NodePicker.h"

#include <algorithm>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"

NodePicker::NodePicker(const double camera[16], double viewScale, int width, int height)
    : viewScale_(viewScale), width_(width), height_(height) {
  std::copy(camera, camera + 16, camera_);
}

NodePicker::ScreenPoint NodePicker::project(const Vec3& p) const {
  const double* m = camera_;  // column-major: element (row i, column j) at m[4j + i]
  const double ex = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
  const double ey = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
  const double ez = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
  return {ex / (2.0 * viewScale_) + 0.5 * width_, 0.5 * height_ - ey / (2.0 * viewScale_), ez};
}

int NodePicker::nodeAt(const NodeBuffer& nodes, double x, double y, double radius) const {
  int best = -1;
  double bestDistance = radius * radius, bestDepth = 0.0;
  for (int k = 0; k < nodes.count(); ++k) {
    const ScreenPoint s = project(nodes.at(k));
    const double d = (s.x - x) * (s.x - x) + (s.y - y) * (s.y - y);
    if (d > bestDistance || (best >= 0 && d == bestDistance && s.depth <= bestDepth)) continue;
    best = k;
    bestDistance = d;
    bestDepth = s.depth;
  }
  return best;
}

Vec3 NodePicker::unproject(double x, double y, double depth) const {
  Matrix m(4, 4);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) m(i, j) = camera_[4 * j + i];
  bool failed = false;
  const Matrix inverse = m.inverse(1e-12, failed);
  if (failed) return {};
  const double eye[4] = {(x - 0.5 * width_) * 2.0 * viewScale_, (0.5 * height_ - y) * 2.0 * viewScale_, depth, 1.0};
  return Vec3::of(inverse.multiply(Vector(4, eye)));
}
