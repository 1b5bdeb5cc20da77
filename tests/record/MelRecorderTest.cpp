#include "record/MelRecorder.h"
#include "record/RecordingTarget.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

class MelRecorderTest : public ::testing::Test {
protected:
  MelRecorderTest() { ClothShape().layOut(cloth); }

  Cloth cloth;
  MelRecorder recorder{cloth};
  TempDir dir;
};

TEST_F(MelRecorderTest, CreateScriptOfTheDefaultFlag) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  EXPECT_EQ(readFile(dir.file("create_flag.mel")),
            "nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 4.250 -lr 0.588 -d 3 -u 5 -v 5;\n"
            "rename \"flag\";\n");
  EXPECT_TRUE(std::filesystem::exists(dir.file("animate_flag.mel")));
  EXPECT_TRUE(recorder.isRecording());
}

TEST_F(MelRecorderTest, NameIsTheFileNameUpToItsFirstDot) {
  for (const char* path : {"flag.mel", "flag.tar.gz"}) {
    ASSERT_EQ(recorder.beginRecording(dir.file(path), 5, 4), 0) << path;
    EXPECT_EQ(recorder.recordingName, "flag");
    ASSERT_EQ(recorder.endRecording(), 0);
  }
  EXPECT_EQ(dir.entries(), 2) << "both paths name the same two scripts";
  EXPECT_EQ(lines(readFile(dir.file("create_flag.mel")))[0],
            "nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 4.250 -lr 0.588 -d 3 -u 5 -v 4;");
}

TEST_F(MelRecorderTest, PathWithoutDirectoryWritesIntoTheCurrentDirectory) {
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const int result = recorder.beginRecording("flag", 5, 5);
  recorder.endRecording();
  std::filesystem::current_path(previous);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("create_flag.mel")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("animate_flag.mel")));
}

TEST_F(MelRecorderTest, FrameOfAnUnmovedClothIsAllZeros) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  const std::vector<std::string> frame = lines(readFile(dir.file("animate_flag.mel")));
  ASSERT_EQ(frame.size(), 194u);
  EXPECT_EQ(frame.front(), "currentTime 1;");
  EXPECT_EQ(frame[1], "setAttr \"flag.controlPoints[0].xValue\" 0.000;");
  EXPECT_EQ(frame[192], "setAttr \"flag.controlPoints[63].zValue\" 0.000;");
  EXPECT_EQ(frame.back(), "setKeyframe -shape 1 {\"flag.cv[0:7][0:7]\"};");
  for (std::size_t i = 1; i < 193; ++i) {
    const std::string value = frame[i].substr(frame[i].rfind(' ') + 1);
    EXPECT_TRUE(value == "0.000;" || value == "-0.000;") << frame[i];
  }
}

// The v index runs slowest while the control point numbers step by V + 3 and wrap.
TEST_F(MelRecorderTest, SinglePatchFrameRunsThroughControlPointsVMajor) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 1, 1), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  const std::vector<std::string> frame = lines(readFile(dir.file("animate_flag.mel")));
  ASSERT_EQ(frame.size(), 50u);
  const int order[] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
  for (int p = 0; p < 16; ++p) {
    for (int axis = 0; axis < 3; ++axis) {
      const std::string prefix = "setAttr \"flag.controlPoints[" + std::to_string(order[p]) + "]." +
                                 "xyz"[axis] + "Value\" ";
      EXPECT_EQ(frame[1 + 3 * p + axis].compare(0, prefix.size(), prefix), 0) << frame[1 + 3 * p + axis];
    }
  }
  EXPECT_EQ(frame.back(), "setKeyframe -shape 1 {\"flag.cv[0:3][0:3]\"};");
}

TEST_F(MelRecorderTest, DisplacementIsCurrentMinusRestAtEveryControlPoint) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    cloth.positions->set(k, {p.x + 0.125, p.y - 0.5, p.z + 2.0});
  }
  ASSERT_EQ(recorder.beginRecording(dir.file("moved"), 2, 3), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  const std::vector<std::string> frame = lines(readFile(dir.file("animate_moved.mel")));
  ASSERT_EQ(frame.size(), 2u + 3 * 5 * 6);
  for (std::size_t i = 1; i + 1 < frame.size(); i += 3) {
    EXPECT_NE(frame[i].find("xValue\" 0.125;"), std::string::npos) << frame[i];
    EXPECT_NE(frame[i + 1].find("yValue\" -0.500;"), std::string::npos) << frame[i + 1];
    EXPECT_NE(frame[i + 2].find("zValue\" 2.000;"), std::string::npos) << frame[i + 2];
  }
}

