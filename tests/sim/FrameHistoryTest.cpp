#include "sim/FrameHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ClothSetups.h"
#include "sim/Simulation.h"

namespace {

using clothsetups::coordinatesOf;

struct Bound {
  const char* name;
  std::size_t maxFrames, maxFramesOfBytes;  // the byte bound in frames of the test's cloth
  std::size_t kept;                         // of the run's 13 frames
};

void PrintTo(const Bound& bound, std::ostream* out) { *out << bound.name; }

class FrameHistoryBound : public ::testing::TestWithParam<Bound> {};

// Past either bound the oldest frames go; the kept ones are their steps' positions, keeping them
// changes nothing of the run, and a reset keeps the laid-out cloth alone.
TEST_P(FrameHistoryBound, DropsTheOldestAndKeepsEachFramesPositions) {
  const Bound bound = GetParam();
  Simulation simulation(4321, ClothShape{0.25f, 9, 6}), twin(4321, ClothShape{0.25f, 9, 6});
  simulation.stepsPerFrame = twin.stepsPerFrame = 3;
  const std::size_t frameBytes = simulation.cloth().positions->bytes();
  FrameHistory history(simulation, bound.maxFrames, bound.maxFramesOfBytes * frameBytes + frameBytes / 2);
  EXPECT_EQ(history.capacity(), std::min(bound.maxFrames, bound.maxFramesOfBytes));
  std::vector<std::vector<double>> seen{coordinatesOf(*simulation.cloth().positions)};
  for (int step = 1; step <= 36; ++step) {
    simulation.step(), twin.step();
    if (step % 3 == 0) seen.push_back(coordinatesOf(*simulation.cloth().positions));
  }
  ASSERT_EQ(history.size(), bound.kept);
  for (std::size_t i = 0; i < history.size(); ++i) {
    const std::int64_t number = static_cast<std::int64_t>(seen.size() - bound.kept + i);
    EXPECT_EQ(history.at(i).number, number);
    EXPECT_EQ(history.at(i).step, 3 * number);
    EXPECT_EQ(coordinatesOf(*history.at(i).positions), seen[number]) << "frame " << number;
  }
  EXPECT_EQ(coordinatesOf(*simulation.cloth().positions), coordinatesOf(*twin.cloth().positions));
  simulation.reset();
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(coordinatesOf(*history.newest().positions), seen[0]);
}

INSTANTIATE_TEST_SUITE_P(, FrameHistoryBound,
                         ::testing::Values(Bound{"byFrames", 5, 100, 5}, Bound{"byBytes", 100, 4, 4},
                                           Bound{"allFrames", 100, 100, 13}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
