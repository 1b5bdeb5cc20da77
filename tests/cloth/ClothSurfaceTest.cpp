#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "LinalgAssertions.h"
#include "QuietOutput.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/QuadStripSink.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const char* const kZeroMessage = "Zero vector cannot be normalized.\n";
const double kHalf2 = 1.0 / std::sqrt(2.0);
const double kThird3 = 1.0 / std::sqrt(3.0);

// A 3 × 3 grid of spacing 1 without placement, node (r, c) at (c, −r, 0), whose centre node 4 is
// lifted to (1, −1, 1) in the current positions only. Every node then has its own normal.
void layOutBentGrid(Cloth& cloth) {
  ASSERT_EQ(cloth.initialize(1.0, 3, 3, nullptr), 0);
  cloth.positions->set(4, Vec3{1.0, -1.0, 1.0});
}

// The normals of the bent grid, worked out by hand from the edges each node takes, by row and column.
const std::vector<std::vector<std::vector<double>>> kBentNormals = {
    {{0, 0, -1}, {0, -kHalf2, -kHalf2}, {0, 0, -1}},
    {{kHalf2, 0, -kHalf2}, {kThird3, -kThird3, -kThird3}, {-kHalf2, 0, -kHalf2}},
    {{0, 0, -1}, {0, kHalf2, -kHalf2}, {0, 0, -1}},
};

::testing::AssertionResult near(const Vec3& actual, const std::vector<double>& expected) {
  return vectorIs(actual.toVector(), {expected[0], expected[1], expected[2]}, 1e-15);
}

// Records what drawInto issues and checks that it keeps to the quad-strip protocol: strips do not
// nest, and every vertex inside a strip comes right after its own normal.
class RecordingSink : public QuadStripSink {
public:
  struct Strip {
    std::vector<Vec3> normals;
    std::vector<Vec3> vertices;
  };

  void beginStrip() override {
    if (open_) fault("a strip begun inside a strip");
    strips.emplace_back();
    open_ = true;
    normalPending_ = false;
  }
  void normal(const double n[3]) override {
    if (!open_ || normalPending_) fault("a normal outside a strip or without its vertex");
    else strips.back().normals.push_back({n[0], n[1], n[2]});
    normalPending_ = true;
  }
  void vertex(const double p[3]) override {
    if (!open_ || !normalPending_) fault("a vertex outside a strip or without a normal");
    else strips.back().vertices.push_back({p[0], p[1], p[2]});
    normalPending_ = false;
  }
  void endStrip() override {
    if (!open_ || normalPending_) fault("a strip ended that was not open, or with a normal left over");
    open_ = false;
  }

  std::vector<Strip> strips;
  std::vector<std::string> faults;

private:
  void fault(const char* what) { faults.push_back(what); }
  bool open_ = false;
  bool normalPending_ = false;
};

// Every case runs under QuietOutput: a zero-normal message that is not announced fails the test.
class ClothNodeNormal : public QuietOutput {};
class ClothDraw : public QuietOutput {};
class ClothSample : public QuietOutput {};

TEST_F(ClothNodeNormal, UndeformedDocumentGridFacesMinusZEverywhere) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  for (int r = 0; r < cloth.height; ++r)
    for (int c = 0; c < cloth.width; ++c)
      EXPECT_TRUE(vectorIs(cloth.nodeNormal(*cloth.positions, c, r), {0.0, 0.0, -1.0})) << "row " << r << ", column " << c;
}

// Corner, top row, first column and inner nodes each take their own pair of edges; on the bent
// grid the wrong pair, or the row and column swapped, gives another normal.
TEST_F(ClothNodeNormal, EachKindOfNodeTakesItsOwnEdges) {
  Cloth cloth;
  layOutBentGrid(cloth);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      EXPECT_TRUE(near(Vec3::of(cloth.nodeNormal(*cloth.positions, c, r)), kBentNormals[r][c]))
          << "row " << r << ", column " << c;
}