TEST_F(MelRecorderTest, ControlPointsStandAtTheGrevilleAbscissae) {
  const double five[] = {0.0, 1.0 / 15, 0.2, 0.4, 0.6, 0.8, 14.0 / 15, 1.0};
  for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(MelRecorder::controlPointParameter(k, 5), five[k]) << k;
  const double one[] = {0.0, 1.0 / 3, 2.0 / 3, 1.0};
  for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(MelRecorder::controlPointParameter(k, 1), one[k]) << k;
}

TEST_F(MelRecorderTest, FrameNumberBelowOneContinuesFromTheLastFrame) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 1, 1), 0);
  for (int frame : {1, 2, 3}) ASSERT_EQ(recorder.writeFrame(frame), 0);
  ASSERT_EQ(recorder.writeFrame(0), 0);
  EXPECT_EQ(recorder.lastFrame, 4);
  EXPECT_EQ(lines(readFile(dir.file("animate_flag.mel")))[3 * 50], "currentTime 4;");
}

TEST_F(MelRecorderTest, EachFrameReachesTheFileWhenComplete) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  ASSERT_EQ(recorder.writeFrame(2), 0);
  // Still open: what a crash would leave behind now.
  EXPECT_EQ(lines(readFile(dir.file("animate_flag.mel"))).size(), 2 * 194u);
}

TEST_F(MelRecorderTest, WithoutAnOpenScriptFramesAreRefusedAndEndIsHarmless) {
  EXPECT_EQ(recorder.writeFrame(1), -1);
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  EXPECT_EQ(recorder.endRecording(), 0);
  EXPECT_EQ(recorder.endRecording(), 0);
  EXPECT_EQ(recorder.writeFrame(1), -1);
  EXPECT_EQ(readFile(dir.file("animate_flag.mel")), "");
}

TEST_F(MelRecorderTest, AnimateScriptThatCannotBeOpenedLeavesTheCreateScript) {
  std::filesystem::create_directory(dir.file("animate_flag.mel"));
  EXPECT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 1);
  EXPECT_FALSE(recorder.isRecording());
  EXPECT_NE(readFile(dir.file("create_flag.mel")), "");
  EXPECT_NE(recorder.lastError().find(dir.file("animate_flag.mel")), std::string::npos) << recorder.lastError();
  EXPECT_EQ(recorder.writeFrame(1), -1);
}

TEST_F(MelRecorderTest, UnwritableDirectoryFailsWithThePathAndTheReason) {
  EXPECT_EQ(recorder.beginRecording(dir.file("missing/flag"), 5, 5), -1);
  EXPECT_EQ(recorder.lastError(), dir.file("missing/create_flag.mel") + ": No such file or directory");
  EXPECT_FALSE(recorder.isRecording());
}

// Names go into MEL strings and file names: anything but letters, digits and '_' could break the
// script or run commands in the user's Maya session.
TEST(MelName, KeepsOnlyMelNodeNameCharacters) {
  EXPECT_EQ(RecordingTarget::safeName("flag_2"), "flag_2");
  EXPECT_EQ(RecordingTarget::safeName("a\"b"), "a_b");
  EXPECT_EQ(RecordingTarget::safeName("x\\y;z"), "x_y_z");
  EXPECT_EQ(RecordingTarget::safeName("new\nline"), "new_line");
  EXPECT_EQ(RecordingTarget::safeName("my flag-1"), "my_flag_1");
  EXPECT_EQ(RecordingTarget::safeName("2fast"), "_2fast");
  EXPECT_EQ(RecordingTarget::safeName("\xc3\xa9t\xc3\xa9"), "__t__") << "each byte of a UTF-8 letter";
  EXPECT_EQ(RecordingTarget::safeName(""), "");
}

