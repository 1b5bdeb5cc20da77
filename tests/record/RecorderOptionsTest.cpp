#include "record/RecorderOptions.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "record/SceneFile.h"

namespace {

struct Parsed {
  RecorderOptions options;
  std::string error;
};

Parsed parse(std::vector<std::string> arguments) {
  Parsed parsed;
  parsed.error = parsed.options.parse(arguments);
  return parsed;
}

TEST(RecorderOptions, DefaultsAreTheDocumentsAfterOk) {
  const Parsed p = parse({"out/flag"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.path, "out/flag");
  EXPECT_EQ(p.options.steps, 3300);
  EXPECT_EQ(p.options.skip, 66);
  EXPECT_EQ(p.options.patchesU, 5);
  EXPECT_EQ(p.options.patchesV, 5);
  EXPECT_EQ(p.options.shape.clothWidth, 17);
  EXPECT_EQ(p.options.shape.clothHeight, 10);
  EXPECT_EQ(p.options.shape.nodeSpacing, 0.25f);
  EXPECT_FALSE(p.options.seed.has_value());
  EXPECT_TRUE(p.options.settings.empty());
  EXPECT_EQ(p.options.formats, RecordingFormats{RecordingFormat::mel}) << "today's command lines give today's files";
}

TEST(RecorderOptions, FormatListKeepsTheOrderAndCountsRepeatsOnce) {
  const Parsed p = parse({"--format", "glb,pc2,glb,mel", "--patches", "2,2", "f"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.formats,
            (RecordingFormats{RecordingFormat::glb, RecordingFormat::pc2, RecordingFormat::mel}));
  EXPECT_EQ(parse({"--format=obj,mdd", "f"}).options.formats, (RecordingFormats{RecordingFormat::obj, RecordingFormat::mdd}));
}

TEST(RecorderOptions, EveryOptionInBothSpellings) {
  const Parsed p = parse({"--steps", "100", "--skip=7", "--patches", "8,6", "--width=3", "--height", "100",
                          "--spacing", "0.01", "--seed=4294967295", "--set", "kBend=12.5", "--set=gravity=0",
                          "flag"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.steps, 100);
  EXPECT_EQ(p.options.skip, 7);
  EXPECT_EQ(p.options.patchesU, 8);
  EXPECT_EQ(p.options.patchesV, 6);
  EXPECT_EQ(p.options.shape.clothWidth, 3);
  EXPECT_EQ(p.options.shape.clothHeight, 100);
  EXPECT_EQ(p.options.shape.nodeSpacing, 0.01f);
  EXPECT_EQ(p.options.seed, 4294967295u);
  ASSERT_EQ(p.options.settings.size(), 2u);
  EXPECT_EQ(p.options.settings[0], (std::pair<std::string, double>("kBend", 12.5)));
  EXPECT_EQ(p.options.settings[1], (std::pair<std::string, double>("gravity", 0.0)));
}

TEST(RecorderOptions, HelpAndVersionNeedNoPath) {
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_TRUE(parse({"-h"}).options.help);
  EXPECT_EQ(parse({"--help"}).error, "");
  EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(RecorderOptions, DoubleDashEndsTheOptions) {
  const Parsed p = parse({"--", "--odd-name"});
  ASSERT_EQ(p.error, "");
  EXPECT_EQ(p.options.path, "--odd-name");
}

// The command line overrides the scene file wherever it stands; a --collider replaces its colliders.
TEST(RecorderOptions, OptionsOverrideTheSceneInAnyOrder) {
  TempDir dir;
  SceneDescription scene;
  scene.shape.clothWidth = 30;
  scene.setParameter("kBend", 400.0);
  scene.setParameter("gravity", -3.0);
  scene.colliders.resize(2, Sphere{{0, 0, 0}, 2});
  scene.seed = 77;
  scene.selfCollision = true;
  scene.recording.formats = {RecordingFormat::pc2};
  ASSERT_EQ(scenefile::save(scene, dir.file("s.json")), "");
  const Parsed p = parse({"--width", "5", "--no-self-collision", "--scene", dir.file("s.json"), "--set", "kBend=7",
                          "--collider", "box:0,0,0,1,1,1", "f"});
  ASSERT_EQ(p.error, "");
  const SceneDescription read = p.options.scene();
  EXPECT_EQ(read.shape.clothWidth, 5);
  SceneDescription expected = scene;
  expected.setParameter("kBend", 7.0);
  EXPECT_EQ(read.parameters, expected.parameters);
  ASSERT_EQ(read.colliders.size(), 1u);
  EXPECT_EQ(formatCollider(read.colliders[0]), "box:0,0,0,1,1,1");
  EXPECT_EQ(read.seed, 77u);
  EXPECT_FALSE(read.selfCollision);
  EXPECT_EQ(read.recording.formats, scene.recording.formats);
}

struct BadUsage {
  std::vector<std::string> arguments;
  std::string message;
};

// Names each case by its arguments in test listings.
void PrintTo(const BadUsage& usage, std::ostream* out) {
  for (const std::string& argument : usage.arguments) *out << argument << ' ';
}

class RecorderOptionsRefusal : public ::testing::TestWithParam<BadUsage> {};

TEST_P(RecorderOptionsRefusal, NamesTheOptionAndWhatItAccepts) {
  EXPECT_EQ(parse(GetParam().arguments).error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    RecorderOptions, RecorderOptionsRefusal,
    ::testing::Values(
        BadUsage{{"--speed", "3", "f"}, "unknown option '--speed'; try --help"},
        BadUsage{{"f", "--steps"}, "--steps needs a value; try --help"},
        BadUsage{{"--steps", "ten", "f"}, "--steps takes a whole number from 0 to 2147483647, not 'ten'"},
        BadUsage{{"--steps", "-1", "f"}, "--steps takes a whole number from 0 to 2147483647, not '-1'"},
        BadUsage{{"--steps", "12x", "f"}, "--steps takes a whole number from 0 to 2147483647, not '12x'"},
        BadUsage{{"--skip", "0", "f"}, "--skip takes a whole number from 1 to 100, not '0'"},
        BadUsage{{"--skip", "101", "f"}, "--skip takes a whole number from 1 to 100, not '101'"},
        BadUsage{{"--patches", "31,5", "f"}, "--patches takes two whole numbers U,V, each from 1 to 30, not '31,5'"},
        BadUsage{{"--patches", "5", "f"}, "--patches takes two whole numbers U,V, each from 1 to 30, not '5'"},
        BadUsage{{"--patches", "5,0", "f"}, "--patches takes two whole numbers U,V, each from 1 to 30, not '5,0'"},
        BadUsage{{"--width", "2", "f"}, "--width takes a whole number from 3 to 100, not '2'"},
        BadUsage{{"--height", "101", "f"}, "--height takes a whole number from 3 to 100, not '101'"},
        BadUsage{{"--spacing", "0.0099", "f"}, "--spacing takes a number from 0.01 to 1.0, not '0.0099'"},
        BadUsage{{"--spacing", "1.01", "f"}, "--spacing takes a number from 0.01 to 1.0, not '1.01'"},
        BadUsage{{"--spacing", "0,25", "f"}, "--spacing takes a number from 0.01 to 1.0, not '0,25'"},
        BadUsage{{"--seed", "4294967296", "f"}, "--seed takes a whole number from 0 to 4294967295, not '4294967296'"},
        BadUsage{{"--set", "kBend", "f"}, "--set takes NAME=VALUE, not 'kBend'"},
        BadUsage{{"--set", "Gravity=1", "f"},
                 "--set: unknown parameter 'Gravity'; the parameters are cDamping, density, gravity, kBend, "
                 "kShear, kStretch, windDirection, windFrequency, windMinimum, windPressure"},
        BadUsage{{"--set", "kBend=inf", "f"}, "--set kBend takes a finite number, not 'inf'"},
        BadUsage{{"--set", "kBend=nan", "f"}, "--set kBend takes a finite number, not 'nan'"},
        BadUsage{{"--set", "kBend=", "f"}, "--set kBend takes a finite number, not ''"},
        BadUsage{{"--set", "density=0", "f"}, "--set density takes a number from 0.05 to 5, not '0'"},
        BadUsage{{"--set", "cDamping=-1", "f"}, "--set cDamping takes a number from 0 to 5, not '-1'"},
        BadUsage{{"--set", "gravity=1e308", "f"}, "--set gravity takes a number from -20 to 20, not '1e308'"},
        BadUsage{{"--set", "kStretch=16000.5", "f"}, "--set kStretch takes a number from 0 to 16000, not '16000.5'"},
        BadUsage{{"-x", "f"}, "unknown option '-x'; try --help"},
        BadUsage{{"-", "f"}, "unknown option '-'; try --help"},
        BadUsage{{"--steps", "1\n2", "f"}, "--steps takes a whole number from 0 to 2147483647, not '1\\n2'"},
        BadUsage{{"--bell\a"}, "unknown option '--bell\\x07'; try --help"},
        BadUsage{{"a\tb", "c\\d"}, "only one PATH may be given, not 'a\\tb' and 'c\\\\d'"},
        BadUsage{{""}, "PATH '' names no file; give DIRECTORY/NAME, e.g. out/flag"},
        BadUsage{{"   "}, "PATH '   ' names no file; give DIRECTORY/NAME, e.g. out/flag"},
        BadUsage{{"."}, "PATH '.' is a directory; give DIRECTORY/NAME, e.g. './flag'"},
        BadUsage{{"--format", "mel,fbx", "f"},
                 "--format takes a comma-separated list of mel, pc2, mdd, obj, glb, not 'fbx'"},
        BadUsage{{"--format", "pc2,", "f"}, "--format takes a comma-separated list of mel, pc2, mdd, obj, glb, not ''"},
        BadUsage{{"--format", "MEL", "f"}, "--format takes a comma-separated list of mel, pc2, mdd, obj, glb, not 'MEL'"},
        BadUsage{{"--solver", "implicit", "f"}, "--solver takes explicit or xpbd, not 'implicit'"},
        // Either order: the refusal waits for the whole command line.
        BadUsage{{"--patches", "3,3", "--format", "glb", "f"},
                 "--patches shapes the MEL surface only; add mel to --format or leave --patches out"},
        BadUsage{{"--format", "obj", "--patches=3,3", "f"},
                 "--patches shapes the MEL surface only; add mel to --format or leave --patches out"},
        BadUsage{{"--pins", "", "f"},
                 "--pins takes default, top-edge, top-corners, left-edge, none or a list R,C[;R,C...], not an empty list"},
        BadUsage{{"--pins", "top", "f"},
                 "--pins takes default, top-edge, top-corners, left-edge, none or a list R,C[;R,C...], not 'top'"},
        BadUsage{{"--pins", "1,2;;3,4", "f"},
                 "--pins takes default, top-edge, top-corners, left-edge, none or a list R,C[;R,C...], not ''"},
        BadUsage{{"--pins", "1,2;0,3;1,2", "f"}, "--pins names node 1,2 twice"},
        BadUsage{{"--pins", "0,17", "f"}, "--pins: node 0,17 lies outside the grid of 10 rows and 17 columns"},
        BadUsage{{"--pins", "9,0", "--height", "9", "f"}, "--pins: node 9,0 lies outside the grid of 9 rows and 17 columns"},
        BadUsage{{"--hold", "10:1,1", "f"},
                 "--hold takes STEP:R,C:X,Y,Z (a step from 0, a row and column, three finite numbers), not '10:1,1'"},
        BadUsage{{"--hold", "-1:1,1:0,0,0", "f"},
                 "--hold takes STEP:R,C:X,Y,Z (a step from 0, a row and column, three finite numbers), not '-1:1,1:0,0,0'"},
        BadUsage{{"--hold", "5:1,1:0,nan,0", "f"},
                 "--hold takes STEP:R,C:X,Y,Z (a step from 0, a row and column, three finite numbers), not '5:1,1:0,nan,0'"},
        BadUsage{{"--hold", "5:10,1:0,0,0", "f"}, "--hold: node 10,1 lies outside the grid of 10 rows and 17 columns"},
        BadUsage{{"--lay", "upright", "f"}, "--lay takes hanging or flat, not 'upright'"},
        BadUsage{{"--collider", "cone:1,2", "f"}, "--collider 'cone:1,2': a collider is plane:..., sphere:..., box:... or mesh:PATH"},
        BadUsage{{"--collider", "sphere:0,0,0,0", "f"}, "--collider 'sphere:0,0,0,0': a sphere's radius must be above 0"},
        BadUsage{{"--collider", "sphere:0,0,0", "f"}, "--collider 'sphere:0,0,0': a sphere takes four numbers CX,CY,CZ,R"},
        BadUsage{{"--collider", "plane:0,0,0,0,0,0", "f"}, "--collider 'plane:0,0,0,0,0,0': a plane's normal must not be zero"},
        BadUsage{{"--collider", "plane:0,0,0,0,1,0,5", "f"},
                 "--collider 'plane:0,0,0,0,1,0,5': a plane takes six numbers PX,PY,PZ,NX,NY,NZ"},
        BadUsage{{"--collider", "box:1,0,0,0,1,1", "f"},
                 "--collider 'box:1,0,0,0,1,1': a box's first corner must not lie above its second"},
        BadUsage{{"--collider", "box:0,0,0,1,1,nan", "f"}, "--collider 'box:0,0,0,1,1,nan': a box takes six numbers X0,Y0,Z0,X1,Y1,Z1"},
        BadUsage{{"--collider", "mesh:", "f"}, "--collider 'mesh:': mesh: needs the path of a mesh file"},
        BadUsage{{"--collider", "mesh:/nonexistent.obj", "f"}, "--collider 'mesh:/nonexistent.obj': /nonexistent.obj: no such file"},
        BadUsage{{"--thickness", "0", "f"}, "--thickness takes a number above 0, at most 1, not '0'"},
        BadUsage{{"--friction", "2.5", "f"}, "--friction takes a number from 0 to 2, not '2.5'"},
        BadUsage{{"--scene", "/nonexistent.json", "f"}, "--scene /nonexistent.json: no such file"},
        BadUsage{{"--save-scene", " "}, "--save-scene needs the path of the scene file to write"},
        BadUsage{{"--save-scene", "s.json", "f"}, "--save-scene writes the scene and records nothing; leave out PATH 'f'"},
        BadUsage{{"--hold", "0:0,0:0,0,0", "--save-scene", "s.json"},
                 "--hold is not kept in a scene file; give it when recording the scene"},
        BadUsage{{}, "missing PATH (where the recording goes); try --help"},
        BadUsage{{"a", "b"}, "only one PATH may be given, not 'a' and 'b'"}));

}  // namespace