TEST_F(ClothNodeNormal, ReadsTheBufferItIsGiven) {
  Cloth cloth;
  layOutBentGrid(cloth);
  EXPECT_TRUE(vectorIs(cloth.nodeNormal(*cloth.restPositions, 1, 1), {0.0, 0.0, -1.0}));
}

// Coincident neighbours: the zero vector, with the vector's message once per normal.
TEST_F(ClothNodeNormal, CollapsedGridGivesZeroNormalWithItsMessage) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(0.0, 3, 3, nullptr), 0);
  for (int k = 0; k < 3; ++k) expectOutput(kZeroMessage);
  EXPECT_TRUE(vectorIs(cloth.nodeNormal(*cloth.positions, 0, 0), {0.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.nodeNormal(*cloth.positions, 2, 0), {0.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.nodeNormal(*cloth.positions, 1, 2), {0.0, 0.0, 0.0}));
}

// 9 strips of 17 quads: 34 vertices each, (r, c) then (r + 1, c) for every column.
TEST_F(ClothDraw, DefaultGridIssuesNineStripsOf34Vertices) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  RecordingSink sink;
  cloth.draw(sink);
  EXPECT_EQ(sink.faults, std::vector<std::string>{});
  ASSERT_EQ(sink.strips.size(), 9u);
  for (int r = 0; r < 9; ++r) {
    const RecordingSink::Strip& strip = sink.strips[r];
    ASSERT_EQ(strip.vertices.size(), 34u);
    ASSERT_EQ(strip.normals.size(), 34u);
    for (int c = 0; c < 17; ++c) {
      for (int lower = 0; lower < 2; ++lower) {
        const int i = 2 * c + lower;
        const double x = c * 0.25 - 2.125, y = 1.25 - (r + lower) * 0.25;
        EXPECT_TRUE(vectorIs(strip.vertices[i].toVector(), {x, y, 0.0})) << "strip " << r << ", vertex " << i;
        EXPECT_TRUE(vectorIs(strip.normals[i].toVector(), {0.0, 0.0, -1.0})) << "strip " << r << ", normal " << i;
      }
    }
  }
}

// Each vertex carries the normal of its own node, so the inner row's nodes appear in both strips.
TEST_F(ClothDraw, NormalsAndVerticesOfTheBentGridInOrder) {
  Cloth cloth;
  layOutBentGrid(cloth);
  RecordingSink sink;
  cloth.draw(sink);
  EXPECT_EQ(sink.faults, std::vector<std::string>{});
  ASSERT_EQ(sink.strips.size(), 2u);
  for (int r = 0; r < 2; ++r) {
    ASSERT_EQ(sink.strips[r].vertices.size(), 6u);
    ASSERT_EQ(sink.strips[r].normals.size(), 6u);
    for (int i = 0; i < 6; ++i) {
      const int row = r + i % 2, c = i / 2;
      const Vec3 expected = cloth.positions->at(row * 3 + c);
      const Vec3 v = sink.strips[r].vertices[i];
      EXPECT_TRUE(v.x == expected.x && v.y == expected.y && v.z == expected.z) << "strip " << r << ", vertex " << i;
      EXPECT_TRUE(near(sink.strips[r].normals[i], kBentNormals[row][c])) << "strip " << r << ", normal " << i;
    }
  }
  EXPECT_EQ(sink.strips[0].vertices[3].z, 1.0) << "the current positions are drawn, not the rest positions";
}

TEST_F(ClothDraw, SmallestGridIsOneStripOfOneQuad) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(1.0, 2, 2, nullptr), 0);
  RecordingSink sink;
  cloth.draw(sink);
  ASSERT_EQ(sink.strips.size(), 1u);
  EXPECT_EQ(sink.strips[0].vertices.size(), 4u);
}

TEST_F(ClothDraw, NothingIsIssuedWithoutAGrid) {
  Cloth cloth;
  RecordingSink fresh;
  cloth.draw(fresh);
  EXPECT_TRUE(fresh.strips.empty());
  EXPECT_EQ(fresh.faults, std::vector<std::string>{});

  ASSERT_EQ(cloth.initialize(0.25, 17, 10, nullptr), 0);
  cloth.freeNodes();
  RecordingSink freed;
  cloth.draw(freed);
  EXPECT_TRUE(freed.strips.empty());
}