TEST_F(MelRecorderTest, HostileFileNameCannotInjectCommands) {
  ASSERT_EQ(recorder.beginRecording(dir.file("x\";quit -f;\""), 1, 1), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  ASSERT_EQ(recorder.endRecording(), 0);
  EXPECT_EQ(recorder.recordingName, "x__quit__f__");
  EXPECT_EQ(lines(readFile(dir.file("create_x__quit__f__.mel")))[1], "rename \"x__quit__f__\";");
  EXPECT_EQ(lines(readFile(dir.file("animate_x__quit__f__.mel"))).back(),
            "setKeyframe -shape 1 {\"x__quit__f__.cv[0:3][0:3]\"};");
}

TEST_F(MelRecorderTest, LongNamesAreKeptWhole) {
  const std::string name(60, 'n');
  ASSERT_EQ(recorder.beginRecording(dir.file(name + ".mel"), 5, 5), 0);
  EXPECT_EQ(recorder.recordingName, name);
  EXPECT_TRUE(std::filesystem::exists(dir.file("animate_" + name + ".mel")));
}

TEST_F(MelRecorderTest, RefusedRecordingsWriteNothing) {
  EXPECT_EQ(recorder.beginRecording(dir.path() + "/", 5, 5), -1) << "no file name";
  EXPECT_EQ(recorder.beginRecording(dir.file(".hidden"), 5, 5), -1) << "name empty before the dot";
  EXPECT_EQ(recorder.beginRecording(dir.file("flag"), 0, 5), -1);
  EXPECT_EQ(recorder.beginRecording(dir.file("flag"), 5, -2), -1);
  Cloth empty;
  MelRecorder gridless(empty);
  EXPECT_EQ(gridless.beginRecording(dir.file("flag"), 5, 5), -1);
  EXPECT_EQ(dir.entries(), 0);
  EXPECT_FALSE(recorder.isRecording());
}

// /dev/full accepts the open and fails every write with "no space", like a full disk.
TEST_F(MelRecorderTest, FullDeviceFailsTheCreateScript) {
  std::filesystem::create_symlink("/dev/full", dir.file("create_flag.mel"));
  EXPECT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), -1);
  EXPECT_EQ(recorder.lastError(), dir.file("create_flag.mel") + ": No space left on device");
  EXPECT_FALSE(recorder.isRecording());
  EXPECT_FALSE(std::filesystem::exists(dir.file("animate_flag.mel")));
}

TEST_F(MelRecorderTest, FullDeviceFailsTheFrame) {
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  EXPECT_EQ(recorder.writeFrame(1), -1);
  EXPECT_EQ(recorder.lastError(), dir.file("animate_flag.mel") + ": No space left on device");
}

// A file-size limit stops a frame part-way; the script is cut back to the frames before it.
TEST_F(MelRecorderTest, FrameCutShortByASizeLimitIsRemoved) {
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 5, 5), 0);
  ASSERT_EQ(recorder.writeFrame(1), 0);
  const std::string oneFrame = readFile(dir.file("animate_flag.mel"));
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = oneFrame.size() * 3 + oneFrame.size() / 2;
  setrlimit(RLIMIT_FSIZE, &limited);
  int written = 1;
  while (written < 10 && recorder.writeFrame(0) == 0) ++written;
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(written, 3);
  EXPECT_EQ(recorder.lastError(), dir.file("animate_flag.mel") + ": File too large");
  EXPECT_EQ(recorder.endRecording(), 0);
  const std::string script = readFile(dir.file("animate_flag.mel"));
  EXPECT_EQ(script.size(), 3 * oneFrame.size()) << "unmoved frames differ only in their numbers";
  const std::string lastLine = "setKeyframe -shape 1 {\"flag.cv[0:7][0:7]\"};\n";
  EXPECT_EQ(script.substr(script.size() - lastLine.size()), lastLine);
}

TEST_F(MelRecorderTest, CloseThatCannotWriteBufferedLinesFails) {
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  ASSERT_EQ(recorder.beginRecording(dir.file("flag"), 1, 1), 0);
  ASSERT_EQ(recorder.writeControlPoints(recorder.animationFile, "flag", 1, 1), 0) << "still in the buffer";
  EXPECT_EQ(recorder.endRecording(), -1);
  EXPECT_EQ(recorder.lastError(), dir.file("animate_flag.mel") + ": No space left on device");
  EXPECT_FALSE(recorder.isRecording());
}

// Makes a German locale available (decimal comma), generating it into `dir` when the system has
// none installed. Returns false when no such locale can be had.
bool useGermanNumbers(const TempDir& dir) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) return true;
  const std::string command = "localedef -i de_DE -f UTF-8 " + dir.file("de_DE.UTF-8") + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return false;
  setenv("LOCPATH", dir.path().c_str(), 1);
  const bool available = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  unsetenv("LOCPATH");
  return available;
}

TEST_F(MelRecorderTest, NumbersUseAPointUnderACommaLocale) {
  TempDir localeDir;
  if (!useGermanNumbers(localeDir)) GTEST_SKIP() << "no German locale can be installed here";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%1.3f", 0.25);
  const std::string probed = probe;
  const int begun = recorder.beginRecording(dir.file("flag"), 5, 5);
  const int written = recorder.writeFrame(1);
  std::setlocale(LC_ALL, "C");
  ASSERT_EQ(probed, "0,250") << "the locale should write a decimal comma";
  ASSERT_EQ(begun, 0);
  ASSERT_EQ(written, 0);
  EXPECT_EQ(lines(readFile(dir.file("create_flag.mel")))[0],
            "nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 4.250 -lr 0.588 -d 3 -u 5 -v 5;");
  EXPECT_EQ(readFile(dir.file("animate_flag.mel")).find(','), std::string::npos);
}

}  // namespace
