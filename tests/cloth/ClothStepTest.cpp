#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "ReferenceCloth.h"
#include "ReferenceComparison.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"

namespace {

using clothsetups::setParameter;
using referencecomparison::expectSameAsReference;
using referencecomparison::kDt;
using referencecomparison::matchesReference;

class ClothStep : public QuietOutput {
protected:
  RandomGenerator gusts;
};

TEST_F(ClothStep, DefaultClothMatchesVectorFormulationBitForBit) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  expectSameAsReference({&cloth}, 3000);
}

TEST_F(ClothStep, ParameterChangesBetweenStepsMatchVectorFormulation) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  ReferenceCloth reference(cloth);
  gusts.seed(7);
  for (int s = 0; s < 400; ++s) {
    setParameter(cloth, "kStretch", 8000.0 + 10.0 * s);
    setParameter(cloth, "gravity", s % 2 ? -9.8 : 5.0);
    gusts.seed(s);
    cloth.step(kDt, gusts);
    gusts.seed(s);
    reference.step(kDt, gusts);
  }
  EXPECT_TRUE(matchesReference(cloth, reference, 400));
}

TEST_F(ClothStep, FirstStepOfDefaultClothSagsEveryFreeNodeByTheSameAmount) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  gusts.seed(1);
  cloth.step(kDt, gusts);
  const double sag = -9.8 * kDt * kDt / (kDt * 0.15 + 0.01875);
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      const int k = r * cloth.width + c;
      const double dy = cloth.positions->at(k).y - cloth.restPositions->at(k).y;
      EXPECT_NEAR(dy, cloth.fixedNodes.contains(k) ? 0.0 : sag, 1e-15) << "node " << k;
    }
  }
}

TEST_F(ClothStep, RestingGridWithoutGravityOrWindStaysPut) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  for (const char* name : {"gravity", "windMinimum", "windPressure"}) setParameter(cloth, name, 0.0);
  for (int s = 0; s < 200; ++s) cloth.step(kDt, gusts);
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
  for (int s = 0; s < 1500; ++s) cloth.step(kDt, gusts);
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
  for (int s = 0; s < 50; ++s) cloth.step(kDt, gusts);
  std::vector<Vec3> current, previous;
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    current.push_back(cloth.positions->at(k));
    previous.push_back(cloth.previousPositions->at(k));
  }
  cloth.step(0.0, gusts);
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
    cloth.step(kDt, gusts);
    EXPECT_EQ(cloth.windPhase, 1.0);
    EXPECT_EQ(cloth.windForce.z, expected);
  }
}

TEST_F(ClothStep, WindPhaseAdvancesWithFrequencyAndGateOpensAboveHalf) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  cloth.step(kDt, gusts);
  EXPECT_EQ(cloth.windPhase, 6.0 * kDt);
  EXPECT_EQ(cloth.windForce.z, 40.0 * 0.25 * 0.25) << "sin of a small phase is below 0.5: no gust";
  EXPECT_EQ(cloth.windForce.x, 0.0);
}

// The direction turns the steady wind about the vertical axis, in degrees, from +z towards +x.
TEST_F(ClothStep, WindDirectionTurnsTheWindAboutTheVerticalAxis) {
  const struct {
    double degrees, x, z;
  } turns[] = {{90.0, 1.0, 0.0}, {-90.0, -1.0, 0.0}, {180.0, 0.0, -1.0}, {30.0, 0.5, std::sqrt(0.75)}};
  for (const auto& turn : turns) {
    Cloth cloth;
    ClothShape().layOut(cloth);
    setParameter(cloth, "windDirection", turn.degrees);
    cloth.step(kDt, gusts);
    const double magnitude = 40.0 * 0.25 * 0.25;
    EXPECT_NEAR(cloth.windForce.x, magnitude * turn.x, 1e-12) << turn.degrees;
    EXPECT_EQ(cloth.windForce.y, 0.0) << turn.degrees;
    EXPECT_NEAR(cloth.windForce.z, magnitude * turn.z, 1e-12) << turn.degrees;
  }
}

TEST_F(ClothStep, GustCentreMovesAboutOneStepInTwelveInsideTheSheet) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  gusts.seed(99);
  int moves = 0;
  Vec3 last = cloth.gustCentre;
  for (int s = 0; s < 12000; ++s) {
    cloth.step(kDt, gusts);
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
  gusts.seed(4242);
  int expectedDraws = 0;
  for (int s = 0; s < 300; ++s) {
    const Vec3 before = cloth.gustCentre;
    cloth.step(kDt, gusts);
    expectedDraws += (cloth.gustCentre.x != before.x) ? 3 : 1;
  }
  const int next = gusts.draw();
  gusts.seed(4242);
  for (int i = 0; i < expectedDraws; ++i) gusts.draw();
  EXPECT_EQ(gusts.draw(), next);
}

