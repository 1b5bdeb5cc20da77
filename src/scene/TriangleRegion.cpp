#include "scene/TriangleRegion.h"

TriangleRegion closestRegion(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
  using Feature = TriangleRegion::Feature;
  const Vec3 ab = b - a, ac = c - a, ap = p - a;
  const double d1 = dot(ab, ap), d2 = dot(ac, ap);
  if (d1 <= 0.0 && d2 <= 0.0) return {Feature::Corner, 0, 0.0, 0.0};
  const Vec3 bp = p - b;
  const double d3 = dot(ab, bp), d4 = dot(ac, bp);
  if (d3 >= 0.0 && d4 <= d3) return {Feature::Corner, 1, 0.0, 0.0};
  const double vc = d1 * d4 - d3 * d2;
  if (vc <= 0.0 && d1 >= 0.0 && d3 <= 0.0) return {Feature::Edge, 0, d1 / (d1 - d3), 0.0};
  const Vec3 cp = p - c;
  const double d5 = dot(ab, cp), d6 = dot(ac, cp);
  if (d6 >= 0.0 && d5 <= d6) return {Feature::Corner, 2, 0.0, 0.0};
  const double vb = d5 * d2 - d1 * d6;
  if (vb <= 0.0 && d2 >= 0.0 && d6 <= 0.0) return {Feature::Edge, 2, 0.0, d2 / (d2 - d6)};
  const double va = d3 * d6 - d5 * d4;
  if (va <= 0.0 && (d4 - d3) >= 0.0 && (d5 - d6) >= 0.0)
    return {Feature::Edge, 1, 0.0, (d4 - d3) / ((d4 - d3) + (d5 - d6))};
  const double sum = va + vb + vc;
  if (!(sum > 0.0)) return {Feature::Corner, 0, 0.0, 0.0};
  const double denominator = 1.0 / sum;
  return {Feature::Face, 0, vb * denominator, vc * denominator};
}

Vec3 TriangleRegion::point(const Vec3& a, const Vec3& b, const Vec3& c) const {
  switch (feature) {
    case Feature::Corner: return index == 0 ? a : index == 1 ? b : c;
    case Feature::Edge: return index == 0 ? a + s * (b - a) : index == 1 ? b + t * (c - b) : a + t * (c - a);
    case Feature::Face: break;
  }
  return a + s * (b - a) + t * (c - a);
}
