#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "QuietOutput.h"
#include "ReferenceCloth.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"

namespace {

constexpr double kDt = 0.0005;

// Finite results must agree bit for bit; the sign of a NaN is the compiler's to choose.
bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

bool allFinite(const Cloth& cloth) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  }
  return true;
}

void setParameter(Cloth& cloth, const char* name, double value) { cloth.parameters.find(name)->value = value; }

// Compares the cloth's two live buffers with the reference's, bit for bit.
::testing::AssertionResult matchesReference(const Cloth& cloth, const ReferenceCloth& reference, int stepsDone) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k), q = cloth.previousPositions->at(k);
    const Vector& rp = reference.position(k);
    const Vector& rq = reference.previousPosition(k);
    if (!sameBits(p.x, rp[0]) || !sameBits(p.y, rp[1]) || !sameBits(p.z, rp[2]) || !sameBits(q.x, rq[0]) ||
        !sameBits(q.y, rq[1]) || !sameBits(q.z, rq[2]))
      return ::testing::AssertionFailure() << "node " << k << " differs after " << stepsDone << " steps: ("
                                           << p.x << ", " << p.y << ", " << p.z << ") against (" << rp[0]
                                           << ", " << rp[1] << ", " << rp[2] << ")";
  }
  return ::testing::AssertionSuccess();
}

// Steps a cloth and its reference side by side from the same seed. Both draw from the one
// generator, so each step is replayed from the generator state the cloth's step started with.
void expectSameAsReference(Cloth& cloth, int steps) {
  ReferenceCloth reference(cloth);
  std::uint32_t seed = 12345;
  for (int s = 1; s <= steps; ++s) {
    RandomGenerator::seed(seed);
    cloth.step(kDt);
    RandomGenerator::seed(seed);
    reference.step(kDt);
    seed = seed * 2654435761u + 1u;  // a fresh state every step keeps the gusts moving
    if (s % 100 == 0 || s == steps) {
      ASSERT_TRUE(matchesReference(cloth, reference, s));
    }
  }
  EXPECT_TRUE(allFinite(cloth)) << "a run that diverged proves little";
}

class ClothStep : public QuietOutput {};

TEST_F(ClothStep, DefaultClothMatchesVectorFormulationBitForBit) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  expectSameAsReference(cloth, 3000);
}

// Sizes that are not multiples of any vector width, with fixed nodes at 0, 8, 16, 24 of the top row.
TEST_F(ClothStep, OddGridsWithStrongGustsMatchVectorFormulationBitForBit) {
  for (const ClothShape shape : {ClothShape{0.3f, 23, 11}, ClothShape{0.37f, 3, 3}, ClothShape{0.2f, 29, 5}}) {
    SCOPED_TRACE(::testing::Message() << shape.clothWidth << " x " << shape.clothHeight);
    Cloth cloth;
    shape.layOut(cloth);
    setParameter(cloth, "windPressure", 300.0);
    setParameter(cloth, "windMinimum", -60.0);
    setParameter(cloth, "windFrequency", 40.0);
    setParameter(cloth, "kBend", 600.0);
    expectSameAsReference(cloth, 2000);
  }
}

TEST_F(ClothStep, ParameterChangesBetweenStepsMatchVectorFormulation) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  ReferenceCloth reference(cloth);
  RandomGenerator::seed(7);
  for (int s = 0; s < 400; ++s) {
    setParameter(cloth, "kStretch", 8000.0 + 10.0 * s);
    setParameter(cloth, "gravity", s % 2 ? -9.8 : 5.0);
    RandomGenerator::seed(s);
    cloth.step(kDt);
    RandomGenerator::seed(s);
    reference.step(kDt);
  }
  EXPECT_TRUE(matchesReference(cloth, reference, 400));
}

TEST_F(ClothStep, FirstStepOfDefaultClothSagsEveryFreeNodeByTheSameAmount) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator::seed(1);
  cloth.step(kDt);
  const double sag = -9.8 * kDt * kDt / (kDt * 0.15 + 0.01875);
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      const int k = r * cloth.width + c;
      const double dy = cloth.positions->at(k).y - cloth.restPositions->at(k).y;
      EXPECT_NEAR(dy, Cloth::isFixed(r, c) ? 0.0 : sag, 1e-15) << "node " << k;
    }
  }
}

TEST_F(ClothStep, RestingGridWithoutGravityOrWindStaysPut) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  for (const char* name : {"gravity", "windMinimum", "windPressure"}) setParameter(cloth, name, 0.0);
  for (int s = 0; s < 200; ++s) cloth.step(kDt);
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k), rest = cloth.restPositions->at(k);
    EXPECT_NEAR(p.x, rest.x, 1e-12);
    EXPECT_NEAR(p.y, rest.y, 1e-12);
    EXPECT_NEAR(p.z, rest.z, 1e-12);
  }
}

