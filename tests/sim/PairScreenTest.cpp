#include "sim/PairScreen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "cloth/Vec3.h"
#include "sim/ClosestPoints.h"

namespace {

constexpr double kThickness = 0.02;
constexpr double kSlack = 1.000001 * kThickness;
constexpr int kPairs = 4000;

// Four nodes a pair, scattered within a few thicknesses of one another (so that every test of the
// screen decides some of them), with this step's moves and the odometers' readings.
struct Scene {
  std::vector<double> x, y, z, odometer, moved;
  std::vector<std::array<int, 4>> nodes;
  std::vector<double> due;
  std::vector<std::uint8_t> look;

  explicit Scene(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> near(-3.0 * kThickness, 3.0 * kThickness), moves(0.0, kThickness);
    for (int i = 0; i < kPairs; ++i) {
      const Vec3 centre{0.3 * i, 0.0, 0.0};
      for (int j = 0; j < 4; ++j) {
        // Two of the corners far apart, as a triangle's or an edge's are.
        const Vec3 p = centre + Vec3{near(random), near(random), near(random)} + (j % 2 ? 0.1 : -0.1) * Vec3{1, 1, 0};
        x.push_back(p.x);
        y.push_back(p.y);
        z.push_back(p.z);
        odometer.push_back(10.0 * moves(random));
        moved.push_back(i % 3 == 0 ? 0.0 : moves(random));
      }
      nodes.push_back({4 * i, 4 * i + 1, 4 * i + 2, 4 * i + 3});
      due.push_back(i % 5 == 0 ? 1e9 : 0.0);  // every fifth not yet due
    }
    look.assign(kPairs, 2);
  }
  Vec3 at(int k) const { return {x[k], y[k], z[k]}; }
  PairScreen screen() const { return {x.data(), y.data(), z.data(), odometer.data(), moved.data(), kThickness, kSlack}; }
  double gone(int i) const {
    double sum = 0.0;
    for (const int k : nodes[i]) sum += odometer[k];
    return sum;
  }
};

// The screen may pass over only a pair that is not due, or that is clear by the thickness and every
// move of its nodes (edge pairs also when nearest at an end), and then must not put its due beyond
// where its true distance allows.
TEST(PairScreen, PassesOverOnlyPairsClearAllTheStep) {
  for (const bool edges : {false, true}) {
    Scene s(edges ? 2u : 1u);
    const std::vector<double> dueBefore = s.due;
    (edges ? screenEdgePairs : screenNodeTriangles)(s.screen(), s.nodes.data(), s.due.data(), s.look.data(), kPairs);
    int looked = 0, cleared = 0;
    for (int i = 0; i < kPairs; ++i) {
      SCOPED_TRACE(testing::Message() << (edges ? "edges " : "triangle ") << i);
      const auto& [a, b, c, d] = s.nodes[i];
      ASSERT_LE(s.look[i], 1);
      if (dueBefore[i] > 1e8) {
        EXPECT_EQ(s.look[i], 0);
        EXPECT_EQ(s.due[i], dueBefore[i]);
        continue;
      }
      looked += s.look[i];
      if (s.look[i]) continue;
      ++cleared;
      double distance = 0.0, moves = 0.0;
      bool atAnEnd = false;
      if (edges) {
        const SegmentParameters st = closestBetweenSegments(s.at(a), s.at(b), s.at(c), s.at(d));
        atAnEnd = !(st.s > 0.0 && st.s < 1.0 && st.t > 0.0 && st.t < 1.0);
        distance = norm(s.at(a) + st.s * (s.at(b) - s.at(a)) - (s.at(c) + st.t * (s.at(d) - s.at(c))));
        moves = std::max(s.moved[a], s.moved[b]) + std::max(s.moved[c], s.moved[d]);
      } else {
        const TriangleWeights w = closestOnTriangle(s.at(a), s.at(b), s.at(c), s.at(d));
        distance = norm(s.at(a) - (w.a * s.at(b) + w.b * s.at(c) + w.c * s.at(d)));
        moves = s.moved[a] + std::max({s.moved[b], s.moved[c], s.moved[d]});
      }
      if (!atAnEnd) {
        EXPECT_GE(distance, kThickness + moves - 1e-12);
      }
      EXPECT_LE(s.due[i], s.gone(i) + distance - kSlack + 1e-12);
    }
    // Both verdicts come up, so each branch above was checked.
    EXPECT_GT(looked, kPairs / 20);
    EXPECT_GT(cleared, kPairs / 20);
  }
}

}  // namespace
