#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <limits>
#include <vector>

#include "LinalgAssertions.h"
#include "QuietOutput.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The document's placement for a grid: diagonal (1, −1, −1, 1) and translation (tx, ty, 0).
Matrix placementWith(double tx, double ty, double tz = 0.0) {
  Matrix m(4, 4);
  m(0, 0) = 1.0;
  m(1, 1) = -1.0;
  m(2, 2) = -1.0;
  m(3, 3) = 1.0;
  m(0, 3) = tx;
  m(1, 3) = ty;
  m(2, 3) = tz;
  return m;
}

::testing::AssertionResult nodeAt(const NodeBuffer& nodes, int k, double x, double y, double z) {
  const Vec3 p = nodes.at(k);
  if (p.x == x && p.y == y && p.z == z) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "node " << k << " is at (" << p.x << ", " << p.y << ", " << p.z
                                       << "), expected (" << x << ", " << y << ", " << z << ")";
}

// Every case runs under QuietOutput: nothing here may write a linear-algebra message.
class ClothConstruction : public QuietOutput {};
class ClothInitialize : public QuietOutput {
protected:
  RandomGenerator gusts;
};
class ClothPlacement : public QuietOutput {};
class ClothFixedNodes : public QuietOutput {
protected:
  RandomGenerator gusts;
};

TEST_F(ClothConstruction, StartsWithParametersAndNoGrid) {
  const Cloth cloth;
  EXPECT_FALSE(cloth.hasGrid());
  EXPECT_EQ(cloth.positions, nullptr);
  EXPECT_EQ(cloth.previousPositions, nullptr);
  EXPECT_EQ(cloth.nextPositions, nullptr);
  EXPECT_EQ(cloth.restPositions, nullptr);
  EXPECT_EQ(cloth.parameters.count(), 10);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// The cached copies start at the parameters' defaults; the wind starts at windPressure along +z.
TEST_F(ClothConstruction, CachedValuesAndWindStartAtTheDefaults) {
  const Cloth cloth;
  EXPECT_EQ(cloth.windPhase, 0.0);
  EXPECT_EQ(cloth.cDamping, 0.15);
  EXPECT_EQ(cloth.density, 0.3);
  EXPECT_EQ(cloth.kBend, 150.0);
  EXPECT_EQ(cloth.kShear, 4000.0);
  EXPECT_EQ(cloth.kStretch, 8000.0);
  EXPECT_EQ(cloth.windMinimum, 40.0);
  EXPECT_EQ(cloth.windPressure, 20.0);
  EXPECT_EQ(cloth.windFrequency, 6.0);
  EXPECT_TRUE(vectorIs(cloth.gravityVector.toVector(), {0.0, -9.8, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.windDirection.toVector(), {0.0, 0.0, 1.0}));
  EXPECT_TRUE(vectorIs(cloth.windForce.toVector(), {0.0, 0.0, 20.0}));
  EXPECT_TRUE(vectorIs(cloth.gustCentre.toVector(), {0.0, 0.0, 0.0}));
}

TEST_F(ClothInitialize, DefaultGridFillsAllFourBuffersAlike) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(0.25, 17, 10, nullptr), 0);
  ASSERT_TRUE(cloth.hasGrid());
  EXPECT_EQ(cloth.width, 17);
  EXPECT_EQ(cloth.height, 10);
  EXPECT_EQ(cloth.spacing, 0.25);
  EXPECT_EQ(cloth.nodeCount(), 170);
  for (const NodeBuffer* b : {cloth.restPositions.get(), cloth.positions.get(), cloth.previousPositions.get(),
                              cloth.nextPositions.get()}) {
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->count(), 170);
    for (int k = 0; k < 170; ++k) ASSERT_TRUE(nodeAt(*b, k, (k % 17) * 0.25, -(k / 17) * 0.25, 0.0));
  }
  EXPECT_NE(cloth.positions.get(), cloth.previousPositions.get()) << "each buffer is a separate array";
  EXPECT_NE(cloth.positions.get(), cloth.nextPositions.get());
}

// The smallest grid the normals can be formed on.
TEST_F(ClothInitialize, TwoByTwoIsAccepted) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(1.0, 2, 2, nullptr), 0);
  EXPECT_EQ(cloth.nodeCount(), 4);
  EXPECT_TRUE(nodeAt(*cloth.positions, 3, 1.0, -1.0, 0.0));
}

