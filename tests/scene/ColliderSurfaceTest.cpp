#include "scene/ColliderSurface.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace {

using ::contactWith;
Contact contactOf(const Plane& shape, const Vec3& p) { return contactWith(shape, p); }
Contact contactOf(const Sphere& shape, const Vec3& p) { return contactWith(shape, p); }
Contact contactOf(const Box& shape, const Vec3& p) { return contactWith(shape, p); }

// The distance and way out a collider itself gives at p, as the collision pass sees it.
Contact contactOf(const MeshShape& shape, const Vec3& p) {
  std::vector<int> all(shape.mesh->triangles().size());
  std::iota(all.begin(), all.end(), 0);
  return shape.mesh->contactAmong(p, all);
}

Contact contactOf(const Collider& collider, const Vec3& p) {
  return std::visit([&](const auto& shape) { return contactOf(shape, p); }, collider);
}

struct Shape {
  const char* name;
  Collider collider;
};

// Names a case by its shape in listings.
void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

class ColliderSurfaceShape : public ::testing::TestWithParam<Shape> {};

// What is drawn and exported is the surface the cloth meets: every vertex on it, every triangle
// and its normals facing out.
TEST_P(ColliderSurfaceShape, LiesOnTheColliderAndFacesOut) {
  const Collider& collider = GetParam().collider;
  const ColliderSurface s = surfaceOf(collider, 3.0);
  ASSERT_FALSE(s.triangles.empty());
  ASSERT_EQ(s.positions.size(), s.normals.size());
  for (std::size_t i = 0; i < s.positions.size(); ++i) {
    EXPECT_NEAR(contactOf(collider, s.positions[i]).distance, 0.0, 1e-9) << "vertex " << i;
    EXPECT_NEAR(norm(s.normals[i]), 1.0, 1e-9) << "vertex " << i;
  }
  // Outward: from a triangle's middle, its facing leads away from the collider; its vertices'
  // normals agree with it.
  for (const auto& t : s.triangles) {
    const Vec3 &a = s.positions[t[0]], &b = s.positions[t[1]], &c = s.positions[t[2]];
    const Vec3 facing = cross(b - a, c - a);
    ASSERT_GT(norm(facing), 1e-12) << "a triangle without area";
    const Vec3 middle = (1.0 / 3.0) * (a + b + c), step = (1e-3 / norm(facing)) * facing;
    EXPECT_GT(contactOf(collider, middle + step).distance, contactOf(collider, middle - step).distance);
    EXPECT_GT(dot(facing, s.normals[t[0]] + s.normals[t[1]] + s.normals[t[2]]), 0.0);
  }
}

// The window shows a collider as this text and reads back what the user types over it.
TEST_P(ColliderSurfaceShape, FormatsAsTheRecorderReadsIt) {
  const Collider& collider = GetParam().collider;
  const std::string text = formatCollider(collider);
  if (const auto* mesh = std::get_if<MeshShape>(&collider)) {
    EXPECT_EQ(text, "mesh:" + mesh->path);
    return;
  }
  Collider back;
  ASSERT_EQ(parseCollider(text, back), "") << text;
  EXPECT_EQ(formatCollider(back), text);
  for (const Vec3& p : {Vec3{0.3, -1.1, 0.7}, Vec3{2, 0, -1}})
    EXPECT_EQ(contactOf(back, p).distance, contactOf(collider, p).distance) << text;
}

std::shared_ptr<const TriangleMesh> tetrahedron() {
  return std::make_shared<TriangleMesh>(std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
                                        std::vector<TriangleMesh::Triangle>{{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}});
}

INSTANTIATE_TEST_SUITE_P(ColliderSurface, ColliderSurfaceShape,
                         ::testing::Values(Shape{"Ground", Plane{{1, -2, 0.5}, {0, 1, 0}}},
                                           Shape{"Slope", Plane{{0, 0, 0}, {0.6, 0, 0.8}}},
                                           Shape{"Sphere", Sphere{{0.5, -1, 2}, 0.75}},
                                           Shape{"Box", Box{{-1, -2, -0.5}, {1, 0.5, 0.25}}},
                                           Shape{"Mesh", MeshShape{tetrahedron(), "tetrahedron"}}),
                         [](const ::testing::TestParamInfo<Shape>& info) { return std::string(info.param.name); });

}  // namespace
