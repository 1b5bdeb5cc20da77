#pragma once

#include <algorithm>
#include <array>
#include <vector>

#include "cloth/Vec3.h"
#include "scene/Contact.h"
#include "scene/Shapes.h"

// A static triangle mesh for collisions: welded vertices, triangles by vertex index, the
// angle-weighted pseudo-normals that tell inside from outside at faces, edges and vertices alike,
// and a bounding-volume hierarchy for finding the triangles near a point.
class TriangleMesh {
public:
  using Triangle = std::array<int, 3>;

  // Every index must name a vertex; every vertex must be finite (the loader checks both).
  // Triangles without area are left out.
  TriangleMesh(std::vector<Vec3> vertices, std::vector<Triangle> triangles);

  const std::vector<Vec3>& vertices() const { return vertices_; }
  const std::vector<Triangle>& triangles() const { return triangles_; }

  // Appends the triangles that may lie within `radius` of p (their bounding boxes do). Returns how
  // far from p every triangle left out lies at least: more than `radius`, infinite when none is.
  double trianglesNear(const Vec3& p, double radius, std::vector<int>& out) const;
  // p against the nearest of the `count` candidates; the sign from the pseudo-normal of the feature
  // nearest p. A very large distance when there are none.
  Contact contactAmong(const Vec3& p, const int* candidates, int count) const;
  Contact contactAmong(const Vec3& p, const std::vector<int>& candidates) const {
    return contactAmong(p, candidates.data(), static_cast<int>(candidates.size()));
  }

private:
  struct Bounds {
    Vec3 lower, upper;
    // Inline, as the search for a node's candidates asks it of every box it passes.
    double distanceSquared(const Vec3& p) const {
      const double dx = std::max(std::max(lower.x - p.x, 0.0), p.x - upper.x);
      const double dy = std::max(std::max(lower.y - p.y, 0.0), p.y - upper.y);
      const double dz = std::max(std::max(lower.z - p.z, 0.0), p.z - upper.z);
      return dx * dx + dy * dy + dz * dz;
    }
  };
  struct Node {
    Bounds bounds;
    int first, count;  // a leaf's triangles in order_; count 0: children at first and first + 1
  };

  void computeFacets();
  void build(int index, int first, int count);
  Bounds boundsOf(int triangle) const;

  std::vector<Vec3> vertices_;
  std::vector<Triangle> triangles_;
  // What the contact reads of every candidate triangle, apart from the rest and two cache lines
  // each, so that a node's candidates take as few as they can: a sphere round it, its corners and
  // its face's pseudo-normal (the face is the nearest feature of most contacts).
  struct alignas(64) Facet {
    Sphere bound;
    Vec3 a, b, c;
    Vec3 face;
  };
  // The pseudo-normals of its edges (edge i from corner i to i + 1) and corners, read when one of
  // them is the nearest feature.
  struct PseudoNormals {
    std::array<Vec3, 3> edge, corner;
  };
  std::vector<Facet> facets_;
  std::vector<PseudoNormals> normals_;
  std::vector<int> order_;                        // triangles, grouped by leaf
  std::vector<Node> nodes_;                       // nodes_[0] is the root
};