// Fewer than three nodes, a single row or column (the normals need two of each), and a negative
// or NaN spacing are all refused without a grid; width, height and spacing keep their values.
TEST_F(ClothInitialize, RefusedArgumentsLeaveNoGridAndKeepTheEarlierShape) {
  struct Case {
    double spacing;
    int width, height;
  };
  const Case refused[] = {{0.25, 1, 2},  {0.25, 2, 1},  {0.25, 1, 3}, {0.25, 3, 1},   {0.25, 100, 1},
                          {0.25, 0, 5},  {0.25, 5, 0},  {0.25, -2, -2}, {0.25, -3, 5}, {-0.25, 17, 10},
                          {-1e-300, 3, 3}, {kNaN, 17, 10}};
  for (const Case& c : refused) {
    SCOPED_TRACE(::testing::Message() << c.spacing << ", " << c.width << " x " << c.height);
    Cloth cloth;
    ASSERT_EQ(cloth.initialize(0.5, 4, 3, nullptr), 0);
    EXPECT_EQ(cloth.initialize(c.spacing, c.width, c.height, nullptr), -1);
    EXPECT_FALSE(cloth.hasGrid()) << "the earlier grid is gone too";
    EXPECT_EQ(cloth.restPositions, nullptr);
    EXPECT_EQ(cloth.previousPositions, nullptr);
    EXPECT_EQ(cloth.nextPositions, nullptr);
    EXPECT_EQ(cloth.width, 4);
    EXPECT_EQ(cloth.height, 3);
    EXPECT_EQ(cloth.spacing, 0.5);
  }
}

TEST_F(ClothInitialize, ZeroSpacingPutsEveryNodeAtThePlacementsOrigin) {
  Cloth cloth;
  const Matrix placement = placementWith(1.5, 2.5, -3.0);
  ASSERT_EQ(cloth.initialize(0.0, 5, 4, &placement), 0);
  for (int k = 0; k < cloth.nodeCount(); ++k) ASSERT_TRUE(nodeAt(*cloth.positions, k, 1.5, 2.5, -3.0));
}

// A second initialize discards the first grid, moved nodes and all, and lays the new one out at
// rest; the wind state and the parameters carry over.
TEST_F(ClothInitialize, SecondCallReplacesTheGridButNotTheWindOrParameters) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  cloth.parameters.find("kBend")->value = 7.0;
  gusts.seed(3);
  for (int s = 0; s < 40; ++s) cloth.step(0.0005, gusts);
  const double phase = cloth.windPhase;
  const Vec3 gust = cloth.gustCentre;
  ASSERT_NE(phase, 0.0);
  ASSERT_NE(gust.x, 0.0) << "pick a seed that moves the gust centre";

  ASSERT_EQ(cloth.initialize(1.0, 3, 4, nullptr), 0);
  EXPECT_EQ(cloth.nodeCount(), 12);
  for (const NodeBuffer* b : {cloth.restPositions.get(), cloth.positions.get(), cloth.previousPositions.get(),
                              cloth.nextPositions.get()}) {
    EXPECT_EQ(b->count(), 12);
    // Without a new placement the document's translation (−2.125, 1.25) stays.
    for (int k = 0; k < 12; ++k) ASSERT_TRUE(nodeAt(*b, k, k % 3 - 2.125, 1.25 - k / 3, 0.0));
  }
  EXPECT_EQ(cloth.windPhase, phase);
  EXPECT_EQ(cloth.gustCentre.x, gust.x);
  EXPECT_EQ(cloth.gustCentre.y, gust.y);
  EXPECT_EQ(cloth.parameters.valueOf("kBend"), 7.0);
}

TEST_F(ClothInitialize, FreeNodesDiscardsTheGrid) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(0.25, 17, 10, nullptr), 0);
  cloth.freeNodes();
  EXPECT_FALSE(cloth.hasGrid());
  EXPECT_EQ(cloth.restPositions, nullptr);
  EXPECT_EQ(cloth.previousPositions, nullptr);
  EXPECT_EQ(cloth.nextPositions, nullptr);
  cloth.freeNodes();  // harmless without a grid
  EXPECT_FALSE(cloth.hasGrid());
  EXPECT_EQ(cloth.initialize(0.25, 3, 3, nullptr), 0) << "a new grid can follow";
}

