#include "sim/ColliderPass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>

#include "ClothSetups.h"
#include "SheetChecks.h"
#include "TempDir.h"
#include "scene/MeshLoader.h"
#include "sim/Simulation.h"

namespace {

constexpr double kThickness = ColliderPass::kDefaultThickness;

// A cloth with no pins and no wind, the colliders added, run for `steps` steps; `everyStep` sees
// the sheet after each.
void drop(Simulation& simulation, std::vector<Collider> colliders, int steps,
          const std::function<void(const Cloth&, int step)>& everyStep, double friction = ColliderPass::kDefaultFriction) {
  simulation.setPins(PinSet(PinSet::Preset::None));
  clothsetups::setParameter(simulation.cloth(), "windMinimum", 0.0);
  clothsetups::setParameter(simulation.cloth(), "windPressure", 0.0);
  simulation.colliders().setColliders(std::move(colliders));
  simulation.colliders().setFriction(friction);
  for (int s = 1; s <= steps; ++s) {
    simulation.step();
    everyStep(simulation.cloth(), s);
  }
}

ClothShape flat() { return {0.25f, 17, 10, ClothShape::Lay::Flat}; }

double largestMove(const Cloth& cloth, const std::vector<Vec3>& before) {
  double largest = 0.0;
  for (int k = 0; k < cloth.nodeCount(); ++k) largest = std::max(largest, norm(cloth.positions->at(k) - before[k]));
  return largest;
}

std::vector<Vec3> positionsOf(const Cloth& cloth) {
  std::vector<Vec3> p;
  for (int k = 0; k < cloth.nodeCount(); ++k) p.push_back(cloth.positions->at(k));
  return p;
}

// Laid flat above a unit sphere: it never comes nearer than half the thickness, touches it and
// hangs down round it.
TEST(ColliderPass, FlatClothDrapesOverASphere) {
  Simulation simulation(1, flat());
  const Sphere sphere{{0.0, 0.0, 0.0}, 1.0};
  int touching = 0;
  drop(simulation, {sphere}, 6000, [&](const Cloth& cloth, int step) {
    touching = 0;
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const double d = contactWith(sphere, cloth.positions->at(k)).distance;
      ASSERT_GE(d, 0.5 * kThickness) << "node " << k << " at step " << step;
      touching += d < 2 * kThickness;
    }
  });
  EXPECT_GT(touching, 0);
  const Cloth& cloth = simulation.cloth();
  for (int corner : {0, 16, 153, 169}) EXPECT_LT(cloth.positions->at(corner).y, 0.0) << "corner " << corner;
}

// Dropped hanging onto the ground: nothing sinks into it, and within 5 s the heap lies still.
TEST(ColliderPass, ClothFallingOnTheGroundComesToRest) {
  Simulation simulation(1);
  const Plane ground{{0.0, -2.0, 0.0}, {0.0, 1.0, 0.0}};
  std::vector<Vec3> frameBefore;
  double lastMove = 1.0;
  drop(simulation, {ground}, 10000, [&](const Cloth& cloth, int step) {
    for (int k = 0; k < cloth.nodeCount(); ++k)
      ASSERT_GE(cloth.positions->at(k).y, -2.0 - 0.5 * kThickness) << "node " << k << " at step " << step;
    if (step % 66 != 0) return;
    if (!frameBefore.empty()) lastMove = largestMove(cloth, frameBefore);
    frameBefore = positionsOf(cloth);
  });
  EXPECT_LT(lastMove, 0.001 * 0.25);
}

// The sheet, hanging, blown hard into a box in front of it: no node ever inside.
TEST(ColliderPass, ClothBlownIntoABoxStaysOutOfIt) {
  Simulation simulation(1);
  const Box box{{-0.8, -1.5, 0.3}, {0.8, 0.5, 1.0}};
  simulation.colliders().setColliders({box});
  clothsetups::setParameter(simulation.cloth(), "windMinimum", 300.0);
  int pressed = 0;
  for (int s = 1; s <= 6000; ++s) {
    simulation.step();
    const Cloth& cloth = simulation.cloth();
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const double d = contactWith(box, cloth.positions->at(k)).distance;
      ASSERT_GE(d, 0.0) << "node " << k << " inside at step " << s;
      pressed += d < 2 * kThickness;
    }
  }
  EXPECT_GT(pressed, 0) << "the wind must push the sheet onto the box";
}

