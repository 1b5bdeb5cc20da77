// The loomwise-record program as a user runs it: its exit codes, its messages, and scripts that
// match, byte for byte, an independent rendering of the plain Vector formulation of the run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "LoomwiseVersion.h"
#include "CacheReaders.h"
#include "ReferenceCloth.h"
#include "TempDir.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"
#include "sim/PinSet.h"

namespace {

// A closed cube of side 2 about the origin, as a mesh collider's file.
constexpr const char* kCube = "v -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
                              "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 4 8 7 3\nf 1 5 8 4\nf 2 3 7 6\n";

struct ProgramRun {
  int exitCode;
  std::string out;
  std::string err;
};

// Runs the program under sh; `before` and `after` are shell commands around it ($! is its process
// in `after`, which must then wait for it: the run's status is the status of the last command).
ProgramRun record(const std::string& arguments, const std::string& before = "", const std::string& after = "") {
  TempDir capture;
  const std::string program = std::string(LOOMWISE_RECORD_PROGRAM) + " " + arguments + " >" + capture.file("out") +
                              " 2>" + capture.file("err") + " </dev/null";
  const std::string command = after.empty() ? before + program : before + program + " & " + after;
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(capture.file("out")), readFile(capture.file("err"))};
}

const std::string kLastLineOfAFrame = "setKeyframe -shape 1 {\"flag.cv[0:7][0:7]\"};\n";