// Every normal issued on a collapsed grid is the zero vector and writes its message.
TEST_F(ClothDraw, CollapsedGridReportsEachNormalItIssues) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(0.0, 2, 2, nullptr), 0);
  for (int k = 0; k < 4; ++k) expectOutput(kZeroMessage);
  RecordingSink sink;
  cloth.draw(sink);
  ASSERT_EQ(sink.strips.size(), 1u);
  for (const Vec3& n : sink.strips[0].normals) EXPECT_TRUE(vectorIs(n.toVector(), {0.0, 0.0, 0.0}));
}

// On an undistorted grid the bilinear surface is the plane itself: a 5 × 3 grid of spacing 1
// without placement gives (4u, −2v, 0), u along the rows and v down them.
TEST_F(ClothSample, FlatGridGivesThePlaneExactly) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(1.0, 5, 3, nullptr), 0);
  struct Case {
    double u, v, x, y;
  };
  const Case cases[] = {{0, 0, 0, 0},         {1, 0, 4, 0},       {0, 1, 0, -2},       {1, 1, 4, -2},
                        {0.25, 0.5, 1, -1},   {0.375, 0.25, 1.5, -0.5}, {0.875, 0.75, 3.5, -1.5},
                        {1, 0.25, 4, -0.5},   {0.125, 1, 0.5, -2}};
  for (const Case& c : cases)
    EXPECT_TRUE(vectorIs(cloth.sample(c.u, c.v), {c.x, c.y, 0.0})) << "u " << c.u << ", v " << c.v;
}

TEST_F(ClothSample, CornersOfTheDocumentGridAreItsCornerNodes) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  EXPECT_TRUE(vectorIs(cloth.sample(0, 0), {-2.125, 1.25, 0.0}));  // node 0
  EXPECT_TRUE(vectorIs(cloth.sample(1, 0), {1.875, 1.25, 0.0}));   // node 16
  EXPECT_TRUE(vectorIs(cloth.sample(0, 1), {-2.125, -1.0, 0.0}));  // node 153
  EXPECT_TRUE(vectorIs(cloth.sample(1, 1), {1.875, -1.0, 0.0}));   // node 169
}

TEST_F(ClothSample, BentGridIsInterpolatedBilinearly) {
  Cloth cloth;
  layOutBentGrid(cloth);
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, 0.5), {1.0, -1.0, 1.0})) << "the centre node itself";
  // The mean of the four corners of the first cell.
  EXPECT_TRUE(vectorIs(cloth.sample(0.25, 0.25), {0.5, -0.5, 0.25}));
  // Halfway along the edge from the lifted node to its right-hand neighbour.
  EXPECT_TRUE(vectorIs(cloth.sample(0.75, 0.5), {1.5, -1.0, 0.5}));
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, 0.5, cloth.restPositions.get()), {1.0, -1.0, 0.0}))
      << "the buffer asked for, not the current positions";
}

// Values outside [0, 1] are clamped to the nearer end; NaN counts as 0.
TEST_F(ClothSample, ParametersOutsideTheUnitIntervalAreClamped) {
  Cloth cloth;
  ASSERT_EQ(cloth.initialize(1.0, 5, 3, nullptr), 0);
  EXPECT_TRUE(vectorIs(cloth.sample(-0.5, 0.5), {0.0, -1.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(1.5, 0.5), {4.0, -1.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, -3.0), {2.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, 1e300), {2.0, -2.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(kInf, -kInf), {4.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(-kInf, kInf), {0.0, -2.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(kNaN, 0.5), {0.0, -1.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, kNaN), {2.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(cloth.sample(kNaN, kNaN), {0.0, 0.0, 0.0}));
}

// Callers always have a grid; without one the sample is the origin rather than a crash.
TEST_F(ClothSample, WithoutAGridGivesTheOrigin) {
  const Cloth cloth;
  EXPECT_TRUE(vectorIs(cloth.sample(0.5, 0.5), {0.0, 0.0, 0.0}));
}

}  // namespace