// The closed cube from (−1, −1, −1) to (1, 1, 1), read from an OBJ file written into `dir`.
MeshLoad loadCube(const TempDir& dir) {
  std::ofstream(dir.file("cube.obj")) << "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
                                         "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                                         "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n";
  return loadMesh(dir.file("cube.obj"));
}

// A closed mesh read from an OBJ file, the same cube as an analytic box: no node ends inside.
TEST(ColliderPass, ClothDroppedOnAMeshStaysOutsideIt) {
  TempDir dir;
  const MeshLoad load = loadCube(dir);
  ASSERT_TRUE(load.mesh) << load.error;
  const Box cube{{-1.0, -1.0, -1.0}, {1.0, 1.0, 1.0}};
  Simulation simulation(1, {0.25f, 17, 10, ClothShape::Lay::Flat});
  drop(simulation, {MeshShape{load.mesh, "cube.obj"}}, 5000, [&](const Cloth& cloth, int step) {
    for (int k = 0; k < cloth.nodeCount(); ++k)
      ASSERT_GE(contactWith(cube, cloth.positions->at(k)).distance, 0.0) << "node " << k << " at step " << step;
  });
  EXPECT_LT(simulation.cloth().positions->at(0).y, 1.0) << "the edges hang over the sides";
}

// A point resting on a surface (at the thickness, where the pass leaves the nodes it answers) is
// held up by it, the way out being the surface's normal; one twice as far is not. Self-collision
// relies on it not to push a heap's bottom layer into the ground.
TEST(ColliderPass, SupportsWhatRestsOnEachKindOfSurface) {
  TempDir dir;
  const MeshLoad load = loadCube(dir);
  ASSERT_TRUE(load.mesh) << load.error;
  const ColliderPass pass({Plane{{0.0, -10.0, 0.0}, {0.0, 1.0, 0.0}}, Sphere{{5.0, 0.0, 0.0}, 1.0},
                           Box{{-6.0, -1.0, -1.0}, {-4.0, 1.0, 1.0}}, MeshShape{load.mesh, "cube.obj"}},
                          kThickness, ColliderPass::kDefaultFriction);
  const struct {
    const char* surface;
    Vec3 at, support;
  } cases[] = {
      {"plane", {0.0, -10.0 + kThickness, 0.0}, {0.0, 1.0, 0.0}},
      {"sphere", {5.0, 1.0 + kThickness, 0.0}, {0.0, 1.0, 0.0}},
      {"box", {-4.0 + kThickness, 0.0, 0.0}, {1.0, 0.0, 0.0}},
      {"mesh", {0.0, 1.0 + kThickness, 0.0}, {0.0, 1.0, 0.0}},
      {"above the plane", {0.0, -10.0 + 2.0 * kThickness, 0.0}, {}},
      {"beside the mesh", {1.0 + 2.0 * kThickness, 0.0, 0.0}, {}},
  };
  for (const auto& c : cases) {
    const Vec3 support = pass.supportAt(c.at);
    EXPECT_NEAR(norm(support - c.support), 0.0, 1e-12) << c.surface;
  }
}

// On a plane tilted by 15 degrees (tan 0.27) the cloth holds with friction 0.5 and slides with 0.1.
TEST(ColliderPass, FrictionHoldsAboveItsLimitAndSlidesBelow) {
  const double angle = 15.0 * M_PI / 180.0;
  const Plane slope{{0.0, 0.0, 0.0}, {std::sin(angle), std::cos(angle), 0.0}};
  for (const double friction : {0.5, 0.1}) {
    Simulation simulation(1, {0.25f, 9, 9, ClothShape::Lay::Flat});
    Vec3 settled;
    drop(
        simulation, {slope}, 8000,
        [&](const Cloth& cloth, int step) {
          if (step == 4000) settled = cloth.positions->at(40);
        },
        friction);
    const double slid = norm(simulation.cloth().positions->at(40) - settled);
    if (friction > std::tan(angle))
      EXPECT_LT(slid, 0.01) << "friction " << friction;
    else
      EXPECT_GT(slid, 0.5) << "friction " << friction;
  }
}

}  // namespace

