#include <gtest/gtest.h>

#include <string>

#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/StabilityEstimate.h"

namespace {

constexpr double kDt = 0.0005;

struct Stiffness {
  const char* what;
  double kStretch, kShear, kBend, expected;
};

// Names a case by what it is in test listings, not by its bytes.
void PrintTo(const Stiffness& c, std::ostream* out) { *out << c.what; }

class StiffestWave : public ::testing::TestWithParam<Stiffness> {};

// Hand-derived maxima. Alternating along a row: 4 kStretch + 4 kShear + 2 kBend. Alternating both
// ways: 4 kStretch + 4 kBend. Along the diagonal with A = kStretch + kBend < 4 kShear, the peak
// lies inside, at cos q = −A / (4 kShear): 2A + 4 kShear + A² / (4 kShear).
TEST_P(StiffestWave, IsTheLargestWaveStiffnessOfTheGrid) {
  const Stiffness& k = GetParam();
  EXPECT_NEAR(StabilityEstimate::stiffestWave(k.kStretch, k.kShear, k.kBend), k.expected, 1e-3 * k.expected);
}

INSTANTIATE_TEST_SUITE_P(Mixes, StiffestWave,
                         ::testing::Values(Stiffness{"Defaults", 8000.0, 4000.0, 150.0, 48300.0},
                                           Stiffness{"NoShear", 16000.0, 0.0, 2000.0, 72000.0},
                                           Stiffness{"DiagonalPeak", 0.0, 1000.0, 1000.0, 6250.0},
                                           Stiffness{"Slack", 0.0, 0.0, 0.0, 0.0}),
                         [](const ::testing::TestParamInfo<Stiffness>& info) { return std::string(info.param.what); });

TEST(StabilityEstimate, DefaultClothSitsAtASixthOfItsLimit) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  const StabilityEstimate estimate(cloth.parameters, cloth.spacing, kDt);
  // dt² × 48300 / (4 × 0.3 × 0.0625 + 2 × 0.15 × dt)
  EXPECT_NEAR(estimate.ratio(), 0.012075 / 0.07515, 1e-9);
  EXPECT_TRUE(estimate.stable());
  EXPECT_NEAR(estimate.minimumSpacing(), 0.09969, 1e-5);
}

TEST(StabilityEstimate, MinimumSpacingIsWhereTheRatioReachesOne) {
  const StabilityEstimate narrow(16000.0, 8000.0, 2000.0, 0.05, 0.0, 0.05, kDt);
  EXPECT_FALSE(narrow.stable());
  const double edge = narrow.minimumSpacing();
  EXPECT_NEAR(StabilityEstimate(16000.0, 8000.0, 2000.0, 0.05, 0.0, edge, kDt).ratio(), 1.0, 1e-12);
}

// 4 × 100 × dt² = 1e-4 against 2 × cDamping × dt = 5e-3: the damping term of the limit alone holds.
TEST(StabilityEstimate, DampingAloneCanHoldAWeightlessSheet) {
  EXPECT_FALSE(StabilityEstimate(100.0, 0.0, 0.0, 0.3, 0.0, 0.0, kDt).stable());
  EXPECT_TRUE(StabilityEstimate(100.0, 0.0, 0.0, 0.3, 5.0, 0.0, kDt).stable());
  EXPECT_EQ(StabilityEstimate(100.0, 0.0, 0.0, 0.3, 5.0, 0.0, kDt).minimumSpacing(), 0.0);
}

}  // namespace
