#include "SheetChecks.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <type_traits>
#include <variant>

#include "cloth/Cloth.h"
#include "record/ClothMesh.h"

namespace sheetchecks {

namespace {

// Six times the signed volume of tetrahedron abcd.
double volume(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& d) { return dot(cross(b - a, c - a), d - a); }

bool sameSign(double a, double b, double c) { return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0); }

// Segment pq goes through triangle abc: its ends lie on either side of the plane, and the line
// passes each edge on the same hand.
bool pierces(const Vec3& p, const Vec3& q, const Vec3& a, const Vec3& b, const Vec3& c) {
  const double sp = volume(a, b, c, p), sq = volume(a, b, c, q);
  if ((sp > 0 && sq > 0) || (sp < 0 && sq < 0) || (sp == 0 && sq == 0)) return false;
  return sameSign(volume(p, q, a, b), volume(p, q, b, c), volume(p, q, c, a));
}

bool cross(const Vec3 (&s)[3], const Vec3 (&t)[3]) {
  for (int i = 0; i < 3; ++i) {
    if (pierces(s[i], s[(i + 1) % 3], t[0], t[1], t[2])) return true;
    if (pierces(t[i], t[(i + 1) % 3], s[0], s[1], s[2])) return true;
  }
  return false;
}

bool shareNode(const Triangle& s, const Triangle& t) {
  for (unsigned i : s)
    if (std::find(t.begin(), t.end(), i) != t.end()) return true;
  return false;
}

}  // namespace

int intersectingTrianglePairs(const std::vector<Vec3>& vertices, const std::vector<Triangle>& triangles) {
  // Sweep along x: only triangles whose x ranges overlap are compared.
  const std::size_t n = triangles.size();
  std::vector<double> low(n), high(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Triangle& t = triangles[i];
    low[i] = std::min({vertices[t[0]].x, vertices[t[1]].x, vertices[t[2]].x});
    high[i] = std::max({vertices[t[0]].x, vertices[t[1]].x, vertices[t[2]].x});
  }
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return low[a] < low[b]; });
  int pairs = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Triangle& s = triangles[order[i]];
    const Vec3 sv[3] = {vertices[s[0]], vertices[s[1]], vertices[s[2]]};
    for (std::size_t j = i + 1; j < n && low[order[j]] <= high[order[i]]; ++j) {
      const Triangle& t = triangles[order[j]];
      if (shareNode(s, t)) continue;
      const Vec3 tv[3] = {vertices[t[0]], vertices[t[1]], vertices[t[2]]};
      pairs += cross(sv, tv);
    }
  }
  return pairs;
}

std::vector<Vec3> nodesOf(const Cloth& cloth) {
  std::vector<Vec3> nodes;
  for (int k = 0; k < cloth.nodeCount(); ++k) nodes.push_back(cloth.positions->at(k));
  return nodes;
}

std::vector<Triangle> trianglesOf(const Cloth& cloth) {
  const std::vector<unsigned> indices = clothmesh::triangleIndices(cloth);
  std::vector<Triangle> triangles;
  for (std::size_t i = 0; i < indices.size(); i += 3) triangles.push_back({indices[i], indices[i + 1], indices[i + 2]});
  return triangles;
}

double closestApartNodes(const Cloth& cloth) {
  double closest = INFINITY;
  for (int a = 0; a < cloth.nodeCount(); ++a)
    for (int b = a + 1; b < cloth.nodeCount(); ++b) {
      if (std::abs(a / cloth.width - b / cloth.width) <= 1 && std::abs(a % cloth.width - b % cloth.width) <= 1) continue;
      closest = std::min(closest, norm(cloth.positions->at(a) - cloth.positions->at(b)));
    }
  return closest;
}

double distanceOutside(const Collider& collider, const Vec3& p) {
  return std::visit(
      [&](const auto& shape) -> double {
        if constexpr (std::is_same_v<std::decay_t<decltype(shape)>, MeshShape>)
          return INFINITY;
        else
          return contactWith(shape, p).distance;
      },
      collider);
}

}  // namespace sheetchecks
