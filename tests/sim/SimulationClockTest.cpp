#include "sim/SimulationClock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "record/RecordingSession.h"
#include "sim/Simulation.h"

namespace {

// The animate script of 200 steps at a skip of 7, taken `chunk` steps per call.
std::string recordInChunks(std::int64_t chunk) {
  TempDir dir;
  Simulation simulation(5);
  RecordingSession session(simulation);
  EXPECT_EQ(session.start(dir.file("flag"), 7, 3, 2), 0);
  SimulationClock clock(simulation);
  while (simulation.stepCount() < 200)
    EXPECT_FALSE(clock.advance(std::min<std::int64_t>(chunk, 200 - simulation.stepCount())).frameRefused);
  EXPECT_EQ(session.stop(), 0);
  EXPECT_EQ(session.recordedFrames, 200 / 7);
  return readFile(dir.file("animate_flag.mel"));
}

// However the steps are grouped, frames fall on the same steps and hold the same positions.
TEST(SimulationClock, ChunkingLeavesTheRecordingUnchanged) {
  const std::string oneByOne = recordInChunks(1);
  for (const std::int64_t chunk : {7, 13, 1000}) EXPECT_EQ(recordInChunks(chunk), oneByOne) << "chunk " << chunk;
}

TEST(SimulationClock, StopsAfterTheStepWhoseFrameFailed) {
  TempDir dir;
  Simulation simulation(1);
  RecordingSession session(simulation);
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  ASSERT_EQ(session.start(dir.file("flag"), 4, 1, 1), 0);
  const SimulationClock::Report report = SimulationClock(simulation).advance(100);
  EXPECT_EQ(report.steps, 4);
  EXPECT_TRUE(report.frameRefused);
  EXPECT_EQ(session.failedFrame(), 1);
  EXPECT_EQ(simulation.stepCount(), 4);
}

TEST(SimulationClock, StopsAtTheStepThatFindsTheClothDiverged) {
  Simulation simulation(1);
  SimulationClock clock(simulation);
  ASSERT_FALSE(clock.advance(30).diverged);
  simulation.cloth().parameters.find("gravity")->value = 1e308;
  const SimulationClock::Report report = clock.advance(100);
  EXPECT_TRUE(report.diverged);
  EXPECT_EQ(report.steps, 2) << "step 32 is the first checked after the break";
  EXPECT_EQ(report.divergedAtStep, 32);
  EXPECT_EQ(simulation.stepCount(), 32);
}

}  // namespace
