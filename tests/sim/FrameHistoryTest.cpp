#include "sim/FrameHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sim/Simulation.h"

namespace {

constexpr std::uint32_t kSeed = 4321;
constexpr int kStepsPerFrame = 3;

std::vector<double> coordinates(const NodeBuffer& nodes) {
  std::vector<double> all;
  for (int k = 0; k < nodes.count(); ++k) {
    const Vec3 p = nodes.at(k);
    all.insert(all.end(), {p.x, p.y, p.z});
  }
  return all;
}

struct Bound {
  const char* name;
  std::size_t maxFrames;
  std::size_t maxFramesOfBytes;  // the byte bound, in frames of the test's cloth
  std::size_t kept;  // of the 13 frames of the run
};

class FrameHistoryBound : public ::testing::TestWithParam<Bound> {};

// Past either bound the oldest frames go; the kept ones are the positions of their frames' steps,
// and keeping them changes nothing of the run.
TEST_P(FrameHistoryBound, DropsTheOldestAndKeepsEachFramesPositions) {
  const Bound bound = GetParam();
  Simulation simulation(kSeed, ClothShape{0.25f, 9, 6}), twin(kSeed, ClothShape{0.25f, 9, 6});
  simulation.stepsPerFrame = twin.stepsPerFrame = kStepsPerFrame;
  const std::size_t frameBytes = simulation.cloth().positions->bytes();
  FrameHistory history(simulation, bound.maxFrames, bound.maxFramesOfBytes * frameBytes + frameBytes / 2);
  ASSERT_EQ(history.capacity(), std::min(bound.maxFrames, bound.maxFramesOfBytes));
  constexpr int kFrames = 12;
  std::vector<std::vector<double>> seen{coordinates(*simulation.cloth().positions)};
  for (int frame = 1; frame <= kFrames; ++frame) {
    for (int s = 0; s < kStepsPerFrame; ++s) simulation.step(), twin.step();
    seen.push_back(coordinates(*simulation.cloth().positions));
  }
  ASSERT_EQ(history.size(), bound.kept);
  for (std::size_t i = 0; i < history.size(); ++i) {
    const FrameHistory::Frame& frame = history.at(i);
    const std::int64_t number = kFrames + 1 - static_cast<std::int64_t>(bound.kept) + static_cast<std::int64_t>(i);
    EXPECT_EQ(frame.number, number);
    EXPECT_EQ(frame.step, number * kStepsPerFrame);
    EXPECT_EQ(coordinates(*frame.positions), seen[number]) << "frame " << number;
  }
  EXPECT_EQ(coordinates(*simulation.cloth().positions), coordinates(*twin.cloth().positions));
  simulation.reset();
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history.newest().number, 0);
  EXPECT_EQ(coordinates(*history.newest().positions), seen[0]);
}

INSTANTIATE_TEST_SUITE_P(, FrameHistoryBound,
                         ::testing::Values(Bound{"byFrames", 5, 100, 5}, Bound{"byBytes", 100, 4, 4},
                                           Bound{"allFrames", 100, 100, 13}),
                         [](const auto& info) { return std::string(info.param.name); });

// The window's bounds: a 100 × 100 cloth keeps what 256 MB hold, a small one 60 s at 30 fps.
TEST(FrameHistory, DefaultBoundsFollowTheClothsSize) {
  Simulation large(kSeed, ClothShape{0.25f, 100, 100}), small(kSeed);
  const FrameHistory ofLarge(large), ofSmall(small);
  EXPECT_EQ(ofLarge.capacity(), FrameHistory::kMaxBytes / large.cloth().positions->bytes());
  EXPECT_LT(ofLarge.capacity(), FrameHistory::kMaxFrames);
  EXPECT_EQ(ofSmall.capacity(), FrameHistory::kMaxFrames);
}

}  // namespace
