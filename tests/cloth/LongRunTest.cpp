// Long runs of the fast node loop: stable settings never trip the divergence check, and the
// stability estimate tells the runs that blow up from those that hold.
#include <gtest/gtest.h>

#include <string>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "cloth/Cloth.h"
#include "cloth/ClothParameters.h"
#include "cloth/ClothShape.h"
#include "cloth/MaterialPresets.h"
#include "cloth/RandomGenerator.h"
#include "cloth/StabilityEstimate.h"

namespace {

constexpr double kDt = 0.0005;
using clothsetups::setParameter;

// Steps until the cloth is flagged; returns the steps taken, `steps` when it never was.
int stepsBeforeDivergence(Cloth& cloth, int steps) {
  RandomGenerator gusts(1);
  for (int s = 0; s < steps; ++s) {
    cloth.step(kDt, gusts);
    if (cloth.diverged) return s;
  }
  return steps;
}

double minimumSpacing(const Cloth& cloth) {
  return StabilityEstimate(cloth.parameters, cloth.spacing, kDt).minimumSpacing();
}

class LongRun : public QuietOutput {};

TEST_F(LongRun, DefaultClothHoldsForAHundredThousandSteps) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  EXPECT_EQ(stepsBeforeDivergence(cloth, 100000), 100000);
}

TEST_F(LongRun, LargestClothHolds) {
  Cloth cloth;
  ClothShape{0.25f, 100, 100}.layOut(cloth);
  EXPECT_EQ(stepsBeforeDivergence(cloth, 20000), 20000);
}

// Each of the ten at either end of its slider, the others at their defaults: all stable there.
TEST_F(LongRun, EveryParameterAtEitherEndOfItsRangeHolds) {
  for (const ClothParameter& p : kClothParameters) {
    for (double value : {p.minimum, p.maximum}) {
      Cloth cloth;
      ClothShape().layOut(cloth);
      setParameter(cloth, p.name, value);
      ASSERT_TRUE(StabilityEstimate(cloth.parameters, cloth.spacing, kDt).stable()) << p.name << " " << value;
      EXPECT_EQ(stepsBeforeDivergence(cloth, 50000), 50000) << p.name << " = " << value;
    }
  }
}

// Every material, on the default sheet with its wind: estimated stable, and it holds.
TEST_F(LongRun, EveryMaterialPresetHolds) {
  for (const MaterialPreset& preset : kMaterialPresets) {
    Cloth cloth;
    ClothShape().layOut(cloth);
    applyParameterValues(cloth.parameters, preset.values);
    ASSERT_TRUE(StabilityEstimate(cloth.parameters, cloth.spacing, kDt).stable()) << preset.name;
    EXPECT_EQ(stepsBeforeDivergence(cloth, 20000), 20000) << preset.name;
  }
}

struct Settings {
  const char* what;
  double density, kStretch, kShear, kBend;
};

// Names a case by what it is in test listings, not by its bytes.
void PrintTo(const Settings& c, std::ostream* out) { *out << c.what; }

class SpacingLimit : public QuietOutput, public ::testing::WithParamInterface<Settings> {
protected:
  // A default-sized cloth at `factor` times the narrowest spacing the estimate allows.
  int run(double factor, int steps) {
    const Settings& s = GetParam();
    Cloth cloth;
    ClothShape().layOut(cloth);
    setParameter(cloth, "density", s.density);
    setParameter(cloth, "kStretch", s.kStretch);
    setParameter(cloth, "kShear", s.kShear);
    setParameter(cloth, "kBend", s.kBend);
    ClothShape{static_cast<float>(factor * minimumSpacing(cloth)), 17, 10}.layOut(cloth);
    const int taken = stepsBeforeDivergence(cloth, steps);
    takeOutput();  // a collapsing sheet may normalize zero vectors on its way out
    return taken;
  }
};

// Just inside the estimate the sheet holds; a little outside it blows up within seconds.
TEST_P(SpacingLimit, EstimateSeparatesRunsThatHoldFromRunsThatBlowUp) {
  EXPECT_EQ(run(1.05, 50000), 50000);
  EXPECT_LT(run(0.95, 20000), 20000);
}

INSTANTIATE_TEST_SUITE_P(Settings, SpacingLimit,
                         ::testing::Values(Settings{"Defaults", 0.3, 8000.0, 4000.0, 150.0},
                                           Settings{"Heavy", 5.0, 8000.0, 4000.0, 150.0},
                                           Settings{"LightAndStiffest", 0.05, 16000.0, 8000.0, 2000.0},
                                           Settings{"SoftStretchStiffBend", 0.3, 0.0, 1000.0, 2000.0}),
                         [](const ::testing::TestParamInfo<Settings>& info) { return std::string(info.param.what); });

}  // namespace
