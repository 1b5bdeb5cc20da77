#include "sim/Simulation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "ReferenceCloth.h"
#include "ReferenceComparison.h"
#include "sim/SimulationListener.h"

namespace {

using referencecomparison::matchesReference;

constexpr std::uint32_t kSeed = 4321;

// Every coordinate of the current and previous positions, for bit-for-bit comparisons.
std::vector<double> stateOf(const Cloth& cloth) {
  std::vector<double> state;
  for (const NodeBuffer* buffer : {cloth.positions.get(), cloth.previousPositions.get()})
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const Vec3 p = buffer->at(k);
      state.insert(state.end(), {p.x, p.y, p.z});
    }
  return state;
}

std::vector<double> run(Simulation& simulation, int steps) {
  for (int s = 0; s < steps; ++s) simulation.step();
  return stateOf(simulation.cloth());
}

bool atRest(const Cloth& cloth, int k) {
  const Vec3 p = cloth.positions->at(k), q = cloth.previousPositions->at(k), rest = cloth.restPositions->at(k);
  return std::memcmp(&p, &rest, sizeof p) == 0 && std::memcmp(&q, &rest, sizeof q) == 0;
}

}  // namespace

// Names a case by its preset in listings.
void PrintTo(const PinSet& pins, std::ostream* out) { *out << PinSet::nameOf(pins.preset()); }

