#include "sim/XpbdSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "sim/Simulation.h"

namespace {

using clothsetups::setParameter;

// The longest spring of the sheet (row, column and both diagonals) over its rest length.
double longestStretch(const Cloth& cloth) {
  const NodeBuffer& p = *cloth.positions;
  const int w = cloth.width;
  const double diagonal = std::sqrt(2.0) * cloth.spacing;
  double longest = 0.0;
  const auto spring = [&](int i, int j, double rest) { longest = std::max(longest, norm(p.at(j) - p.at(i)) / rest); };
  for (int r = 0; r < cloth.height; ++r)
    for (int c = 0; c < w; ++c) {
      const int k = r * w + c;
      if (c + 1 < w) spring(k, k + 1, cloth.spacing);
      if (r + 1 == cloth.height) continue;
      spring(k, k + w, cloth.spacing);
      if (c + 1 < w) spring(k, k + w + 1, diagonal);
      if (c > 0) spring(k, k + w - 1, diagonal);
    }
  return longest;
}

struct Blowup {
  const char* what;
  float spacing;
  double density, kStretch, kShear, kBend;
};

// Names a case by what it is in test listings, not by its bytes.
void PrintTo(const Blowup& b, std::ostream* out) { *out << b.what; }

class XpbdBlowups : public QuietOutput, public ::testing::WithParamInterface<Blowup> {};

// Where the explicit step blows up within steps, twenty simulated seconds in the default gusts stay
// finite and undiverged at every step, and every recorded frame within the springs' physical
// stretch. Between frames, the drop from the laid-out grid at spacing 0.05 pulls the spring under
// the middle pin to just past twice its length for a few milliseconds, as the explicit step at a
// sixteenth of the step (stable there) does too.
TEST_P(XpbdBlowups, TwentySecondsStayFiniteAndWithinTwiceTheRestLengths) {
  const Blowup& b = GetParam();
  Simulation simulation(1, ClothShape{b.spacing, 17, 10});
  Cloth& cloth = simulation.cloth();
  setParameter(cloth, "density", b.density);
  setParameter(cloth, "kStretch", b.kStretch);
  setParameter(cloth, "kShear", b.kShear);
  setParameter(cloth, "kBend", b.kBend);
  simulation.setSolver(Solver::Xpbd);
  const int steps = static_cast<int>(20.0 / Simulation::kTimeStep);
  for (int s = 1; s <= steps; ++s) {
    ASSERT_FALSE(simulation.step().diverged) << "step " << s;
    if (s % simulation.stepsPerFrame != 0) continue;
    const double longest = longestStretch(cloth);
    ASSERT_TRUE(longest <= 2.0) << "step " << s << ": a spring at " << longest << " times its rest length";
  }
  EXPECT_TRUE(clothsetups::allFinite(cloth));
}

INSTANTIATE_TEST_SUITE_P(Settings, XpbdBlowups,
                         ::testing::Values(Blowup{"NarrowSpacing", 0.05f, 0.3, 8000.0, 4000.0, 150.0},
                                           Blowup{"LightAndStiff", 0.25f, 0.05, 16000.0, 4000.0, 150.0},
                                           Blowup{"SlidersAtTheirEnds", 0.25f, 0.05, 16000.0, 8000.0, 2000.0}),
                         [](const ::testing::TestParamInfo<Blowup>& info) { return std::string(info.param.what); });

class XpbdWithoutSprings : public QuietOutput, public ::testing::WithParamInterface<ClothShape> {};

// With every stiffness at 0 nothing is left to project: each node moves by gravity, gusty wind and
// damping exactly as in the explicit step, up to rounding, on grids of every width modulo 8.
TEST_P(XpbdWithoutSprings, MovesEveryNodeAsTheExplicitStep) {
  Simulation explicitRun(7, GetParam()), xpbdRun(7, GetParam());
  xpbdRun.setSolver(Solver::Xpbd);
  for (Simulation* simulation : {&explicitRun, &xpbdRun}) {
    clothsetups::setGustyWind(simulation->cloth());
    for (const char* name : {"kStretch", "kShear", "kBend"}) setParameter(simulation->cloth(), name, 0.0);
  }
  for (int s = 1; s <= 400; ++s) {
    explicitRun.step();
    xpbdRun.step();
    for (int k = 0; k < explicitRun.cloth().nodeCount(); ++k)
      ASSERT_LE(norm(xpbdRun.cloth().positions->at(k) - explicitRun.cloth().positions->at(k)), 1e-9)
          << "step " << s << ", node " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, XpbdWithoutSprings, ::testing::ValuesIn(clothsetups::irregularShapes()));

struct Pins {
  PinSet::Preset preset;
};

// Names a case by its preset in listings, not by its bytes.
void PrintTo(const Pins& pins, std::ostream* out) { *out << PinSet::nameOf(pins.preset); }

// How far, at most, a node of the sheet hung by `pins` in still air lies after ten seconds of the
// XPBD solver from where the explicit step's settles, over the sheet's width.
double restShapeGap(const ClothShape& shape, PinSet::Preset pins) {
  Simulation explicitRun(1, shape), xpbdRun(1, shape);
  xpbdRun.setSolver(Solver::Xpbd);
  for (Simulation* simulation : {&explicitRun, &xpbdRun}) {
    setParameter(simulation->cloth(), "windMinimum", 0.0);
    setParameter(simulation->cloth(), "windPressure", 0.0);
    simulation->setPins(PinSet(pins));
    for (int s = 0; s < static_cast<int>(10.0 / Simulation::kTimeStep); ++s) simulation->step();
  }
  const Cloth& expected = explicitRun.cloth();
  double farthest = 0.0;
  for (int k = 0; k < expected.nodeCount(); ++k)
    farthest = std::max(farthest, norm(xpbdRun.cloth().positions->at(k) - expected.positions->at(k)));
  return farthest / ((expected.width - 1) * expected.spacing);
}

class XpbdRestShape : public QuietOutput, public ::testing::WithParamInterface<Pins> {};

// A cloth left to hang in still air settles where the explicit step's does: the springs are the
// same, only the way there differs. (Hung by its left edge alone, the sheet folds up in its own
// plane, and the fold it settles in depends on the path; no pin set here lets it.)
TEST_P(XpbdRestShape, MatchesTheExplicitStepWithinOnePercentOfTheWidth) {
  EXPECT_LE(restShapeGap(ClothShape(), GetParam().preset), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Pins, XpbdRestShape,
                         ::testing::Values(Pins{PinSet::Preset::Standard}, Pins{PinSet::Preset::TopCorners},
                                           Pins{PinSet::Preset::TopEdge}));

class XpbdRestShapeOfAnyWidth : public QuietOutput, public ::testing::WithParamInterface<ClothShape> {};

// The sweep goes over each row's even columns, then its odd ones: on grids of odd and even widths,
// down to two columns, every spring is still there, joining the nodes it joins in the explicit step.
TEST_P(XpbdRestShapeOfAnyWidth, SagsBetweenTheTopCornersAsTheExplicitStep) {
  EXPECT_LE(restShapeGap(GetParam(), PinSet::Preset::TopCorners), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Shapes, XpbdRestShapeOfAnyWidth, ::testing::ValuesIn(clothsetups::irregularShapes()));

}  // namespace
