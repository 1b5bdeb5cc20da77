#include "scene/Shapes.h"

#include <algorithm>
#include <cmath>

bool unitOf(const Vec3& v, Vec3& unit) {
  const double n = norm(v);
  if (!(n > 0.0) || !std::isfinite(n)) return false;
  unit = (1.0 / n) * v;
  return true;
}

// Outside: the distance to the nearest point of the box. Inside: minus the distance to the nearest
// face, whose axis is the way out.
Contact contactWith(const Box& box, const Vec3& p) {
  const double c[3] = {p.x, p.y, p.z}, lo[3] = {box.lower.x, box.lower.y, box.lower.z},
               hi[3] = {box.upper.x, box.upper.y, box.upper.z};
  double outside[3], nearestFace = INFINITY;
  int faceAxis = 1;
  double faceSign = 1.0;
  bool inside = true;
  for (int a = 0; a < 3; ++a) {
    outside[a] = c[a] < lo[a] ? c[a] - lo[a] : c[a] > hi[a] ? c[a] - hi[a] : 0.0;
    if (outside[a] != 0.0) inside = false;
    const double toLow = c[a] - lo[a], toHigh = hi[a] - c[a];
    if (std::min(toLow, toHigh) < nearestFace) {
      nearestFace = std::min(toLow, toHigh);
      faceAxis = a;
      faceSign = toHigh <= toLow ? 1.0 : -1.0;
    }
  }
  if (inside) {
    double n[3] = {0.0, 0.0, 0.0};
    n[faceAxis] = faceSign;
    return {-nearestFace, {n[0], n[1], n[2]}};
  }
  const Vec3 d{outside[0], outside[1], outside[2]};
  // Beside a face (the usual case) the way out is that face's axis.
  const int axesOutside = (d.x != 0.0) + (d.y != 0.0) + (d.z != 0.0);
  if (axesOutside == 1) {
    const double distance = std::fabs(d.x + d.y + d.z);
    return {distance, (1.0 / distance) * d};
  }
  Vec3 normal;
  unitOf(d, normal);
  return {norm(d), normal};
}
