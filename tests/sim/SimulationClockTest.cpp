#include "record/SimulationClock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"
#include "record/RecordingSession.h"

namespace {

// The animate script of 200 steps at a skip of 7, taken `chunk` steps per call.
std::string recordInChunks(std::int64_t chunk) {
  TempDir dir;
  Cloth cloth;
  ClothShape().layOut(cloth);
  RandomGenerator::seed(5);
  RecordingSession session(cloth);
  EXPECT_EQ(session.start(dir.file("flag"), 7, 3, 2), 0);
  SimulationClock clock(session);
  int frames = 0;
  while (session.stepCount < 200) {
    const SimulationClock::Report report = clock.advance(std::min<std::int64_t>(chunk, 200 - session.stepCount));
    EXPECT_FALSE(report.failed);
    frames += report.framesWritten;
  }
  EXPECT_EQ(session.stop(), 0);
  EXPECT_EQ(frames, 200 / 7);
  return readFile(dir.file("animate_flag.mel"));
}

// However the steps are grouped, frames fall on the same steps and hold the same positions.
TEST(SimulationClock, ChunkingLeavesTheRecordingUnchanged) {
  const std::string oneByOne = recordInChunks(1);
  for (const std::int64_t chunk : {7, 13, 1000}) EXPECT_EQ(recordInChunks(chunk), oneByOne) << "chunk " << chunk;
}

TEST(SimulationClock, StopsAfterTheStepWhoseFrameFailed) {
  TempDir dir;
  Cloth cloth;
  ClothShape().layOut(cloth);
  RecordingSession session(cloth);
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  ASSERT_EQ(session.start(dir.file("flag"), 4, 1, 1), 0);
  const SimulationClock::Report report = SimulationClock(session).advance(100);
  EXPECT_EQ(report.steps, 4);
  EXPECT_TRUE(report.failed);
  EXPECT_EQ(report.lastFrame, 1);
  EXPECT_EQ(report.framesWritten, 0);
  EXPECT_EQ(session.stepCount, 4);
}

TEST(SimulationClock, StopsAtTheStepThatFindsTheClothDiverged) {
  Cloth cloth;
  ClothShape().layOut(cloth);
  RecordingSession session(cloth);
  SimulationClock clock(session);
  ASSERT_FALSE(clock.advance(30).diverged);
  cloth.parameters.find("gravity")->value = 1e308;
  const SimulationClock::Report report = clock.advance(100);
  EXPECT_TRUE(report.diverged);
  EXPECT_EQ(report.steps, 1);
  EXPECT_EQ(report.divergedAtStep, 31);
  EXPECT_EQ(session.stepCount, 31);
}

}  // namespace
