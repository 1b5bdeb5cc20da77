#pragma once

#include "cloth/Vec3.h"

// Closest points between the sheet's primitives, as weights of their corners, so that a correction
// can be shared out among the nodes that make the point.

// The point of triangle abc nearest p (see closestRegion), as barycentric weights of a, b and c
// (summing to 1).
struct TriangleWeights {
  double a, b, c;
};
TriangleWeights closestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c);

// The nearest points of segments p0p1 and q0q1: p0 + s (p1 − p0) and q0 + t (q1 − q0), s and t in [0, 1].
struct SegmentParameters {
  double s, t;
};
SegmentParameters closestBetweenSegments(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1);
