#include "sim/ClosestPoints.h"

#include <algorithm>

namespace {

double clamp01(double x) { return std::min(1.0, std::max(0.0, x)); }

}  // namespace

// By the Voronoi regions of the corners, then of the edges, then the face.
TriangleWeights closestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
  const Vec3 ab = b - a, ac = c - a, ap = p - a;
  const double d1 = dot(ab, ap), d2 = dot(ac, ap);
  if (d1 <= 0.0 && d2 <= 0.0) return {1.0, 0.0, 0.0};
  const Vec3 bp = p - b;
  const double d3 = dot(ab, bp), d4 = dot(ac, bp);
  if (d3 >= 0.0 && d4 <= d3) return {0.0, 1.0, 0.0};
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) {
    const double v = d1 / (d1 - d3);
    return {1.0 - v, v, 0.0};
  }
  const Vec3 cp = p - c;
  const double d5 = dot(ab, cp), d6 = dot(ac, cp);
  if (d6 >= 0.0 && d5 <= d6) return {0.0, 0.0, 1.0};
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) {
    const double w = d2 / (d2 - d6);
    return {1.0 - w, 0.0, w};
  }
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0.0 && d4 - d3 >= 0.0 && d5 - d6 >= 0.0) {
    const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
    return {0.0, 1.0 - w, w};
  }
  const double sum = va + vb + vc;
  if (!(sum > 0.0)) return {1.0, 0.0, 0.0};  // a degenerate triangle: its first corner stands for it
  const double v = vb / sum, w = vc / sum;
  return {1.0 - v - w, v, w};
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
