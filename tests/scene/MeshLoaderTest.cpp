#include "scene/MeshLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "TempDir.h"
#include "scene/TriangleMesh.h"

namespace {

struct BadMesh {
  const char* file;
  const char* content;
  const char* reason;
};

// Names a case by its file in listings.
void PrintTo(const BadMesh& bad, std::ostream* out) { *out << bad.file; }

class MeshLoaderRefusal : public ::testing::TestWithParam<BadMesh> {};

// Each is refused with the file and the reason, and no mesh.
TEST_P(MeshLoaderRefusal, NamesTheFileAndWhy) {
  TempDir dir;
  const BadMesh& bad = GetParam();
  if (bad.content != nullptr) std::ofstream(dir.file(bad.file)) << bad.content;
  const MeshLoad load = loadMesh(dir.file(bad.file));
  EXPECT_FALSE(load.mesh);
  EXPECT_EQ(load.error.rfind(dir.file(bad.file) + ": " + bad.reason, 0), 0u) << load.error;
}

INSTANTIATE_TEST_SUITE_P(
    MeshLoader, MeshLoaderRefusal,
    ::testing::Values(BadMesh{"missing.obj", nullptr, "no such file"},
                      BadMesh{"empty.obj", "", "not a mesh file assimp can read"},
                      BadMesh{"notes.txt", "a shopping list\n", "not a mesh file assimp can read"},
                      BadMesh{"points.obj", "v 0 0 0\nv 1 0 0\np 1 2\n", "holds no triangles with an area"},
                      BadMesh{"far.obj", "v 0 0 0\nv 1e300 0 0\nv 0 1 0\nf 1 2 3\n", "has a vertex that is not a finite"},
                      BadMesh{"flat.obj", "v 0 0 2\nv 0 1 0\nv 0 0 2\nf 1 3 2\n", "holds no triangles with an area"}),
    [](const ::testing::TestParamInfo<BadMesh>& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

// The case the fuzzer found: a triangle with two equal corners beside a sound one gave a NaN distance.
TEST(TriangleMesh, TrianglesWithoutAreaAreLeftOut) {
  const TriangleMesh mesh({{0, 0, 2}, {0, 1, 0}, {0, 0, 2}, {1, 0, 0}}, {{0, 2, 1}, {0, 1, 3}});
  ASSERT_EQ(mesh.triangles().size(), 1u);
  std::vector<int> near;
  mesh.trianglesNear({0.2, 0.2, 0.2}, 10.0, near);
  EXPECT_TRUE(std::isfinite(mesh.contactAmong({0.2, 0.2, 0.2}, near).distance));
}

}  // namespace
