#include "record/RecordingSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "CacheReaders.h"
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
  struct Tick {
    int frame = 0;  // the frame this step recorded or failed, 0 when none
    bool failed = false;
    bool diverged = false;
  };

  // One step of the simulation the session listens to.
  Tick advance() {
    const int before = session.recordedFrames;
    const Simulation::StepResult result = simulation.step();
    return {session.recordedFrames != before ? session.recordedFrames : 0, result.frameRefused, result.diverged};
  }

  // Steps until `steps` have been taken since the session began; returns the frames recorded.
  std::vector<int> stepTo(int steps) {
    std::vector<int> frames;
    while (simulation.stepCount() < steps) {
      const Tick tick = advance();
      EXPECT_FALSE(tick.failed);
      if (tick.frame != 0) frames.push_back(tick.frame);
    }
    return frames;
  }

  Simulation simulation{1};
  Cloth& cloth = simulation.cloth();
  RecordingSession session{simulation};
  TempDir dir;
};

TEST_F(RecordingSessionTest, PresetSkipIsOneFramePerThirtiethOfASecond) {
  EXPECT_EQ(session.timeStep, 0.0005);
  EXPECT_EQ(session.presetSkip(), 66);
  EXPECT_EQ(session.timeStepSkip, 5);
}

TEST_F(RecordingSessionTest, StepsCountWithoutRecordingAndWriteNoFrames) {
  EXPECT_TRUE(stepTo(20).empty());
  EXPECT_EQ(simulation.stepCount(), 20);
  EXPECT_EQ(session.recordedFrames, 0);
  EXPECT_NEAR(cloth.windPhase, 20 * 6.0 * 0.0005, 1e-15) << "every advance is one step of the cloth";
}

TEST_F(RecordingSessionTest, FramesFallOnMultiplesOfTheSkip) {
  ASSERT_EQ(session.start(dir.file("flag"), 5, 1, 1), 0);
  std::vector<int> steps;
  while (simulation.stepCount() < 16)
    if (advance().frame != 0) steps.push_back(simulation.stepCount());
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
  advance();
  const Tick tick = advance();
  EXPECT_EQ(tick.frame, 1);
  EXPECT_TRUE(tick.failed);
}

// The step that breaks the sheet falls on a frame: it is told, and nothing is written for it.
TEST_F(RecordingSessionTest, DivergedClothIsToldAndNeverRecorded) {
  ASSERT_EQ(session.start(dir.file("flag"), 2, 5, 5), 0);
  ASSERT_EQ(stepTo(2), std::vector<int>{1});
  cloth.parameters.find("gravity")->value = NAN;
  EXPECT_EQ(advance().frame, 0) << "step 3: no frame due";
  for (int step = 4; step <= 6; ++step) {
    const Tick tick = advance();
    EXPECT_TRUE(tick.diverged) << "step " << step;
    EXPECT_EQ(tick.frame, 0) << "step " << step;
  }
  EXPECT_EQ(session.recordedFrames, 1);
  EXPECT_EQ(session.stop(), 0);
  EXPECT_EQ(framesIn(readFile(dir.file("animate_flag.mel"))), std::vector<int>{1});
}

const RecordingFormats kCaches{RecordingFormat::pc2, RecordingFormat::mdd, RecordingFormat::glb};

// The recorder interrupted by a signal and the window closed while recording both end here.
TEST_F(RecordingSessionTest, CachesAreCompleteAfterEveryFrameOrWhenTheSessionGoes) {
  {
    RecordingSession running(simulation);
    ASSERT_EQ(running.start(dir.file("take"), 3, 5, 5, kCaches), 0);
    for (int frames = 1; frames <= 4; ++frames) {
      for (int s = 0; s < 3; ++s) simulation.step();
      const cachereaders::PointCache pc2 = cachereaders::readPc2(dir.file("take.pc2"));
      EXPECT_EQ(pc2.problem, "");
      EXPECT_EQ(pc2.frames.size(), static_cast<std::size_t>(frames)) << "the header counts every frame written";
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("take.mdd"))) << "no MDD until its count is known";
    EXPECT_FALSE(std::filesystem::exists(dir.file("take.glb")));
  }
  EXPECT_EQ(cachereaders::readMdd(dir.file("take.mdd")).frames.size(), 4u);
  EXPECT_EQ(cachereaders::readGlb(dir.file("take.glb")).targets.size(), 4u);
  EXPECT_EQ(dir.entries(), 4) << "the base mesh, the three caches, and no spool left behind";
}

