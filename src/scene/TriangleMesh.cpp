#include "scene/TriangleMesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "scene/Shapes.h"
#include "scene/TriangleRegion.h"

namespace {

constexpr int kLeafSize = 4;

double component(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }
Vec3 minimum(const Vec3& a, const Vec3& b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vec3 maximum(const Vec3& a, const Vec3& b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

// The corner angle at a between the edges to b and c.
double angleAt(const Vec3& a, const Vec3& b, const Vec3& c) {
  Vec3 u, v;
  if (!unitOf(b - a, u) || !unitOf(c - a, v)) return 0.0;
  return std::acos(std::clamp(dot(u, v), -1.0, 1.0));
}

}  // namespace

TriangleMesh::TriangleMesh(std::vector<Vec3> vertices, std::vector<Triangle> triangles)
    : vertices_(std::move(vertices)), triangles_(std::move(triangles)) {
  // A triangle without area has no surface, and its nearest point cannot be found by its corners.
  triangles_.erase(std::remove_if(triangles_.begin(), triangles_.end(),
                                  [this](const Triangle& t) {
                                    Vec3 unit;
                                    return !unitOf(cross(vertices_[t[1]] - vertices_[t[0]], vertices_[t[2]] - vertices_[t[0]]), unit);
                                  }),
                   triangles_.end());
  computeFacets();
  order_.resize(triangles_.size());
  for (std::size_t t = 0; t < order_.size(); ++t) order_[t] = static_cast<int>(t);
  if (triangles_.empty()) return;
  nodes_.resize(1);
  build(0, 0, static_cast<int>(triangles_.size()));
}

// Each triangle's corners and a sphere round its centroid through its farthest corner; then the
// pseudo-normals: the face's normal, at an edge the sum of its two faces', at a corner the sum of
// the faces' normals weighted by their angles there: the directions that tell inside from outside
// at every feature of a closed mesh.
void TriangleMesh::computeFacets() {
  facets_.assign(triangles_.size(), Facet{});
  normals_.assign(triangles_.size(), PseudoNormals{});
  std::vector<Vec3> vertexSums(vertices_.size());
  std::map<std::pair<int, int>, Vec3> edgeSums;
  for (std::size_t t = 0; t < triangles_.size(); ++t) {
    const Triangle& tri = triangles_[t];
    const Vec3 a = vertices_[tri[0]], b = vertices_[tri[1]], c = vertices_[tri[2]];
    Facet& facet = facets_[t];
    const Vec3 centre = (1.0 / 3.0) * (a + b + c);
    facet.bound = {centre, std::max({norm(a - centre), norm(b - centre), norm(c - centre)})};
    facet.a = a, facet.b = b, facet.c = c;
    Vec3& n = facet.face;
    unitOf(cross(b - a, c - a), n);
    vertexSums[tri[0]] = vertexSums[tri[0]] + angleAt(a, b, c) * n;
    vertexSums[tri[1]] = vertexSums[tri[1]] + angleAt(b, c, a) * n;
    vertexSums[tri[2]] = vertexSums[tri[2]] + angleAt(c, a, b) * n;
    for (int i = 0; i < 3; ++i) {
      const std::pair<int, int> edge = std::minmax(tri[i], tri[(i + 1) % 3]);
      edgeSums[edge] = edgeSums[edge] + n;
    }
  }
  for (std::size_t t = 0; t < triangles_.size(); ++t)
    for (int i = 0; i < 3; ++i) {
      normals_[t].edge[i] = edgeSums[std::minmax(triangles_[t][i], triangles_[t][(i + 1) % 3])];
      normals_[t].corner[i] = vertexSums[triangles_[t][i]];
    }
}

TriangleMesh::Bounds TriangleMesh::boundsOf(int triangle) const {
  const Facet& facet = facets_[triangle];
  return {minimum(facet.a, minimum(facet.b, facet.c)), maximum(facet.a, maximum(facet.b, facet.c))};
}

// Fills node `index` with the triangles first … first + count − 1, split at the median of their
// centres along the bounds' longest axis until a leaf holds kLeafSize or fewer.
void TriangleMesh::build(int index, int first, int count) {
  Bounds bounds = boundsOf(order_[first]);
  for (int i = first + 1; i < first + count; ++i) {
    const Bounds b = boundsOf(order_[i]);
    bounds = {minimum(bounds.lower, b.lower), maximum(bounds.upper, b.upper)};
  }
  nodes_[index] = {bounds, first, count};
  if (count <= kLeafSize) return;
  const Vec3 extent = bounds.upper - bounds.lower;
  const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
  const auto centre = [this, axis](int t) {
    const Triangle& tri = triangles_[t];
    return component(vertices_[tri[0]], axis) + component(vertices_[tri[1]], axis) + component(vertices_[tri[2]], axis);
  };
  const int half = count / 2;
  std::nth_element(order_.begin() + first, order_.begin() + first + half, order_.begin() + first + count,
                   [&centre](int a, int b) { return centre(a) < centre(b); });
  // The children sit next to each other, so a node needs one index for both.
  const int children = static_cast<int>(nodes_.size());
  nodes_.resize(children + 2);
  nodes_[index] = {bounds, children, 0};
  build(children, first, half);
  build(children + 1, first + half, count - half);
}

double TriangleMesh::trianglesNear(const Vec3& p, double radius, std::vector<int>& out) const {
  double leftOut = INFINITY;  // squared
  if (nodes_.empty()) return leftOut;
  const std::size_t start = out.size();
  const double r2 = radius * radius;
  int stack[64];
  int depth = 0;
  stack[depth++] = 0;
  while (depth > 0) {
    const Node& node = nodes_[stack[--depth]];
    const double squared = node.bounds.distanceSquared(p);
    if (squared > r2) {
      leftOut = std::min(leftOut, squared);
    } else if (node.count > 0) {
      for (int i = node.first; i < node.first + node.count; ++i) {
        const double triangle = boundsOf(order_[i]).distanceSquared(p);
        if (triangle <= r2)
          out.push_back(order_[i]);
        else
          leftOut = std::min(leftOut, triangle);
      }
    } else if (depth + 2 <= 64) {
      stack[depth++] = node.first;
      stack[depth++] = node.first + 1;
    } else {
      leftOut = 0.0;
    }
  }
  // Nearest first, so that contactAmong rules the others out by their bounding spheres.
  const auto lowerBound = [this, &p](int t) { return norm(p - facets_[t].bound.centre) - facets_[t].bound.radius; };
  std::sort(out.begin() + start, out.end(), [&lowerBound](int a, int b) { return lowerBound(a) < lowerBound(b); });
  return std::sqrt(leftOut);
}

Contact TriangleMesh::contactAmong(const Vec3& p, const int* candidates, int count) const {
  double bestSquared = INFINITY, bestDistance = INFINITY;
  int best = -1;
  TriangleRegion closest{};
  Vec3 toClosest;
  for (int i = 0; i < count; ++i) {
    const int t = candidates[i];
    const Facet& facet = facets_[t];
    // No point of the triangle is nearer than its bounding sphere allows; with the candidates
    // nearest first, most end here.
    const Vec3 toCentre = p - facet.bound.centre;
    const double reach = bestDistance + facet.bound.radius;
    if (dot(toCentre, toCentre) >= reach * reach) continue;
    const TriangleRegion region = closestRegion(p, facet.a, facet.b, facet.c);
    const Vec3 d = p - region.point(facet.a, facet.b, facet.c);
    const double squared = dot(d, d);
    if (squared >= bestSquared) continue;
    bestSquared = squared;
    bestDistance = std::sqrt(squared);
    best = t;
    closest = region;
    toClosest = d;
  }
  if (best < 0) return {1e300, {0.0, 1.0, 0.0}};
  const Vec3& d = toClosest;
  using Feature = TriangleRegion::Feature;
  const Vec3 pseudo = closest.feature == Feature::Face   ? facets_[best].face
                      : closest.feature == Feature::Edge ? normals_[best].edge[closest.index]
                                                         : normals_[best].corner[closest.index];
  const bool inside = dot(d, pseudo) < 0.0;
  Vec3 away;
  if (!unitOf(d, away)) unitOf(pseudo, away);  // on the surface: out along the feature
  return inside ? Contact{-bestDistance, -1.0 * away} : Contact{bestDistance, away};
}