TEST_F(ClothStep, StepWithoutGridChangesNothingAndDrawsNothing) {
  Cloth cloth;
  gusts.seed(5);
  const int first = gusts.draw();
  gusts.seed(5);
  cloth.step(kDt, gusts);
  EXPECT_EQ(gusts.draw(), first);
  EXPECT_EQ(cloth.windPhase, 0.0);
  EXPECT_FALSE(cloth.hasGrid());
}

TEST_F(ClothStep, BendStiffnessWrittenIntoTheTableIsUsedAtTheNextStep) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  setParameter(cloth, "kBend", 0.0);
  cloth.step(kDt, gusts);
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
  cloth.step(kDt, gusts);
  EXPECT_EQ(outputSoFar(), expected);
}


// The largest |coordinate − rest coordinate| of any node: what a recorded frame could carry at most,
// since a frame samples the sheet between its nodes. NaN when any coordinate is not finite.
double largestDisplacement(const Cloth& cloth) {
  double largest = 0.0;
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    const Vec3 rest = cloth.restPositions->at(k);
    for (double d : {p.x - rest.x, p.y - rest.y, p.z - rest.z}) {
      if (!std::isfinite(d)) return NAN;
      largest = std::max(largest, std::fabs(d));
    }
  }
  return largest;
}

struct UnstableSetting {
  const char* what;
  float spacing;
  double density;
  double kStretch;
  double kShear;
};

// Names a case by what it is in test listings, not by its bytes.
void PrintTo(const UnstableSetting& c, std::ostream* out) { *out << c.what; }

class ClothDivergence : public QuietOutput, public ::testing::WithParamInterface<UnstableSetting> {
protected:
  RandomGenerator gusts;
};

// Every step before the flag is raised leaves the sheet finite and within ten of its sizes.
TEST_P(ClothDivergence, IsCaughtBeforeAnyDisplacementOfTenSheetSizes) {
  const UnstableSetting& setting = GetParam();
  Cloth cloth;
  ClothShape shape;
  shape.nodeSpacing = setting.spacing;
  shape.layOut(cloth);
  setParameter(cloth, "density", setting.density);
  setParameter(cloth, "kStretch", setting.kStretch);
  setParameter(cloth, "kShear", setting.kShear);
  const double tenSizes = 10.0 * cloth.spacing * std::max(cloth.width, cloth.height);
  gusts.seed(1);
  int steps = 0;
  for (; steps < 5000 && !cloth.diverged; ++steps) {
    const double largest = largestDisplacement(cloth);
    ASSERT_TRUE(largest <= tenSizes) << "step " << steps << ": " << largest;
    cloth.step(kDt, gusts);
  }
  EXPECT_TRUE(cloth.diverged) << "still not flagged after " << steps << " steps";
  takeOutput();  // a collapsing sheet may normalize zero vectors on its way out
}

INSTANTIATE_TEST_SUITE_P(
    Blowups, ClothDivergence,
    ::testing::Values(UnstableSetting{"NarrowSpacing", 0.05f, 0.3, 8000.0, 4000.0},
                      UnstableSetting{"LightAndStiff", 0.25f, 0.05, 16000.0, 4000.0},
                      UnstableSetting{"SlidersAtTheirEnds", 0.25f, 0.05, 16000.0, 8000.0}),
    [](const ::testing::TestParamInfo<UnstableSetting>& info) { return std::string(info.param.what); });

// Out-of-range values give non-finite or runaway coordinates at the first step.
TEST_F(ClothStep, NonFiniteOrHugeGravityIsCaughtAtTheFirstStep) {
  for (double gravity : {double(NAN), double(INFINITY), 1e308}) {
    Cloth cloth;
    ClothShape().layOut(cloth);
    setParameter(cloth, "gravity", gravity);
    cloth.step(kDt, gusts);
    EXPECT_TRUE(cloth.diverged) << "gravity " << gravity;
  }
}

TEST_F(ClothStep, LayingTheGridOutAgainClearsTheDivergence) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  setParameter(cloth, "gravity", NAN);
  cloth.step(kDt, gusts);
  ASSERT_TRUE(cloth.diverged);
  setParameter(cloth, "gravity", -9.8);
  ClothShape().layOut(cloth);
  EXPECT_FALSE(cloth.diverged);
  cloth.step(kDt, gusts);
  EXPECT_FALSE(cloth.diverged);
}

}  // namespace
