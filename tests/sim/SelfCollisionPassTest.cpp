#include "sim/SelfCollisionPass.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ClothSetups.h"
#include "SheetChecks.h"
#include "sim/Simulation.h"

namespace {

constexpr double kThickness = ColliderPass::kDefaultThickness;
constexpr int kSkip = 40;  // steps per recorded frame

// A run as the recorder would make it, seed 1, checked at every frame it would record.
struct Run {
  const char* name;
  ClothShape shape;
  PinSet pins;
  std::vector<Collider> colliders;
  bool wind;
  int steps;
};

void PrintTo(const Run& run, std::ostream* out) { *out << run.name; }

struct Record {
  int framesCrossing = 0;     // frames with two triangles that share no node crossing each other
  double closest = INFINITY;  // the least distance between nodes that are not grid neighbours
  double nearestCollider = INFINITY;  // the least distance of a node from a collider's surface
  bool diverged = false;
};

Record record(const Run& run, bool selfCollision) {
  Simulation simulation(1, run.shape);
  simulation.setPins(run.pins);
  if (!run.wind) {
    clothsetups::setParameter(simulation.cloth(), "windMinimum", 0.0);
    clothsetups::setParameter(simulation.cloth(), "windPressure", 0.0);
  }
  if (!run.colliders.empty())
    simulation.addCollisionPass(std::make_unique<ColliderPass>(run.colliders, kThickness, ColliderPass::kDefaultFriction));
  simulation.setSelfCollision(selfCollision);
  Record result;
  for (int s = kSkip; s <= run.steps; s += kSkip) {
    for (int i = 0; i < kSkip; ++i) simulation.step();
    const Cloth& cloth = simulation.cloth();
    result.framesCrossing += sheetchecks::intersectingTrianglePairs(sheetchecks::nodesOf(cloth), sheetchecks::trianglesOf(cloth)) > 0;
    result.closest = std::min(result.closest, sheetchecks::closestApartNodes(cloth));
    for (const Collider& collider : run.colliders)
      for (int k = 0; k < cloth.nodeCount(); ++k)
        result.nearestCollider = std::min(result.nearestCollider, sheetchecks::distanceOutside(collider, cloth.positions->at(k)));
  }
  result.diverged = simulation.cloth().diverged;
  return result;
}

class SelfCollisionRun : public testing::TestWithParam<Run> {};

// Self-collision keeps every frame free of crossings and of nodes nearer than half the thickness,
// and does not push the layers resting on a collider into it; the same run without it crosses
// itself, so the check can see what it looks for.
TEST_P(SelfCollisionRun, NeverPassesThroughItselfWhereItWouldWithout) {
  const Record with = record(GetParam(), true);
  EXPECT_FALSE(with.diverged);
  EXPECT_EQ(with.framesCrossing, 0);
  EXPECT_GE(with.closest, 0.5 * kThickness);
  EXPECT_GE(with.nearestCollider, 0.75 * kThickness);
  EXPECT_GT(record(GetParam(), false).framesCrossing, 0) << "without self-collision the run must cross itself";
}

const Plane kGround{{0.0, -4.0, 0.0}, {0.0, 1.0, 0.0}};

INSTANTIATE_TEST_SUITE_P(
    SelfCollision, SelfCollisionRun,
    testing::Values(
        // The 30 × 30 flag in the default wind, as --width 30 --height 30 --steps 2000 --skip 40 records it.
        Run{"Flag", {0.25f, 30, 30}, PinSet(), {}, true, 2000},
        // No pins, hanging above the ground, in the wind that folds it as it falls.
        Run{"DroppedOnTheGround", {0.25f, 30, 30}, PinSet(PinSet::Preset::None), {kGround}, true, 1200},
        // No pins, flat above a sphere that stands on the ground, no wind: it drapes and folds round it.
        Run{"DrapedOverASphere", {0.25f, 30, 30, ClothShape::Lay::Flat}, PinSet(PinSet::Preset::None),
            {Sphere{{0.0, 0.0, 0.0}, 1.0}, Plane{{0.0, -1.0, 0.0}, {0.0, 1.0, 0.0}}}, false, 4000}),
    [](const testing::TestParamInfo<Run>& info) { return std::string(info.param.name); });

// A long sheet folded back on itself, its two layers `gap` apart; the two rows at each end close on
// each other by `closing` a step each until they meet. Few of its nodes move, so no new broad phase
// comes to find them: the pass must widen their reach and measure them again in time.
struct Approach {
  const char* name;
  double gap, closing;
};

void PrintTo(const Approach& approach, std::ostream* out) { *out << approach.name; }

class SelfCollisionApproach : public testing::TestWithParam<Approach> {};

TEST_P(SelfCollisionApproach, KeepsApartLayersThatClose) {
  constexpr int kRows = 100, kColumns = 3;
  constexpr double kSpacing = 0.25;
  Simulation simulation(1, {static_cast<float>(kSpacing), kColumns, kRows});
  Cloth& cloth = simulation.cloth();
  cloth.fixedNodes = FixedNodes(cloth.nodeCount());
  // The first half of the rows lies in y = 0, the second folds back `gap` above it, the last row over
  // the first.
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const int row = k / kColumns, column = k % kColumns;
    const bool upper = row >= kRows / 2;
    const Vec3 at{column * kSpacing, upper ? GetParam().gap : 0.0, (upper ? kRows - 1 - row : row) * kSpacing};
    cloth.positions->set(k, at);
    cloth.previousPositions->set(k, at);
  }
  SelfCollisionPass pass(kThickness, ColliderPass::kDefaultFriction);
  const double closing = GetParam().closing;
  for (int call = 0; call < static_cast<int>(GetParam().gap / closing) + 2; ++call) {
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const int row = k / kColumns;
      const double rise = call == 0 ? 0.0 : row < 2 ? closing : row >= kRows - 2 ? -closing : 0.0;
      const Vec3 p = cloth.positions->at(k);
      cloth.previousPositions->set(k, p);
      cloth.positions->set(k, p + Vec3{0.0, rise, 0.0});
    }
    pass.apply(cloth);
    EXPECT_GE(sheetchecks::closestApartNodes(cloth), 0.5 * kThickness) << "after step " << call;
  }
}

constexpr double kMargin = SelfCollisionPass::kMarginRatio * kThickness;

INSTANTIATE_TEST_SUITE_P(
    SelfCollision, SelfCollisionApproach,
    testing::Values(
        // Out of the broad phase's reach, closing by under half its margin a step each: neither moves
        // the margin before they meet, both together do, and the pairs must be gathered again.
        Approach{"FromBeyondTheMargin", 4.0 * 0.4 * kMargin, 0.4 * kMargin},
        // Within reach, so found and measured clear, then closing slowly: long before either has moved
        // far enough for a new broad phase, each pair must be measured again as its clearance runs out.
        Approach{"WithinReachSlowly", 3.0 * kThickness, 0.3 * kThickness}),
    [](const testing::TestParamInfo<Approach>& info) { return std::string(info.param.name); });

}  // namespace
