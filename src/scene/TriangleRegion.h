#pragma once

#include "cloth/Vec3.h"

// Where on triangle abc the point nearest p lies, found by the Voronoi regions of its corners, then
// its edges, then its face: the mesh colliders read the feature for inside and outside, the sheet's
// self-collision the weights of the corners.
struct TriangleRegion {
  enum class Feature { Face, Edge, Corner };
  Feature feature;
  int index;    // the corner (0, 1, 2: a, b, c), or the edge from corner `index` to the next
  double s, t;  // edge 0: a + s (b − a); edge 1: b + t (c − b); edge 2: a + t (c − a);
                // face: a + s (b − a) + t (c − a)

  // The nearest point, as the region gives it.
  Vec3 point(const Vec3& a, const Vec3& b, const Vec3& c) const;
};

// A triangle whose regions do not close (no area) answers with its first corner. Inline, as the
// mesh colliders and the self-collision call it for every candidate of every node.
inline TriangleRegion closestRegion(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
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

inline Vec3 TriangleRegion::point(const Vec3& a, const Vec3& b, const Vec3& c) const {
  switch (feature) {
    case Feature::Corner: return index == 0 ? a : index == 1 ? b : c;
    case Feature::Edge: return index == 0 ? a + s * (b - a) : index == 1 ? b + t * (c - b) : a + t * (c - a);
    case Feature::Face: break;
  }
  return a + s * (b - a) + t * (c - a);
}
