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

// A triangle whose regions do not close (no area) answers with its first corner.
TriangleRegion closestRegion(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c);