class PinnedInsideColliders : public ::testing::TestWithParam<ClothShape> {};

// Pinned nodes inside a sphere and a box stay exactly where they are pinned, while every free node
// is kept out, on a grid within one stretch of the pass and on one over several.
TEST_P(PinnedInsideColliders, PinsStayPutAndFreeNodesStayOut) {
  Simulation simulation(1, GetParam());
  simulation.setPins(PinSet(PinSet::Preset::TopEdge));
  const Cloth& cloth = simulation.cloth();
  const Vec3 left = cloth.restPositions->at(0), right = cloth.restPositions->at(cloth.width - 1);
  const Sphere sphere{left, 0.6};
  const Box box{right - Vec3{0.5, 0.5, 0.5}, right + Vec3{0.5, 0.5, 0.5}};
  simulation.colliders().setColliders({sphere, box});
  for (int s = 1; s <= 1500; ++s) {
    simulation.step();
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const Vec3 p = cloth.positions->at(k);
      if (simulation.isPinned(k)) {
        const Vec3 rest = cloth.restPositions->at(k);
        ASSERT_TRUE(p.x == rest.x && p.y == rest.y && p.z == rest.z) << "pin " << k << " moved at step " << s;
      } else {
        ASSERT_GE(contactWith(sphere, p).distance, 0.0) << "node " << k << " in the sphere at step " << s;
        ASSERT_GE(contactWith(box, p).distance, 0.0) << "node " << k << " in the box at step " << s;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ColliderPass, PinnedInsideColliders,
                         ::testing::Values(ClothShape{0.25f, 17, 10}, ClothShape{0.15f, 41, 30}));

namespace {

struct Crossing {
  const char* name;
  Collider collider;
};

// Names a case by its collider in listings.
void PrintTo(const Crossing& crossing, std::ostream* out) { *out << crossing.name; }

Collider planeAt(const Vec3& point, const Vec3& normal) {
  Plane plane{point, {}};
  unitOf(normal, plane.normal);
  return plane;
}

}  // namespace

class CrossedCollider : public ::testing::TestWithParam<Crossing> {};

// A collider across the hanging sheet (in the plane z = 0, x and y within ±3 and ±2.25): from the
// first step on, every free node ends each step at least the thickness out of it, whichever axis
// and side a plane faces, and beside whichever face of a box. Over several stretches of the pass,
// with the wind blowing the sheet about.
TEST_P(CrossedCollider, FreeNodesEndEveryStepTheThicknessOut) {
  Simulation simulation(1, ClothShape{0.15f, 41, 30});
  simulation.setPins(PinSet(PinSet::Preset::TopEdge));
  simulation.colliders().setColliders({GetParam().collider});
  const Cloth& cloth = simulation.cloth();
  for (int s = 1; s <= 400; ++s) {
    simulation.step();
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      if (simulation.isPinned(k)) continue;
      ASSERT_GE(sheetchecks::distanceOutside(GetParam().collider, cloth.positions->at(k)), kThickness * (1.0 - 1e-9))
          << "node " << k << " at step " << s;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ColliderPass, CrossedCollider,
    ::testing::Values(Crossing{"floor", planeAt({0.0, -1.0, 0.0}, {0.0, 1.0, 0.0})},
                      Crossing{"ceiling", planeAt({0.0, 1.5, 0.0}, {0.0, -1.0, 0.0})},
                      Crossing{"wall facing +x", planeAt({-2.0, 0.0, 0.0}, {1.0, 0.0, 0.0})},
                      Crossing{"wall facing -x", planeAt({2.0, 0.0, 0.0}, {-1.0, 0.0, 0.0})},
                      Crossing{"the sheet's own plane", planeAt({}, {0.0, 0.0, 1.0})},
                      Crossing{"just in front of the sheet", planeAt({0.0, 0.0, 0.01}, {0.0, 0.0, -1.0})},
                      Crossing{"slope", planeAt({0.0, -1.0, 0.0}, {0.3, 1.0, -0.2})},
                      Crossing{"box through the sheet", Box{{-1.0, -1.5, -0.3}, {1.5, 0.5, 0.3}}},
                      Crossing{"box just behind the sheet", Box{{-2.0, -1.0, 0.01}, {1.0, 1.0, 0.5}}}));