// Each case makes one file unwritable: the start, a frame or the end fails with its path and
// reason, and no file of that name is left looking complete.
struct CacheFailure {
  RecordingFormat format;
  const char* unwritable;  // linked to /dev/full
  const char* failingStage;
  const char* reported;
};

void PrintTo(const CacheFailure& c, std::ostream* out) { *out << c.unwritable; }

class RecordingSessionFailure : public RecordingSessionTest, public ::testing::WithParamInterface<CacheFailure> {};

TEST_P(RecordingSessionFailure, NamesTheFileAndLeavesNothingHalfWritten) {
  const CacheFailure& c = GetParam();
  // A frame file in the way before the start is an old take's, which the start removes.
  const bool frameFile = std::string(c.failingStage) == "frame";
  if (!frameFile) std::filesystem::create_symlink("/dev/full", dir.file(c.unwritable));
  const int started = session.start(dir.file("take"), 2, 5, 5, {c.format});
  std::string stage = "start";
  if (started == 0) {
    if (frameFile) std::filesystem::create_symlink("/dev/full", dir.file(c.unwritable));
    stage = "frame";
    if (!advance().failed && !advance().failed) stage = session.stop() == 0 ? "none" : "end";
  }
  EXPECT_EQ(stage, c.failingStage);
  EXPECT_EQ(session.lastError(), dir.file(c.reported) + ": No space left on device");
  session.stop();
  EXPECT_FALSE(session.recording);
  for (const char* finished : {"take.mdd", "take.glb", "take.0001.obj"})
    EXPECT_FALSE(std::filesystem::exists(dir.file(finished))) << finished;
}

INSTANTIATE_TEST_SUITE_P(
    RecordingSession, RecordingSessionFailure,
    ::testing::Values(CacheFailure{RecordingFormat::pc2, "take.obj", "start", "take.obj"},
                      CacheFailure{RecordingFormat::pc2, "take.pc2", "start", "take.pc2"},
                      CacheFailure{RecordingFormat::obj, "take.0001.obj", "frame", "take.0001.obj"},
                      CacheFailure{RecordingFormat::mdd, "take.mdd.part", "end", "take.mdd.part"},
                      CacheFailure{RecordingFormat::glb, "take.glb.part", "end", "take.glb.part"}),
    [](const ::testing::TestParamInfo<CacheFailure>& info) {
      std::string name = info.param.unwritable;
      for (char& ch : name)
        if (ch == '.') ch = '_';
      return name;
    });

// A cache that cannot be completed at the end is named, and its frames are claimed only when
// another file keeps them.
TEST_F(RecordingSessionTest, FramesAreClaimedOnlyWhenACompletedFileKeepsThem) {
  for (const bool withPc2 : {false, true}) {
    std::filesystem::create_symlink("/dev/full", dir.file("take.mdd.part"));  // the failed end removes it
    RecordingFormats formats{RecordingFormat::mdd};
    if (withPc2) formats.push_back(RecordingFormat::pc2);
    ASSERT_EQ(session.start(dir.file("take"), 2, 5, 5, formats), 0);
    stepTo(simulation.stepCount() + 8);
    EXPECT_EQ(session.stop(), -1);
    EXPECT_EQ(session.unfinished(), std::vector<std::string>{dir.file("take.mdd.part") + ": No space left on device"});
    EXPECT_EQ(session.framesKept(), withPc2) << "the base mesh alone keeps no frame";
  }
}

TEST_F(RecordingSessionTest, FailedStartClosesTheFormatsAlreadyStarted) {
  std::filesystem::create_symlink("/dev/full", dir.file("take.pc2"));
  EXPECT_EQ(session.start(dir.file("take"), 2, 5, 5, {RecordingFormat::mel, RecordingFormat::pc2}), -1);
  EXPECT_FALSE(session.recording);
  EXPECT_FALSE(session.recorder.isRecording()) << "the MEL scripts begun first are closed again";
  EXPECT_EQ(session.lastError(), dir.file("take.pc2") + ": No space left on device");
}

// The finished name is taken only at the end: a directory in its way fails the end, not the start.
TEST_F(RecordingSessionTest, CacheWhoseNameIsTakenFailsAtTheEnd) {
  std::filesystem::create_directory(dir.file("take.glb"));
  ASSERT_EQ(session.start(dir.file("take"), 2, 5, 5, {RecordingFormat::glb}), 0);
  advance();
  EXPECT_EQ(session.stop(), -1);
  EXPECT_EQ(session.lastError(), dir.file("take.glb") + ": Is a directory");
  EXPECT_FALSE(std::filesystem::exists(dir.file("take.glb.part")));
}

}  // namespace