namespace {

class SimulationPins : public QuietOutput, public ::testing::WithParamInterface<PinSet> {};

// Any pin set changes only which nodes stay put: the step is the plain formulation's with that
// set of fixed nodes, in gusty wind that makes every free node move.
TEST_P(SimulationPins, StepIsThePlainFormulationWithThoseNodesFixed) {
  Simulation simulation(kSeed, ClothShape{0.25f, 13, 6});
  simulation.setPins(GetParam());
  clothsetups::setGustyWind(simulation.cloth());
  const Cloth& cloth = simulation.cloth();
  ReferenceCloth reference(cloth);
  RandomGenerator gusts(kSeed);
  for (int s = 1; s <= 600; ++s) {
    simulation.step();
    reference.step(Simulation::kTimeStep, gusts);
  }
  EXPECT_TRUE(matchesReference(cloth, reference, 600));
  const FixedNodes pinned = GetParam().on(cloth.width, cloth.height);
  for (int k = 0; k < cloth.nodeCount(); ++k) EXPECT_EQ(atRest(cloth, k), pinned.contains(k)) << "node " << k;
}

INSTANTIATE_TEST_SUITE_P(Pins, SimulationPins,
                         ::testing::Values(PinSet(PinSet::Preset::Standard), PinSet(PinSet::Preset::TopEdge),
                                           PinSet(PinSet::Preset::TopCorners), PinSet(PinSet::Preset::LeftEdge),
                                           PinSet(PinSet::Preset::None), PinSet({{0, 3}, {2, 7}, {5, 12}, {4, 0}})));

TEST(Simulation, ResetRepeatsTheRunBitForBit) {
  Simulation simulation(kSeed);
  const std::vector<double> first = run(simulation, 700);
  simulation.reset();
  EXPECT_EQ(simulation.stepCount(), 0);
  EXPECT_EQ(simulation.simulatedTime(), 0.0);
  EXPECT_EQ(run(simulation, 700), first);
}

// Each simulation draws its gusts from its own generator: one running beside another, step for
// step, runs exactly as it does alone.
TEST(Simulation, TwoSimulationsSideBySideRunAsEachDoesAlone) {
  Simulation alone(kSeed);
  const std::vector<double> expected = run(alone, 500);
  Simulation a(kSeed), b(kSeed + 1);
  for (int s = 0; s < 500; ++s) {
    a.step();
    b.step();
  }
  EXPECT_EQ(stateOf(a.cloth()), expected);
}

// With nothing pinned the sheet falls freely, thousands of units: it is no broken sheet. (The wind
// is off: it grows with the distance from a gust centre near the origin, and would tear apart a
// sheet that has fallen a hundred units.)
TEST(Simulation, SheetWithoutPinsFallsWithoutDiverging) {
  Simulation simulation(kSeed);
  simulation.setPins(PinSet(PinSet::Preset::None));
  clothsetups::setParameter(simulation.cloth(), "windMinimum", 0.0);
  clothsetups::setParameter(simulation.cloth(), "windPressure", 0.0);
  for (int s = 0; s < 100000; ++s) ASSERT_FALSE(simulation.step().diverged) << "step " << s + 1;
  EXPECT_LT(simulation.cloth().positions->at(0).y, -3000.0) << "it has fallen";
}

// A scripted hold takes its node at its step, exactly at the point and at rest there, and keeps it.
TEST(Simulation, ScheduledHoldKeepsItsNodeExactlyAtThePointFromItsStepOn) {
  Simulation simulation(kSeed);
  const Vec3 point{1.5, -0.25, 0.75};
  const int node = 2 * 17 + 5;
  simulation.scheduleHolds({{100, {2, 5}, point}});
  const Cloth& cloth = simulation.cloth();
  for (int s = 1; s <= 400; ++s) {
    simulation.step();
    const Vec3 p = cloth.positions->at(node);
    const bool there = p.x == point.x && p.y == point.y && p.z == point.z;
    ASSERT_EQ(there, s >= 100) << "step " << s;
  }
  EXPECT_TRUE(simulation.isHeld(node));
  EXPECT_FALSE(cloth.diverged);
}

// A grab: the held node moves wherever it is put, and goes with the velocity it is let go with.
TEST(Simulation, ReleasedNodeKeepsTheVelocityItWasLetGoWith) {
  Simulation simulation(kSeed);
  const int node = 5 * 17 + 8;
  run(simulation, 50);
  simulation.hold(node, {0.0, -3.0, 1.0});
  run(simulation, 10);
  const Vec3 velocity{2.0, 0.0, -4.0};
  simulation.release(node, velocity);
  EXPECT_FALSE(simulation.isHeld(node));
  const Vec3 previous = simulation.cloth().previousPositions->at(node);
  EXPECT_DOUBLE_EQ(previous.x, -2.0 * Simulation::kTimeStep);
  EXPECT_DOUBLE_EQ(previous.z, 1.0 + 4.0 * Simulation::kTimeStep);
  simulation.step();
  EXPECT_NE(simulation.cloth().positions->at(node).y, -3.0) << "free again";
}

TEST(Simulation, TogglingAPinPutsTheNodeBackAtRestOrFreesIt) {
  Simulation simulation(kSeed);
  const int node = 3 * 17 + 4;
  run(simulation, 200);
  simulation.togglePin(node);
  EXPECT_TRUE(simulation.isPinned(node));
  EXPECT_EQ(simulation.pins().preset(), PinSet::Preset::Custom);
  run(simulation, 50);
  EXPECT_TRUE(atRest(simulation.cloth(), node));
  simulation.togglePin(0);
  run(simulation, 50);
  EXPECT_FALSE(atRest(simulation.cloth(), 0));
  EXPECT_TRUE(simulation.isPinned(8) && simulation.isPinned(16)) << "the other pins stay";
}

// Records what a listener hears, in order.
struct Journal : SimulationListener {
  void stepDone(const Simulation& s) override { entries.push_back("step " + std::to_string(s.stepCount())); }
  bool frameDue(const Simulation& s) override {
    entries.push_back("frame " + std::to_string(s.stepCount()));
    return s.stepCount() < refuseFrom;
  }
  void diverged(const Simulation& s) override { entries.push_back("diverged " + std::to_string(s.stepCount())); }
  std::vector<std::string> entries;
  std::int64_t refuseFrom = 1000;
};

TEST(Simulation, ListenersHearStepsFramesAndTheDivergenceOnce) {
  Simulation simulation(kSeed);
  Journal journal;
  simulation.addListener(journal);
  simulation.stepsPerFrame = 2;
  journal.refuseFrom = 4;
  EXPECT_FALSE(simulation.step().frameRefused);
  EXPECT_FALSE(simulation.step().frameRefused);
  simulation.step();
  EXPECT_TRUE(simulation.step().frameRefused);
  simulation.cloth().parameters.find("gravity")->value = NAN;
  simulation.step();
  EXPECT_TRUE(simulation.step().diverged) << "a step whose frame is due is always checked";
  simulation.step();
  simulation.removeListener(journal);
  simulation.step();
  EXPECT_EQ(journal.entries, (std::vector<std::string>{"step 1", "step 2", "frame 2", "step 3", "step 4", "frame 4",
                                                         "step 5", "step 6", "diverged 6", "step 7"}));
}

// The collision slot: a pass sees every step's positions after the integration.
struct Floor : CollisionPass {
  void apply(Cloth& cloth) override {
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      Vec3 p = cloth.positions->at(k);
      if (p.y >= height) continue;
      p.y = height;
      cloth.positions->set(k, p);
      cloth.previousPositions->set(k, p);
    }
  }
  double height = -1.0;
};

TEST(Simulation, CollisionPassesCorrectEveryStep) {
  Simulation simulation(kSeed);
  simulation.setPins(PinSet(PinSet::Preset::None));
  simulation.addCollisionPass(std::make_unique<Floor>());
  for (int s = 0; s < 3000; ++s) {
    simulation.step();
    for (int k = 0; k < simulation.cloth().nodeCount(); ++k)
      ASSERT_GE(simulation.cloth().positions->at(k).y, -1.0) << "step " << s + 1;
  }
}

}  // namespace