// Without a placement node (r, c) starts at (c × s, −r × s, 0).
TEST_F(ClothPlacement, NoPlacementRunsAlongPlusXAndMinusY) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(0.5, 4, 3, nullptr), 0);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}));
  EXPECT_TRUE(nodeAt(*cloth.positions, 0, 0.0, 0.0, 0.0));
  EXPECT_TRUE(nodeAt(*cloth.positions, 3, 1.5, 0.0, 0.0));   // row 0, column 3
  EXPECT_TRUE(nodeAt(*cloth.positions, 5, 0.5, -0.5, 0.0));  // row 1, column 1
  EXPECT_TRUE(nodeAt(*cloth.positions, 11, 1.5, -1.0, 0.0));
}

// The document's placement: node (r, c) at (c × s − width × s / 2, height × s / 2 − r × s, 0).
TEST_F(ClothPlacement, DocumentPlacementCentresTheSheet) {
  Cloth cloth;
  const Matrix placement = placementWith(-17 * 0.25 / 2, 10 * 0.25 / 2);
  ASSERT_EQ(cloth.initialize(0.25, 17, 10, &placement), 0);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {1, 0, 0, -2.125, 0, -1, 0, 1.25, 0, 0, -1, 0, 0, 0, 0, 1}));
  EXPECT_TRUE(nodeAt(*cloth.restPositions, 0, -2.125, 1.25, 0.0));
  EXPECT_TRUE(nodeAt(*cloth.restPositions, 8, -0.125, 1.25, 0.0));
  EXPECT_TRUE(nodeAt(*cloth.restPositions, 16, 1.875, 1.25, 0.0));
  EXPECT_TRUE(nodeAt(*cloth.restPositions, 17, -2.125, 1.0, 0.0));
  EXPECT_TRUE(nodeAt(*cloth.restPositions, 169, 1.875, -1.0, 0.0));
}

// All sixteen values are copied, including ones the document never sets.
TEST_F(ClothPlacement, GivenMatrixIsCopiedWhole) {
  Cloth cloth;
  Matrix skew = placementWith(1.0, 2.0, 3.0);
  skew(0, 1) = 0.5;  // x also grows down the rows
  ASSERT_EQ(cloth.initialize(1.0, 3, 3, &skew), 0);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {1, 0.5, 0, 1, 0, -1, 0, 2, 0, 0, -1, 3, 0, 0, 0, 1}));
  EXPECT_TRUE(nodeAt(*cloth.positions, 7, 3.0, 0.0, 3.0));  // row 2, column 1: (1 + 0.5 × 2 + 1, 2 − 2, 3)
  skew(0, 3) = 100.0;
  EXPECT_EQ(cloth.placement(0, 3), 1.0) << "the cloth keeps its own copy";
}

// Without a matrix only the diagonal is set: the translation of an earlier placement stays.
TEST_F(ClothPlacement, NoPlacementKeepsTheEarlierTranslation) {
  Cloth cloth;
  Matrix earlier = placementWith(5.0, 6.0, 7.0);
  earlier(0, 0) = 2.0;
  ASSERT_EQ(cloth.initialize(1.0, 3, 3, &earlier), 0);
  ASSERT_EQ(cloth.initialize(1.0, 3, 3, nullptr), 0);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {1, 0, 0, 5, 0, -1, 0, 6, 0, 0, -1, 7, 0, 0, 0, 1}));
  EXPECT_TRUE(nodeAt(*cloth.positions, 0, 5.0, 6.0, 7.0));
  EXPECT_TRUE(nodeAt(*cloth.positions, 4, 6.0, 5.0, 7.0));
}

// Row 0 nodes in columns 0, 8, 16, … are fixed: after steps under gravity exactly those have not
// moved, while every other node of the top row has.
TEST_F(ClothFixedNodes, EveryEighthNodeOfTheTopRowStaysPut) {
  struct Case {
    int width;
    std::vector<int> fixed;
  };
  const Case cases[] = {{3, {0}}, {8, {0}}, {9, {0, 8}}, {16, {0, 8}}, {17, {0, 8, 16}}, {25, {0, 8, 16, 24}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.width << " columns");
    Cloth cloth;
    ASSERT_EQ((ClothShape{0.25f, c.width, 3}.layOut(cloth)), 0);
    gusts.seed(7);
    for (int s = 0; s < 10; ++s) cloth.step(0.0005, gusts);
    std::vector<int> unmoved;
    for (int k = 0; k < cloth.nodeCount(); ++k) {
      const Vec3 p = cloth.positions->at(k), rest = cloth.restPositions->at(k);
      if (p.x == rest.x && p.y == rest.y && p.z == rest.z) unmoved.push_back(k);
    }
    EXPECT_EQ(unmoved, c.fixed);
  }
}

}  // namespace
