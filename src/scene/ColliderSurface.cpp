#include "scene/ColliderSurface.h"

#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"

namespace {

constexpr int kSphereRings = 16;
constexpr int kSphereSegments = 32;

// Appends the quad a, b, c, d (counter-clockwise seen from outside) with one normal.
void addQuad(ColliderSurface& s, const std::array<Vec3, 4>& corners, const Vec3& normal) {
  const int first = static_cast<int>(s.positions.size());
  for (const Vec3& corner : corners) {
    s.positions.push_back(corner);
    s.normals.push_back(normal);
  }
  s.triangles.push_back({first, first + 1, first + 2});
  s.triangles.push_back({first, first + 2, first + 3});
}

ColliderSurface surface(const Plane& plane, double halfSize) {
  // Two directions in the plane, u × v = normal.
  const Vec3& n = plane.normal;
  const Vec3 helper = std::fabs(n.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
  const Vec3 u = halfSize * normalize(cross(helper, n));
  const Vec3 v = cross(n, u);
  const Vec3& o = plane.point;
  ColliderSurface s;
  addQuad(s, {o - u - v, o + u - v, o + u + v, o - u + v}, n);
  return s;
}

ColliderSurface surface(const Box& box) {
  const Vec3 &l = box.lower, &h = box.upper;
  ColliderSurface s;
  addQuad(s, {Vec3{h.x, l.y, l.z}, Vec3{h.x, h.y, l.z}, Vec3{h.x, h.y, h.z}, Vec3{h.x, l.y, h.z}}, {1, 0, 0});
  addQuad(s, {Vec3{l.x, l.y, l.z}, Vec3{l.x, l.y, h.z}, Vec3{l.x, h.y, h.z}, Vec3{l.x, h.y, l.z}}, {-1, 0, 0});
  addQuad(s, {Vec3{l.x, h.y, l.z}, Vec3{l.x, h.y, h.z}, Vec3{h.x, h.y, h.z}, Vec3{h.x, h.y, l.z}}, {0, 1, 0});
  addQuad(s, {Vec3{l.x, l.y, l.z}, Vec3{h.x, l.y, l.z}, Vec3{h.x, l.y, h.z}, Vec3{l.x, l.y, h.z}}, {0, -1, 0});
  addQuad(s, {Vec3{l.x, l.y, h.z}, Vec3{h.x, l.y, h.z}, Vec3{h.x, h.y, h.z}, Vec3{l.x, h.y, h.z}}, {0, 0, 1});
  addQuad(s, {Vec3{l.x, l.y, l.z}, Vec3{l.x, h.y, l.z}, Vec3{h.x, h.y, l.z}, Vec3{h.x, l.y, l.z}}, {0, 0, -1});
  return s;
}

// Each triangle on its own three vertices, so that it shades flat.
ColliderSurface surface(const MeshShape& shape) {
  ColliderSurface s;
  const std::vector<Vec3>& vertices = shape.mesh->vertices();
  for (const TriangleMesh::Triangle& t : shape.mesh->triangles()) {
    const Vec3 normal = normalize(cross(vertices[t[1]] - vertices[t[0]], vertices[t[2]] - vertices[t[0]]));
    const int first = static_cast<int>(s.positions.size());
    for (int corner : t) {
      s.positions.push_back(vertices[corner]);
      s.normals.push_back(normal);
    }
    s.triangles.push_back({first, first + 1, first + 2});
  }
  return s;
}

}  // namespace

ColliderSurface sphereSurface(const Sphere& sphere, int rings, int segments) {
  ColliderSurface s;
  for (int i = 0; i <= rings; ++i) {
    const double theta = M_PI * i / rings;
    for (int j = 0; j < segments; ++j) {
      const double phi = 2 * M_PI * j / segments;
      const Vec3 normal{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
      s.positions.push_back(sphere.centre + sphere.radius * normal);
      s.normals.push_back(normal);
    }
  }
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      const int a = i * segments + j, b = i * segments + (j + 1) % segments, c = a + segments, d = b + segments;
      // The first ring's a and b, and the last ring's c and d, are the poles: one triangle there.
      if (i > 0) s.triangles.push_back({a, b, d});
      if (i < rings - 1) s.triangles.push_back({a, d, c});
    }
  return s;
}

ColliderSurface surfaceOf(const Collider& collider, double planeHalfSize) {
  struct {
    double halfSize;
    ColliderSurface operator()(const Plane& plane) const { return surface(plane, halfSize); }
    ColliderSurface operator()(const Sphere& sphere) const { return sphereSurface(sphere, kSphereRings, kSphereSegments); }
    ColliderSurface operator()(const Box& box) const { return surface(box); }
    ColliderSurface operator()(const MeshShape& mesh) const { return surface(mesh); }
  } visitor{planeHalfSize};
  return std::visit(visitor, collider);
}

double planeHalfSizeFor(const Cloth& cloth) {
  return 1.5 * std::max(cloth.width - 1, cloth.height - 1) * cloth.spacing;
}