int countOf(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

bool endsOnAWholeFrame(const std::string& script) {
  return script.empty() || (script.size() >= kLastLineOfAFrame.size() &&
                            script.compare(script.size() - kLastLineOfAFrame.size(), std::string::npos,
                                           kLastLineOfAFrame) == 0);
}

// Where control point k of a cubic surface with n spans stands: 0, 1/3n, 1/n … (n−1)/n, 1 − 1/3n, 1.
double abscissa(int k, int n) {
  if (k == 0) return 0.0;
  if (k == 1) return 1.0 / (3 * n);
  if (k == n + 1) return 1.0 - 1.0 / (3 * n);
  if (k == n + 2) return 1.0;
  return (k - 1) / static_cast<double>(n);
}

// Bilinear sampling in Vector operations, as the surface is read.
Vector sampleGrid(const std::function<Vector(int)>& node, int width, int height, double u, double v) {
  double a = (width - 1) * u, b = (height - 1) * v;
  int i = static_cast<int>(a), j = static_cast<int>(b);
  double fu = a - i, fv = b - j;
  if (i == width - 1) fu = 1.0, i = width - 2;
  if (j == height - 1) fv = 1.0, j = height - 2;
  const Vector p00 = node(j * width + i), p10 = node(j * width + i + 1);
  const Vector p01 = node((j + 1) * width + i), p11 = node((j + 1) * width + i + 1);
  const Vector q = p10.subtract(p00).scale(fu).add(p00);
  const Vector w = p11.subtract(p01).scale(fu).add(p01);
  return w.subtract(q).scale(fv).add(q);
}

struct Scenario {
  ClothShape shape;
  int steps, skip, patchesU, patchesV;
  std::uint32_t seed;
  std::vector<std::pair<std::string, double>> settings;
  std::string pins = "default";  // as --pins takes it
};

// The nodes --pins names, for the reference: a preset, or a list of R,C.
FixedNodes pinnedNodes(const std::string& pins, int width, int height) {
  if (const std::optional<PinSet::Preset> preset = PinSet::presetNamed(pins)) return PinSet(*preset).on(width, height);
  std::vector<GridNode> nodes;
  std::istringstream list(pins);
  for (std::string node; std::getline(list, node, ';');)
    nodes.push_back({std::stoi(node), std::stoi(node.substr(node.find(',') + 1))});
  return PinSet(nodes).on(width, height);
}

// Runs the scenario in the plain Vector formulation; `onFrame` sees every recorded frame.
void simulate(const Scenario& s, const std::function<void(int frame, const Cloth& start, const ReferenceCloth&)>& onFrame) {
  Cloth cloth;
  s.shape.layOut(cloth);
  for (const auto& [parameter, value] : s.settings) cloth.parameters.find(parameter)->value = value;
  cloth.fixedNodes = pinnedNodes(s.pins, cloth.width, cloth.height);
  ReferenceCloth reference(cloth);
  RandomGenerator gusts(s.seed);
  for (int step = 1, frame = 0; step <= s.steps; ++step) {
    reference.step(0.0005, gusts);
    if (step % s.skip == 0) onFrame(++frame, cloth, reference);
  }
}

std::string expectedAnimation(const Scenario& s, const std::string& name) {
  std::string text;
  char line[256];
  simulate(s, [&](int frame, const Cloth& cloth, const ReferenceCloth& reference) {
    const auto rest = [&cloth](int k) { return cloth.restPositions->at(k).toVector(); };
    const auto current = [&reference](int k) { return Vector(reference.position(k)); };
    std::snprintf(line, sizeof line, "currentTime %d;\n", frame);
    text += line;
    for (int i = 0; i <= s.patchesV + 2; ++i) {
      for (int j = 0; j <= s.patchesU + 2; ++j) {
        const double u = abscissa(j, s.patchesU), v = abscissa(i, s.patchesV);
        const int w = cloth.width, h = cloth.height;
        const Vector d = sampleGrid(current, w, h, u, v).subtract(sampleGrid(rest, w, h, u, v));
        for (int axis = 0; axis < 3; ++axis) {
          std::snprintf(line, sizeof line, "setAttr \"%s.controlPoints[%d].%cValue\" %1.3f;\n", name.c_str(),
                        j * (s.patchesV + 3) + i, "xyz"[axis], d[axis]);
          text += line;
        }
      }
    }
    std::snprintf(line, sizeof line, "setKeyframe -shape 1 {\"%s.cv[0:%d][0:%d]\"};\n", name.c_str(),
                  s.patchesU + 2, s.patchesV + 2);
    text += line;
  });
  return text;
}

std::string argumentsFor(const Scenario& s) {
  char spacing[32];
  std::snprintf(spacing, sizeof spacing, "%g", s.shape.nodeSpacing);
  std::string arguments = "--steps " + std::to_string(s.steps) + " --skip " + std::to_string(s.skip) +
                          " --patches " + std::to_string(s.patchesU) + "," + std::to_string(s.patchesV) +
                          " --width " + std::to_string(s.shape.clothWidth) + " --height " +
                          std::to_string(s.shape.clothHeight) + " --spacing " + spacing + " --seed " +
                          std::to_string(s.seed);
  for (const auto& [parameter, value] : s.settings) arguments += " --set " + parameter + "=" + std::to_string(value);
  return arguments + " --pins '" + s.pins + "'";
}

TEST(LoomwiseRecord, DefaultRunMatchesTheVectorFormulationFrameByFrame) {
  TempDir dir;
  const Scenario s{ClothShape(), 660, 66, 5, 5, 7, {}};
  const ProgramRun run = record("--steps 660 --seed 7 " + dir.file("flag.mel"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "") << "nothing on standard error when it is not a terminal";
  EXPECT_EQ(readFile(dir.file("create_flag.mel")),
            "nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 4.250 -lr 0.588 -d 3 -u 5 -v 5;\nrename \"flag\";\n");
  const std::string animation = readFile(dir.file("animate_flag.mel"));
  EXPECT_EQ(animation, expectedAnimation(s, "flag"));
  EXPECT_NE(animation.find("currentTime 10;"), std::string::npos);
}

TEST(LoomwiseRecord, OddClothWithSettingsMatchesTheVectorFormulation) {
  TempDir dir;
  const Scenario s{ClothShape{0.3f, 13, 7}, 500, 25, 3, 8, 99, {{"windPressure", 250.0}, {"kBend", 300.0}}};
  const ProgramRun run = record(argumentsFor(s) + " " + dir.file("odd"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(readFile(dir.file("animate_odd.mel")), expectedAnimation(s, "odd"));
  EXPECT_EQ(readFile(dir.file("create_odd.mel")),
            "nurbsPlane -p 0 0 0 -ax 0.000 0.000 -1.000 -w 3.900 -lr 0.538 -d 3 -u 3 -v 8;\nrename \"odd\";\n");
}

TEST(LoomwiseRecord, BadUsageExitsWithTwoAndOneLineWritingNothing) {
  TempDir dir;
  for (const std::string arguments :
       {"--skip 0 ", "--set Gravity=1 ", "--bogus ", "--width 2 ", "-x ", "--set density=0 "}) {
    const ProgramRun run = record(arguments + dir.file("flag"));
    EXPECT_EQ(run.exitCode, 2) << arguments;
    EXPECT_EQ(run.err.rfind("loomwise-record: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  EXPECT_EQ(record("").exitCode, 2);
  EXPECT_EQ(dir.entries(), 0);
}

// Today's trap: these once recorded into create_.mel, create__h.mel or the folder's parent.
TEST(LoomwiseRecord, PathsThatNameNoRecordingAreRefused) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("takes"));
  for (const std::string& path : std::vector<std::string>{"''", "'   '", dir.file("takes")}) {
    const ProgramRun run = record("--steps 10 " + path);
    EXPECT_EQ(run.exitCode, 2) << path;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  EXPECT_EQ(dir.entries(), 1) << "nothing written beside the folder";
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("takes")));
}

// The seed a run without --seed tells is the one that repeats it exactly.
TEST(LoomwiseRecord, SeedFromTheClockIsToldAndRepeatsTheRun) {
  TempDir dir;
  const ProgramRun first = record("--steps 200 --skip 20 " + dir.file("first"));
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::size_t at = first.err.rfind("--seed ");
  ASSERT_NE(at, std::string::npos) << first.err;
  EXPECT_EQ(std::count(first.err.begin(), first.err.end(), '\n'), 1) << first.err;
  const std::string seed = first.err.substr(at + 7, first.err.size() - at - 8);
  const ProgramRun again = record("--steps 200 --skip 20 --seed " + seed + " " + dir.file("first2"));
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.err, "") << "nothing to tell when the seed was given";
  const std::string script = readFile(dir.file("animate_first.mel"));
  EXPECT_EQ(readFile(dir.file("animate_first2.mel")),
            std::regex_replace(script, std::regex("\"first\\."), "\"first2."));
}

TEST(LoomwiseRecord, UnwritableDirectoryIsReportedWithPathAndReason) {
  TempDir dir;
  const ProgramRun run = record("--steps 10 --seed 1 " + dir.file("missing/flag"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unable to start recording.\n" + dir.file("missing/create_flag.mel") +
                         ": No such file or directory\n");
}

TEST(LoomwiseRecord, PathWithoutAFileNameIsRefused) {
  TempDir dir;
  const ProgramRun run = record("--steps 10 --seed 1 " + dir.path() + "/");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unable to start recording.\n" + dir.path() + "/: the file name gives no recording name\n");
  EXPECT_EQ(dir.entries(), 0);
}

TEST(LoomwiseRecord, FrameThatCannotBeWrittenStopsTheRunWithAnError) {
  TempDir dir;
  std::filesystem::create_symlink("/dev/full", dir.file("animate_flag.mel"));
  const ProgramRun run = record("--steps 300 --skip 10 --seed 1 " + dir.file("flag"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unable to write frame 1 of the recording; the recording keeps no frames.\n" +
                         dir.file("animate_flag.mel") +
                         ": No space left on device\n");
}

TEST(LoomwiseRecord, HelpAndVersion) {
  const ProgramRun help = record("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out.rfind("Usage: loomwise-record [options] PATH\n", 0), 0u);
  EXPECT_NE(help.out.find("--patches U,V"), std::string::npos);
  EXPECT_EQ(record("-h").out, help.out);
  const ProgramRun version = record("--version");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "loomwise-record (Loomwise) " LOOMWISE_VERSION "\n");
}

struct Blowup {
  const char* arguments;
  int step;    // the step the cloth is found diverged
  int frames;  // whole frames before it
};

// Each warned of before the first step, told with its step, and kept up to the last sound frame.
TEST(LoomwiseRecord, UnstableSettingsAreWarnedOfAndStopAtTheLastSoundFrame) {
  const Blowup blowups[] = {{"--spacing 0.097 --skip 10 --steps 20000", 44, 4},
                            {"--spacing 0.05 --steps 660", 8, 0},
                            {"--set density=0.05 --set kStretch=16000 --steps 660", 16, 0}};
  for (const Blowup& b : blowups) {
    TempDir dir;
    const ProgramRun run = record(std::string(b.arguments) + " --seed 1 " + dir.file("flag"));
    EXPECT_EQ(run.exitCode, 1) << b.arguments;
    const std::string kept =
        b.frames == 0 ? "keeps no frames" : "keeps frames 1 to " + std::to_string(b.frames);
    EXPECT_EQ(run.err.substr(run.err.find('\n') + 1),
              "The cloth became unstable at step " + std::to_string(b.step) + "; the recording " + kept +
                  ". Use a wider spacing, a higher density or lower stiffness, or --solver xpbd, which stays stable.\n")
        << b.arguments;
    EXPECT_EQ(run.err.rfind("loomwise-record: warning: the cloth is likely to become unstable", 0), 0u) << run.err;
    const std::string script = readFile(dir.file("animate_flag.mel"));
    EXPECT_EQ(countOf(script, "currentTime"), b.frames) << b.arguments;
    EXPECT_EQ(countOf(script, "nan") + countOf(script, "inf"), 0) << b.arguments;
    EXPECT_TRUE(endsOnAWholeFrame(script)) << b.arguments;
  }
}

// The warning names the solver that holds there, and with it the same runs record every frame.
TEST(LoomwiseRecord, XpbdSolverRecordsWhereTheExplicitOneBlowsUp) {
  for (const char* arguments : {"--spacing 0.05", "--set density=0.05 --set kStretch=16000"}) {
    TempDir dir;
    const std::string settings = std::string(arguments) + " --steps 660 --seed 1 ";
    const std::string warning = record(settings + dir.file("flag")).err;
    EXPECT_NE(warning.substr(0, warning.find('\n')).find(". The xpbd solver (--solver xpbd) is stable there."),
              std::string::npos)
        << warning;
    const ProgramRun run = record(settings + "--solver xpbd " + dir.file("flag"));
    EXPECT_EQ(run.exitCode, 0) << arguments;
    EXPECT_EQ(run.err, "") << arguments;
    EXPECT_EQ(countOf(readFile(dir.file("animate_flag.mel")), "currentTime"), 10) << arguments;
  }
}

// The frames kept are exactly those a stable run of the same steps writes.
TEST(LoomwiseRecord, FramesBeforeTheBlowupAreTheTrueOnes) {
  TempDir dir;
  const Scenario s{ClothShape{0.097f, 17, 10}, 40, 10, 5, 5, 1, {}};
  record("--spacing 0.097 --skip 10 --steps 20000 --seed 1 " + dir.file("flag"));
  EXPECT_EQ(readFile(dir.file("animate_flag.mel")), expectedAnimation(s, "flag"));
}

// A limit of 100 blocks (512 or 1024 bytes, as the shell counts them) holds some of the 50 frames.
TEST(LoomwiseRecord, FileSizeLimitKeepsTheWholeFramesAndSaysWhy) {
  TempDir dir;
  const ProgramRun run = record("--steps 3300 --seed 3 " + dir.file("flag"), "ulimit -f 100; ");
  const std::string script = readFile(dir.file("animate_flag.mel"));
  const int kept = countOf(script, "currentTime");
  ASSERT_GT(kept, 0);
  ASSERT_LT(kept, 50);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Unable to write frame " + std::to_string(kept + 1) +
                         " of the recording; the recording keeps frames 1 to " + std::to_string(kept) + ".\n" +
                         dir.file("animate_flag.mel") + ": File too large\n");
  const Scenario s{ClothShape(), kept * 66, 66, 5, 5, 3, {}};
  EXPECT_TRUE(script == expectedAnimation(s, "flag")) << "not the first " << kept << " frames of the run";
}

struct Interruption {
  const char* signal;
  int exitCode;
};

// The signal comes once frames are on disk; the run closes the scripts on a whole frame.
TEST(LoomwiseRecord, InterruptionClosesTheScriptsOnAWholeFrame) {
  for (const Interruption& i : {Interruption{"INT", 130}, Interruption{"TERM", 143}}) {
    TempDir dir;
    const std::string animate = dir.file("animate_flag.mel");
    const ProgramRun run = record("--steps 2000000000 --skip 10 --seed 1 " + dir.file("flag"), "",
                                  "n=0; while [ ! -s " + animate + " ] && [ $n -lt 400 ]; do sleep 0.05; n=$((n+1)); done; "
                                  "kill -" + i.signal + " $!; wait $!");
    EXPECT_EQ(run.exitCode, i.exitCode) << i.signal;
    const std::string script = readFile(animate);
    const int frames = countOf(script, "currentTime");
    EXPECT_GT(frames, 0);
    EXPECT_TRUE(endsOnAWholeFrame(script));
    EXPECT_EQ(run.err.rfind("Interrupted at step ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("; the recording keeps frames 1 to " + std::to_string(frames) + ".\n"), std::string::npos)
        << run.err;
  }
}

using cachereaders::Points;

// The nodes of every recorded frame and the cloth they started from, in double precision.
struct ExpectedMotion {
  std::vector<std::vector<Vector>> frames;
  std::vector<Vector> base;
  int width = 0, height = 0;
};

ExpectedMotion expectedMotion(const Scenario& s) {
  ExpectedMotion motion;
  simulate(s, [&](int, const Cloth& cloth, const ReferenceCloth& reference) {
    std::vector<Vector> nodes;
    for (int k = 0; k < cloth.nodeCount(); ++k) nodes.push_back(reference.position(k));
    motion.frames.push_back(nodes);
    if (!motion.base.empty()) return;
    for (int k = 0; k < cloth.nodeCount(); ++k) motion.base.push_back(cloth.restPositions->at(k).toVector());
    motion.width = cloth.width;
    motion.height = cloth.height;
  });
  return motion;
}

// 32-bit caches hold each coordinate rounded once to the nearest float.
void expectSinglePrecision(const std::vector<Points>& frames, const ExpectedMotion& motion, const std::string& what) {
  ASSERT_EQ(frames.size(), motion.frames.size()) << what;
  for (std::size_t f = 0; f < frames.size(); ++f) {
    ASSERT_EQ(frames[f].size(), motion.frames[f].size()) << what;
    for (std::size_t k = 0; k < frames[f].size(); ++k)
      for (int axis = 0; axis < 3; ++axis)
        ASSERT_EQ(frames[f][k][axis], static_cast<float>(motion.frames[f][k][axis]))
            << what << " frame " << f + 1 << " node " << k << " axis " << axis;
  }
}

// Nine significant digits: within half a unit of the ninth.
void expectObjMesh(const cachereaders::ObjMesh& mesh, const std::vector<Vector>& nodes, const ExpectedMotion& motion,
                   const std::string& name, const std::string& what) {
  ASSERT_EQ(mesh.problem, "") << what;
  EXPECT_EQ(mesh.object, name) << what;
  ASSERT_EQ(mesh.vertices.size(), nodes.size()) << what;
  for (std::size_t k = 0; k < nodes.size(); ++k)
    for (int axis = 0; axis < 3; ++axis)
      ASSERT_NEAR(mesh.vertices[k][axis], nodes[k][axis], 5e-9 * std::max(1.0, std::abs(nodes[k][axis])))
          << what << " node " << k;
  const int w = motion.width, h = motion.height;
  ASSERT_EQ(mesh.texture.size(), nodes.size()) << what;
  EXPECT_EQ(mesh.texture[w - 1][0], 1.0) << what;
  EXPECT_EQ(mesh.texture[w - 1][1], 0.0) << what;
  EXPECT_EQ(mesh.texture[w * (h - 1)][1], 1.0) << what << ": v runs down the rows";
  EXPECT_NEAR(mesh.texture[w + 2][0], 2.0 / (w - 1), 1e-9) << what;
  ASSERT_EQ(mesh.faces.size(), static_cast<std::size_t>((w - 1) * (h - 1))) << what;
  const std::size_t last = mesh.faces.size() - 1;  // the cell at the bottom right
  const int a = (h - 2) * w + (w - 2) + 1;
  EXPECT_EQ(mesh.faces[last], (std::vector<std::array<int, 2>>{{a, a}, {a + w, a + w}, {a + w + 1, a + w + 1}, {a + 1, a + 1}}))
      << what;
}

void PrintTo(const Scenario& s, std::ostream* out) { *out << s.shape.clothWidth << "x" << s.shape.clothHeight; }

class LoomwiseRecordCaches : public ::testing::TestWithParam<Scenario> {};

TEST_P(LoomwiseRecordCaches, EveryFormatHoldsTheSimulatedNodesFrameByFrame) {
  const Scenario& s = GetParam();
  TempDir dir;
  const ProgramRun run =
      record("--format mel,pc2,mdd,obj,glb " + argumentsFor(s) + " " + dir.file("cloth.take1"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const ExpectedMotion motion = expectedMotion(s);
  const int frames = static_cast<int>(motion.frames.size());
  ASSERT_GT(frames, 1);
  const auto secondsOf = [&s](int frame) { return static_cast<float>(frame * s.skip * 0.0005); };
  EXPECT_EQ(readFile(dir.file("animate_cloth.mel")), expectedAnimation(s, "cloth")) << "MEL stays as it is";

  const cachereaders::PointCache pc2 = cachereaders::readPc2(dir.file("cloth.pc2"));
  ASSERT_EQ(pc2.problem, "");
  EXPECT_EQ(pc2.points, s.shape.clothWidth * s.shape.clothHeight);
  EXPECT_EQ(pc2.startFrame, 1.0f);
  EXPECT_EQ(pc2.sampleRate, 1.0f);
  expectSinglePrecision(pc2.frames, motion, "PC2");

  const cachereaders::PointCache mdd = cachereaders::readMdd(dir.file("cloth.mdd"));
  ASSERT_EQ(mdd.problem, "");
  EXPECT_EQ(mdd.points, pc2.points);
  expectSinglePrecision(mdd.frames, motion, "MDD");
  for (int k = 0; k < frames; ++k) EXPECT_FLOAT_EQ(mdd.times[k], secondsOf(k + 1)) << "frame " << k + 1;

  expectObjMesh(cachereaders::readObj(dir.file("cloth.obj")), motion.base, motion, "cloth", "base mesh");
  for (int k = 0; k < frames; ++k) {
    char file[32];
    std::snprintf(file, sizeof file, "cloth.%04d.obj", k + 1);
    expectObjMesh(cachereaders::readObj(dir.file(file)), motion.frames[k], motion, "cloth", file);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file(std::string("cloth.") + std::to_string(10000 + frames + 1).substr(1) + ".obj")));

  const cachereaders::GltfAnimation glb = cachereaders::readGlb(dir.file("cloth.glb"));
  ASSERT_EQ(glb.problem, "");
  EXPECT_EQ(glb.nodeName, "cloth");
  EXPECT_EQ(glb.meshName, "cloth");
  EXPECT_EQ(glb.interpolation, "LINEAR");
  EXPECT_EQ(glb.indices.size(), 6u * (motion.width - 1) * (motion.height - 1));
  ASSERT_EQ(glb.base.size(), motion.base.size());
  for (std::size_t k = 0; k < glb.base.size(); ++k)
    for (int axis = 0; axis < 3; ++axis) ASSERT_EQ(glb.base[k][axis], static_cast<float>(motion.base[k][axis]));
  ASSERT_EQ(glb.targets.size(), static_cast<std::size_t>(frames));
  ASSERT_EQ(glb.times.size(), static_cast<std::size_t>(frames));
  for (int f = 0; f < frames; ++f) {
    EXPECT_FLOAT_EQ(glb.times[f], secondsOf(f + 1));
    std::vector<float> only(frames, 0.0f);
    only[f] = 1.0f;
    EXPECT_EQ(glb.weights[f], only) << "at frame " << f + 1 << "'s time only its target counts";
    for (std::size_t k = 0; k < glb.base.size(); ++k)
      for (int axis = 0; axis < 3; ++axis)
        ASSERT_NEAR(glb.base[k][axis] + glb.targets[f][k][axis], motion.frames[f][k][axis], 1e-6)
            << "frame " << f + 1 << " node " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(LoomwiseRecord, LoomwiseRecordCaches,
                         ::testing::Values(Scenario{ClothShape(), 660, 66, 5, 5, 7, {}},
                                           Scenario{ClothShape{0.3f, 13, 7}, 500, 25, 3, 8, 99,
                                                    {{"windPressure", 250.0}, {"kBend", 300.0}}}),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return "Cloth" + std::to_string(info.param.shape.clothWidth) + "x" +
                                  std::to_string(info.param.shape.clothHeight);
                         });

// Every pin set changes only which nodes stay put: the recorded points are the plain formulation's
// with those nodes fixed, frame by frame.
class LoomwiseRecordPins : public ::testing::TestWithParam<const char*> {};

TEST_P(LoomwiseRecordPins, PointsAreThePlainStepsWithThoseNodesFixed) {
  const Scenario s{ClothShape{0.25f, 11, 6}, 600, 50, 5, 5, 3, {}, GetParam()};
  TempDir dir;
  const ProgramRun run = record("--format mel,pc2 " + argumentsFor(s) + " " + dir.file("pinned"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const cachereaders::PointCache pc2 = cachereaders::readPc2(dir.file("pinned.pc2"));
  ASSERT_EQ(pc2.problem, "");
  expectSinglePrecision(pc2.frames, expectedMotion(s), GetParam());
}

INSTANTIATE_TEST_SUITE_P(LoomwiseRecord, LoomwiseRecordPins,
                         ::testing::Values("top-edge", "top-corners", "left-edge", "none", "0,5;3,10;5,0"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return "Case" + std::to_string(info.index); });

// A scripted grab: from its step on, the node sits exactly at the point in every frame.
TEST(LoomwiseRecord, HoldKeepsTheNodeExactlyAtThePointFromItsStep) {
  TempDir dir;
  const ProgramRun run = record("--format pc2 --seed 2 --steps 1000 --skip 50 --hold 300:4,6:0.5,-2,1.25 --hold "
                                "600:0,16:3,1,0 " + dir.file("held"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const cachereaders::PointCache pc2 = cachereaders::readPc2(dir.file("held.pc2"));
  ASSERT_EQ(pc2.problem, "");
  ASSERT_EQ(pc2.frames.size(), 20u);
  for (std::size_t f = 0; f < pc2.frames.size(); ++f) {
    const int step = static_cast<int>(f + 1) * 50;
    const auto& held = pc2.frames[f][4 * 17 + 6];
    EXPECT_EQ(held[0] == 0.5f && held[1] == -2.0f && held[2] == 1.25f, step >= 300) << "step " << step;
    const auto& corner = pc2.frames[f][16];
    EXPECT_EQ(corner[0] == 3.0f && corner[1] == 1.0f && corner[2] == 0.0f, step >= 600) << "step " << step;
  }
}

// A recorded scene with colliders and what every frame of it must keep to, read back from PC2.
struct CollisionScene {
  const char* name;
  const char* arguments;
  std::function<void(const std::vector<cachereaders::Points>& frames)> check;
};

void PrintTo(const CollisionScene& scene, std::ostream* out) { *out << scene.name; }

class LoomwiseRecordColliders : public ::testing::TestWithParam<CollisionScene> {};

TEST_P(LoomwiseRecordColliders, EveryFrameKeepsTheCollidersOut) {
  TempDir dir;
  std::ofstream(dir.file("cube.obj")) << kCube;
  std::string arguments = GetParam().arguments;
  if (const std::size_t at = arguments.find("DIR"); at != std::string::npos) arguments.replace(at, 3, dir.path());
  const ProgramRun run = record("--format pc2 --seed 1 --skip 50 " + arguments + " " + dir.file("scene"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const cachereaders::PointCache pc2 = cachereaders::readPc2(dir.file("scene.pc2"));
  ASSERT_EQ(pc2.problem, "");
  ASSERT_GT(pc2.frames.size(), 10u);
  GetParam().check(pc2.frames);
}

double length3(const std::array<float, 3>& p) { return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]); }
bool insideCube(const std::array<float, 3>& p, float half) {
  return std::fabs(p[0]) < half && std::fabs(p[1]) < half && std::fabs(p[2]) < half;
}

INSTANTIATE_TEST_SUITE_P(
    LoomwiseRecord, LoomwiseRecordColliders,
    ::testing::Values(
        CollisionScene{"Sphere", "--pins none --lay flat --collider sphere:0,0,0,1 --steps 5000",
                       [](const auto& frames) {
                         for (const auto& frame : frames)
                           for (const auto& p : frame) ASSERT_GE(length3(p), 1.0 + 0.01 - 1e-5);
                         EXPECT_LT(frames.back()[0][1], 0.0) << "a corner hangs below the equator";
                       }},
        CollisionScene{"Ground", "--pins none --collider plane:0,-2,0,0,1,0 --set windMinimum=0 --set windPressure=0 "
                                 "--steps 10000",
                       [](const auto& frames) {
                         for (const auto& frame : frames)
                           for (const auto& p : frame) ASSERT_GE(p[1], -2.0f - 0.01f);
                         const auto& a = frames[frames.size() - 2];
                         const auto& b = frames.back();
                         for (std::size_t k = 0; k < a.size(); ++k)
                           for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(a[k][axis], b[k][axis], 0.00025) << k;
                       }},
        CollisionScene{"Box", "--collider box:-0.8,-1.5,0.3,0.8,0.5,1 --set windMinimum=300 --steps 6000",
                       [](const auto& frames) {
                         for (const auto& frame : frames)
                           for (const auto& p : frame)
                             ASSERT_FALSE(std::fabs(p[0]) < 0.8f && p[1] > -1.5f && p[1] < 0.5f && p[2] > 0.3f && p[2] < 1.0f);
                       }},
        CollisionScene{"Mesh", "--pins none --lay flat --collider mesh:DIR/cube.obj --steps 5000",
                       [](const auto& frames) {
                         for (const auto& frame : frames)
                           for (const auto& p : frame) ASSERT_FALSE(insideCube(p, 1.0f));
                       }}),
    [](const ::testing::TestParamInfo<CollisionScene>& info) { return std::string(info.param.name); });

// --self-collision is taken and changes the run; what it keeps to is checked on the core's runs.
TEST(LoomwiseRecord, SelfCollisionChangesTheRun) {
  TempDir dir;
  const std::string flag = "--format pc2 --seed 1 --steps 400 --skip 40 --width 30 --height 30 ";
  ASSERT_EQ(record(flag + dir.file("plain")).exitCode, 0);
  const ProgramRun run = record(flag + "--self-collision " + dir.file("kept"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const cachereaders::PointCache plain = cachereaders::readPc2(dir.file("plain.pc2"));
  const cachereaders::PointCache kept = cachereaders::readPc2(dir.file("kept.pc2"));
  ASSERT_EQ(kept.frames.size(), plain.frames.size());
  EXPECT_NE(kept.frames.back(), plain.frames.back());
}

// A name with line breaks cannot add lines to a mesh: every format writes it made safe.
TEST(LoomwiseRecord, NamesAreWrittenSafelyInEveryFormat) {
  TempDir dir;
  const std::string name = "a\nv 9 9 9\nf 1 2 3";
  const ProgramRun run = record("--steps 66 --format obj,glb '" + dir.file(name) + "'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string base = readFile(dir.file(name + ".obj"));
  EXPECT_EQ(countOf(base, "\nv "), 170);
  EXPECT_NE(base.find("\no a_v_9_9_9_f_1_2_3\n"), std::string::npos);
  EXPECT_EQ(cachereaders::readGlb(dir.file(name + ".glb")).nodeName, "a_v_9_9_9_f_1_2_3");
}

// Recording again under a name replaces the sequence: no frame of the longer old one is left.
TEST(LoomwiseRecord, ASequenceRecordedAgainLeavesNoStaleFrames) {
  TempDir dir;
  std::ofstream(dir.file("take.12.obj")) << "not a frame of the sequence\n";
  ASSERT_EQ(record("--format obj --steps 660 --seed 1 " + dir.file("take")).exitCode, 0);
  ASSERT_EQ(dir.entries(), 12);
  ASSERT_EQ(record("--format obj --steps 132 --seed 1 " + dir.file("take")).exitCode, 0);
  EXPECT_EQ(dir.entries(), 4) << "take.obj, take.0001.obj, take.0002.obj and the file that is no frame";
  EXPECT_FALSE(std::filesystem::exists(dir.file("take.0003.obj")));
}

// Runs `command`, giving its exit status and what it printed.
ProgramRun shell(const std::string& command) {
  TempDir capture;
  const int status = std::system((command + " >" + capture.file("out") + " 2>&1").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(capture.file("out")), ""};
}

bool onPath(const std::string& program) { return shell("command -v " + program).exitCode == 0; }

// No frame, one frame (a single keyframe) and many, and a scene with every kind of collider: each
// is a file the Khronos validator passes without an error or a warning.
TEST(LoomwiseRecord, GlbPassesTheKhronosValidator) {
  if (!onPath("npm") || !onPath("node")) GTEST_SKIP() << "npm is missing, so the Khronos glTF validator cannot run";
  const std::string validator = std::string(LOOMWISE_GLTF_VALIDATOR) + "/validate.js";
  const std::string unreachable = std::string(LOOMWISE_GLTF_VALIDATOR) + "/unreachable.log";
  if (std::filesystem::exists(unreachable))
    GTEST_SKIP() << "npm could not install the Khronos glTF validator:\n" << readFile(unreachable);
  ASSERT_TRUE(std::filesystem::exists(std::string(LOOMWISE_GLTF_VALIDATOR) + "/node_modules/gltf-validator"))
      << "the glTF validator is not installed: run make deps";
  TempDir dir;
  std::ofstream(dir.file("cube.obj")) << kCube;
  const std::string scene = "--collider plane:0,-2,0,0,1,0 --collider sphere:0,-1,1,0.5 --collider box:1,-2,0,2,-1,1 "
                            "--collider mesh:" + dir.file("cube.obj");
  int take = 0;
  for (const std::string& run : {std::string("--steps 4"), std::string("--steps 5"), std::string("--steps 60"), scene + " --steps 60"}) {
    const std::string path = dir.file("take" + std::to_string(++take));
    ASSERT_EQ(record("--format glb --skip 5 --seed 3 " + run + " " + path).exitCode, 0);
    const ProgramRun check = shell("node " + validator + " " + path + ".glb");
    EXPECT_EQ(check.exitCode, 0) << check.out;
    EXPECT_NE(check.out.find("0 errors, 0 warnings"), std::string::npos) << check.out;
  }
}

// A real importer reads the meshes: 17 × 10 nodes, 16 × 9 cells of two triangles, and a collider.
TEST(LoomwiseRecord, AssimpImportsTheMeshes) {
  if (!onPath("assimp")) GTEST_SKIP() << "assimp (Debian package assimp-utils) is missing";
  TempDir dir;
  ASSERT_EQ(record("--format obj,glb --steps 132 " + dir.file("flag")).exitCode, 0);
  for (const char* file : {"flag.obj", "flag.0002.obj", "flag.glb"}) {
    const ProgramRun info = shell("assimp info " + dir.file(file));
    EXPECT_EQ(info.exitCode, 0) << file << "\n" << info.out;
    EXPECT_NE(info.out.find("Vertices:           170\n"), std::string::npos) << file << "\n" << info.out;
    EXPECT_NE(info.out.find("Faces:              288\n"), std::string::npos) << file << "\n" << info.out;
  }
  // The glTF scene carries a collider as a mesh of its own; the other caches stay the cloth alone.
  ASSERT_EQ(record("--format obj,glb --steps 132 --collider box:-1,-3,-1,1,-2,1 " + dir.file("scene")).exitCode, 0);
  EXPECT_NE(shell("assimp info " + dir.file("scene.glb")).out.find("Meshes:             2\n"), std::string::npos);
  EXPECT_NE(shell("assimp info " + dir.file("scene.obj")).out.find("Meshes:             1\n"), std::string::npos);
}

// A 300 kB file system that fills up during the recording; empty when one cannot be mounted here.
class SmallDisk {
public:
  SmallDisk() : mounted_(shell("mount -t tmpfs -o size=300k tmpfs " + dir_.path()).exitCode == 0) {}
  ~SmallDisk() {
    if (mounted_) shell("umount " + dir_.path());
  }
  bool mounted() const { return mounted_; }
  std::string file(const std::string& name) const { return dir_.file(name); }

private:
  TempDir dir_;
  const bool mounted_;
};

// Each cache that needs its frame count first is still written, whole, with exactly the frames
// the message names, when the disk fills during the recording.
TEST(LoomwiseRecord, AFullDiskKeepsTheFramesItNames) {
  for (const std::string format : {"mdd", "glb", "pc2"}) {
    SmallDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << "a small tmpfs cannot be mounted here (it needs root)";
    const ProgramRun run = record("--format " + format + " --seed 5 --steps 20000 " + disk.file("flag"));
    ASSERT_EQ(run.exitCode, 1) << format;
    std::smatch kept;
    ASSERT_TRUE(std::regex_search(run.err, kept, std::regex("the recording keeps frames 1 to ([0-9]+)\\."))) << run.err;
    const std::size_t frames = std::stoul(kept[1]);
    const std::string file = disk.file("flag." + format);
    const std::size_t held = format == "glb"   ? cachereaders::readGlb(file).targets.size()
                             : format == "mdd" ? cachereaders::readMdd(file).frames.size()
                                               : cachereaders::readPc2(file).frames.size();
    EXPECT_EQ(held, frames) << format;
  }
}

TEST(LoomwiseRecord, CachesWithoutMelTakeNoPatches) {
  TempDir dir;
  const ProgramRun run = record("--format pc2 --patches 4,4 " + dir.file("flag"));
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "loomwise-record: --patches shapes the MEL surface only; add mel to --format or leave --patches out\n");
  EXPECT_EQ(dir.entries(), 0);
}

}  // namespace

// A command line and the scene file it saves record the same files, byte for byte; the scene finds
// its mesh from its own folder, wherever the recorder runs.
TEST(LoomwiseRecord, TheSavedSceneRecordsWhatItsCommandLineRecords) {
  TempDir dir;
  for (const char* folder : {"meshes", "scenes", "direct", "baked"}) std::filesystem::create_directory(dir.file(folder));
  std::ofstream(dir.file("meshes/cube.obj")) << kCube;
  const std::string options = "--pins '0,0;0,11' --lay flat --width 12 --height 10 --spacing 0.2 "
                              "--collider mesh:meshes/cube.obj --collider plane:0,-2,0,0,1,0 --set kBend=300 "
                              "--self-collision --solver xpbd --thickness 0.03 --friction 0.8 --steps 300 --skip 30 "
                              "--patches 4,6 --format pc2,mel,glb --seed 5 ";
  const std::string inDir = "cd " + dir.path() + " && ";
  ASSERT_EQ(record(options + "direct/take", inDir).exitCode, 0);
  const ProgramRun saved = record("--save-scene scenes/s.json " + options, inDir);
  ASSERT_EQ(saved.exitCode, 0) << saved.err;
  EXPECT_EQ(saved.err, "");
  const ProgramRun baked = record("--scene s.json ../baked/take", "cd " + dir.file("scenes") + " && ");
  ASSERT_EQ(baked.exitCode, 0) << baked.err;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("direct"))) {
    ++files;
    EXPECT_EQ(readFile(entry.path()), readFile(dir.file("baked/" + entry.path().filename().string()))) << entry.path();
  }
  EXPECT_EQ(files, 5);  // create and animate scripts, the base mesh, the point cache, the glTF
}