TEST_F(ClothStep, FixedNodesNeverMoveInAnyBuffer) {
  Cloth cloth;
  ClothShape{0.25f, 20, 6}.layOut(cloth);
  setParameter(cloth, "windMinimum", 500.0);
  for (int s = 0; s < 1500; ++s) cloth.step(kDt);
  for (int c : {0, 8, 16}) {
    const Vec3 rest = cloth.restPositions->at(c);
    for (const NodeBuffer* buffer : {cloth.positions.get(), cloth.previousPositions.get(), cloth.nextPositions.get()}) {
      EXPECT_EQ(buffer->at(c).x, rest.x);
      EXPECT_EQ(buffer->at(c).y, rest.y);
      EXPECT_EQ(buffer->at(c).z, rest.z);
    }
  }
  EXPECT_NE(cloth.positions->at(1).z, cloth.restPositions->at(1).z) << "the free neighbour should have moved";
}

TEST_F(ClothStep, ZeroTimeStepCarriesTheSheetOnByInertia) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  for (int s = 0; s < 50; ++s) cloth.step(kDt);
  std::vector<Vec3> current, previous;
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    current.push_back(cloth.positions->at(k));
    previous.push_back(cloth.previousPositions->at(k));
  }
  cloth.step(0.0);
  for (int k = 1; k < cloth.nodeCount(); ++k) {
    if (k == 8 || k == 16) continue;
    EXPECT_DOUBLE_EQ(cloth.positions->at(k).y, 2 * current[k].y - previous[k].y) << "node " << k;
    EXPECT_DOUBLE_EQ(cloth.positions->at(k).z, 2 * current[k].z - previous[k].z) << "node " << k;
  }
}

TEST_F(ClothStep, ZeroWindFrequencyFreezesTheGustCycle) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  cloth.windPhase = 1.0;  // sin 1 > 0.5: the gust is on
  setParameter(cloth, "windFrequency", 0.0);
  const double expected = (20.0 * std::cos(1.0) + 40.0) * 0.25 * 0.25;
  for (int s = 0; s < 5; ++s) {
    cloth.step(kDt);
    EXPECT_EQ(cloth.windPhase, 1.0);
    EXPECT_EQ(cloth.windForce.z, expected);
  }
}

TEST_F(ClothStep, WindPhaseAdvancesWithFrequencyAndGateOpensAboveHalf) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  cloth.step(kDt);
  EXPECT_EQ(cloth.windPhase, 6.0 * kDt);
  EXPECT_EQ(cloth.windForce.z, 40.0 * 0.25 * 0.25) << "sin of a small phase is below 0.5: no gust";
  EXPECT_EQ(cloth.windForce.x, 0.0);
}

TEST_F(ClothStep, GustCentreMovesAboutOneStepInTwelveInsideTheSheet) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator::seed(99);
  int moves = 0;
  Vec3 last = cloth.gustCentre;
  for (int s = 0; s < 12000; ++s) {
    cloth.step(kDt);
    if (cloth.gustCentre.x != last.x || cloth.gustCentre.y != last.y) ++moves;
    last = cloth.gustCentre;
    ASSERT_LE(std::fabs(last.x), 17 * 0.25 / 2);
    ASSERT_LE(std::fabs(last.y), 10 * 0.25 / 2);
    ASSERT_EQ(last.z, 0.0);
  }
  EXPECT_NEAR(moves, 1000, 150);
}

// One draw per step, or three when the centre moves: the sequence stays in step with the generator.
TEST_F(ClothStep, EachStepDrawsOneOrThreeNumbers) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator::seed(4242);
  int expectedDraws = 0;
  for (int s = 0; s < 300; ++s) {
    const Vec3 before = cloth.gustCentre;
    cloth.step(kDt);
    expectedDraws += (cloth.gustCentre.x != before.x) ? 3 : 1;
  }
  const int next = RandomGenerator::draw();
  RandomGenerator::seed(4242);
  for (int i = 0; i < expectedDraws; ++i) RandomGenerator::draw();
  EXPECT_EQ(RandomGenerator::draw(), next);
}

TEST_F(ClothStep, StepWithoutGridChangesNothingAndDrawsNothing) {
  Cloth cloth;
  RandomGenerator::seed(5);
  const int first = RandomGenerator::draw();
  RandomGenerator::seed(5);
  cloth.step(kDt);
  EXPECT_EQ(RandomGenerator::draw(), first);
  EXPECT_EQ(cloth.windPhase, 0.0);
  EXPECT_FALSE(cloth.hasGrid());
}

TEST_F(ClothStep, BendStiffnessWrittenIntoTheTableIsUsedAtTheNextStep) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  setParameter(cloth, "kBend", 0.0);
  cloth.step(kDt);
  EXPECT_EQ(cloth.kBend, 0.0);
  EXPECT_EQ(cloth.gravityVector.y, -9.8);
}

// Coincident neighbours (a grid of spacing 0) give zero springs and a zero normal, each with the
// vector's message, exactly as many as the plain formulation writes.
TEST_F(ClothStep, CollapsedGridReportsEveryZeroNormalizationOnce) {
  Cloth cloth;
  ClothShape{0.0f, 3, 3}.layOut(cloth);
  setParameter(cloth, "density", 1.0);
  cloth.spacing = 1.0;  // a positive mass, with every node still at the origin
  std::string expected;
  // 8 free nodes of a 3 x 3 grid: 3 + 5 + 3 + 5 + 8 + 5 + 3 + 5 springs, plus one normal each.
  for (int i = 0; i < 37 + 8; ++i) expected += "Zero vector cannot be normalized.\n";
  expectOutput(expected);
  cloth.step(kDt);
  EXPECT_EQ(outputSoFar(), expected);
}

}  // namespace
