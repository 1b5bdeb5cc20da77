#include "sim/ClosestPoints.h"

#include <algorithm>

#include "scene/TriangleRegion.h"

namespace {

double clamp01(double x) { return std::min(1.0, std::max(0.0, x)); }

}  // namespace

TriangleWeights closestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
  using Feature = TriangleRegion::Feature;
  const TriangleRegion r = closestRegion(p, a, b, c);
  if (r.feature == Feature::Face) return {1.0 - r.s - r.t, r.s, r.t};
  if (r.feature == Feature::Corner) return {r.index == 0 ? 1.0 : 0.0, r.index == 1 ? 1.0 : 0.0, r.index == 2 ? 1.0 : 0.0};
  if (r.index == 0) return {1.0 - r.s, r.s, 0.0};
  if (r.index == 1) return {0.0, 1.0 - r.t, r.t};
  return {1.0 - r.t, 0.0, r.t};
}

SegmentParameters closestBetweenSegments(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1) {
  const Vec3 d1 = p1 - p0, d2 = q1 - q0, r = p0 - q0;
  const double a = dot(d1, d1), e = dot(d2, d2), f = dot(d2, r);
  if (!(a > 0.0) || !(e > 0.0)) {
    // A segment shrunk to a point: the nearest point of the other to it.
    if (!(a > 0.0) && !(e > 0.0)) return {0.0, 0.0};
    if (!(a > 0.0)) return {0.0, clamp01(f / e)};
    return {clamp01(-dot(d1, r) / a), 0.0};
  }
  const double b = dot(d1, d2), c = dot(d1, r);
  const double denominator = a * e - b * b;
  // Parallel segments: any s will do; 0 is as good as another.
  double s = denominator > 1e-12 * a * e ? clamp01((b * f - c * e) / denominator) : 0.0;
  double t = (b * s + f) / e;
  if (t < 0.0) {
    t = 0.0;
    s = clamp01(-c / a);
  } else if (t > 1.0) {
    t = 1.0;
    s = clamp01((b - c) / a);
  }
  return {s, t};
}
