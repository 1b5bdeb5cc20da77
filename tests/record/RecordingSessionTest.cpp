#include "record/RecordingSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"

namespace {

// Frame numbers in the order the animate script holds them.
std::vector<int> framesIn(const std::string& script) {
  std::vector<int> frames;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, 12, "currentTime ") == 0) frames.push_back(std::stoi(line.substr(12)));
  return frames;
}

class RecordingSessionTest : public ::testing::Test {
protected:
  RecordingSessionTest() { ClothShape().layOut(cloth); }

  // Steps until `steps` have been taken since the session began; returns the frames recorded.
  std::vector<int> stepTo(int steps) {
    std::vector<int> frames;
    while (session.stepCount < steps) {
      const RecordingSession::Tick tick = session.advanceFrame();
      EXPECT_FALSE(tick.failed);
      if (tick.frame != 0) frames.push_back(tick.frame);
    }
    return frames;
  }

  Cloth cloth;
  RecordingSession session{cloth};
  TempDir dir;
};

TEST_F(RecordingSessionTest, PresetSkipIsOneFramePerThirtiethOfASecond) {
  EXPECT_EQ(session.timeStep, 0.0005);
  EXPECT_EQ(session.presetSkip(), 66);
  EXPECT_EQ(session.timeStepSkip, 5);
}

TEST_F(RecordingSessionTest, StepsCountWithoutRecordingAndWriteNoFrames) {
  EXPECT_TRUE(stepTo(20).empty());
  EXPECT_EQ(session.stepCount, 20);
  EXPECT_EQ(session.recordedFrames, 0);
  EXPECT_NEAR(cloth.windPhase, 20 * 6.0 * 0.0005, 1e-15) << "every advance is one step of the cloth";
}

TEST_F(RecordingSessionTest, FramesFallOnMultiplesOfTheSkip) {
  ASSERT_EQ(session.start(dir.file("flag"), 5, 1, 1), 0);
  std::vector<int> steps;
  while (session.stepCount < 16)
    if (session.advanceFrame().frame != 0) steps.push_back(session.stepCount);
  EXPECT_EQ(steps, (std::vector<int>{5, 10, 15}));
}

// The running step count decides: a frame is due at the next multiple, not `skip` steps later.
TEST_F(RecordingSessionTest, FirstFrameLandsOnTheNextMultipleOfTheRunningCount) {
  stepTo(1000);
  ASSERT_EQ(session.start(dir.file("flag"), 66, 5, 5), 0);
  stepTo(1055);
  EXPECT_EQ(session.recordedFrames, 0);
  EXPECT_EQ(stepTo(1056), std::vector<int>{1});
}

TEST_F(RecordingSessionTest, FrameNumbersContinueAcrossRecordings) {
  ASSERT_EQ(session.start(dir.file("first"), 5, 1, 1), 0);
  EXPECT_EQ(stepTo(60).size(), 12u);
  ASSERT_EQ(session.stop(), 0);
  EXPECT_FALSE(session.recording);
  stepTo(70);
  ASSERT_EQ(session.start(dir.file("second"), 5, 1, 1), 0);
  stepTo(80);
  ASSERT_EQ(session.stop(), 0);
  EXPECT_EQ(framesIn(readFile(dir.file("animate_second.mel"))), (std::vector<int>{13, 14}));
  EXPECT_EQ(framesIn(readFile(dir.file("animate_first.mel"))).back(), 12);
}

TEST_F(RecordingSessionTest, FailedStartStaysIdleButKeepsTheSkip) {
  EXPECT_EQ(session.start(dir.file("missing/flag"), 33, 5, 5), -1);
  EXPECT_FALSE(session.recording);
  EXPECT_EQ(session.timeStepSkip, 33);
  EXPECT_TRUE(stepTo(100).empty());
}

TEST_F(RecordingSessionTest, FrameThatCannotBeWrittenIsReported) {
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  ASSERT_EQ(session.start(dir.file("flag"), 2, 5, 5), 0);
  session.advanceFrame();
  const RecordingSession::Tick tick = session.advanceFrame();
  EXPECT_EQ(tick.frame, 1);
  EXPECT_TRUE(tick.failed);
}

// The step that breaks the sheet falls on a frame: it is told, and nothing is written for it.
TEST_F(RecordingSessionTest, DivergedClothIsToldAndNeverRecorded) {
  ASSERT_EQ(session.start(dir.file("flag"), 2, 5, 5), 0);
  ASSERT_EQ(stepTo(2), std::vector<int>{1});
  cloth.parameters.find("gravity")->value = NAN;
  for (int step = 3; step <= 6; ++step) {
    const RecordingSession::Tick tick = session.advanceFrame();
    EXPECT_TRUE(tick.diverged) << "step " << step;
    EXPECT_EQ(tick.frame, 0) << "step " << step;
  }
  EXPECT_EQ(session.recordedFrames, 1);
  EXPECT_EQ(session.stop(), 0);
  EXPECT_EQ(framesIn(readFile(dir.file("animate_flag.mel"))), std::vector<int>{1});
}

}  // namespace
