#include "record/SceneFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempDir.h"

namespace {

// A closed tetrahedron, as a mesh collider's file.
constexpr const char* kTetrahedron = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n";

void writeFile(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

// Every field away from its default, so that a field the reader drops shows.
SceneDescription everyFieldSet(const TempDir& dir) {
  std::filesystem::create_directories(dir.file("meshes"));
  writeFile(dir.file("meshes/tetra.obj"), kTetrahedron);
  SceneDescription scene;
  scene.shape = {0.3f, 13, 7, ClothShape::Lay::Flat};
  scene.pins = PinSet({{0, 3}, {6, 12}});
  for (auto& [name, value] : scene.parameters) value = value / 3.0 + 0.125;
  scene.solver = Solver::Xpbd;
  // A plane's normal of (1, 1, 0) is one whose unit form moves its last digit when normalised again.
  for (const char* text : {"plane:0,-1,0,1,1,0", "sphere:0.1,0.2,0.3,0.7", "box:-1,-2,-3,1,0.5,0.25"}) {
    Collider collider;
    EXPECT_EQ(parseCollider(text, collider), "");
    scene.colliders.push_back(collider);
  }
  Collider mesh;
  EXPECT_EQ(parseCollider("mesh:" + dir.file("meshes/tetra.obj"), mesh), "");
  scene.colliders.push_back(mesh);
  scene.thickness = 0.035;
  scene.friction = 1.25;
  scene.selfCollision = true;
  scene.seed = 4294967295u;
  scene.recording = {1234, 9, 3, 8, {RecordingFormat::glb, RecordingFormat::pc2}};
  return scene;
}

TEST(SceneFile, EveryFieldReadsBackAsWritten) {
  TempDir dir;
  const std::string text = scenefile::text(everyFieldSet(dir), dir.path());
  EXPECT_NE(text.find("\"mesh:meshes/tetra.obj\""), std::string::npos) << "kept relative to the scene's folder";
  const scenefile::Reading reading = scenefile::read(text, dir.path());
  ASSERT_TRUE(reading.scene) << reading.error;
  EXPECT_EQ(scenefile::text(*reading.scene, dir.path()), text);
}

// A scene written before a tunable existed opens with that tunable at its default.
TEST(SceneFile, AMissingParameterTakesItsDefault) {
  TempDir dir;
  SceneDescription scene;
  scene.setParameter("kBend", 400.0);
  std::string text = scenefile::text(scene, dir.path());
  const std::size_t line = text.find("\"gravity\"");
  text.erase(line, text.find('\n', line) + 1 - line);
  const scenefile::Reading reading = scenefile::read(text, dir.path());
  ASSERT_TRUE(reading.scene) << reading.error;
  EXPECT_EQ(reading.scene->parameters, scene.parameters);
}

struct Hostile {
  const char* name;
  std::function<void(std::string& text, const std::string& file)> spoil;  // the text, or the file itself
  scenefile::Reading::Kind kind;
  const char* message;  // a part of it
};

// Replaces the first `from` of the text by `to`.
std::function<void(std::string&, const std::string&)> replace(std::string from, std::string to) {
  return [=](std::string& text, const std::string&) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
}

class SceneFileHostile : public ::testing::TestWithParam<Hostile> {};

// A hostile or broken file gives one line saying what is wrong, and no scene at all.
TEST_P(SceneFileHostile, GivesAMessageAndNoScene) {
  TempDir dir;
  std::string text = scenefile::text(everyFieldSet(dir), dir.path());
  const std::string file = dir.file("scene.json");
  GetParam().spoil(text, file);
  if (!std::filesystem::exists(file)) writeFile(file, text);
  const scenefile::Reading reading = scenefile::load(file);
  EXPECT_FALSE(reading.scene);
  EXPECT_EQ(reading.kind, GetParam().kind);
  EXPECT_NE(reading.error.find(GetParam().message), std::string::npos) << reading.error;
  EXPECT_EQ(reading.error.find('\n'), std::string::npos) << reading.error;
}

using Kind = scenefile::Reading::Kind;
INSTANTIATE_TEST_SUITE_P(
    SceneFile, SceneFileHostile,
    ::testing::Values(
        Hostile{"truncated", [](std::string& t, const std::string&) { t.resize(t.size() / 2); }, Kind::Broken,
                "not valid JSON"},
        Hostile{"wrongType", replace("\"thickness\": 0.035", "\"thickness\": \"thin\""), Kind::Broken,
                "field 'thickness' must be a number"},
        Hostile{"hugeWidth", replace("\"width\": 13", "\"width\": 1e300"), Kind::Broken,
                "field 'cloth.width' must be a whole number from 3 to 100"},
        Hostile{"numberBeyondDoubles", replace("\"friction\": 1.25", "\"friction\": 1e400"), Kind::Broken,
                "not valid JSON: number overflow parsing '1e400'"},
        Hostile{"hugeSeed", replace("4294967295", "18446744073709551616"), Kind::Broken, "field 'seed'"},
        Hostile{"negativeSkip", replace("\"skip\": 9", "\"skip\": -9"), Kind::Broken, "field 'recording.skip'"},
        Hostile{"missingField", replace("\"friction\": 1.25,", ""), Kind::Broken, "missing field 'friction'"},
        Hostile{"unknownField", replace("\"seed\"", "\"colour\": 1, \"seed\""), Kind::Broken, "unknown field 'colour'"},
        Hostile{"futureVersion", replace("\"version\": 1", "\"version\": 2, \"wind\": {}"), Kind::Broken,
                "version 2, newer than"},
        Hostile{"unknownParameter", replace("\"kBend\"", "\"kBent\""), Kind::Broken, "unknown parameter 'kBent'"},
        Hostile{"parameterOutOfRange", replace("\"density\"", "\"density\": 0, \"unused\""),
                Kind::Broken, "field 'parameters.density' must be a number from 0.05 to 5"},
        Hostile{"pinOffTheGrid", replace("[\n      6,", "[\n      7,"), Kind::Broken, "field 'pins[1]'"},
        Hostile{"noFormats", replace("\"glb\",\n      \"pc2\"", ""), Kind::Broken, "recording.formats"},
        Hostile{"badCollider", replace("0.7\"", "-0.7\""), Kind::Broken, "colliders[1]: a sphere's radius must be above 0"},
        Hostile{"meshOutsideTheFolder", replace("meshes/tetra.obj", "../../nowhere/tetra.obj"), Kind::Broken,
                "nowhere/tetra.obj: no such file"},
        // A million levels, far deeper than a recursive parser or copy has stack for.
        Hostile{"deepNesting",
                [](std::string& t, const std::string&) {
                  replace("\"parameters\": {", "\"parameters\": {\"x\": " + std::string(1000000, '[') +
                                                   std::string(1000000, ']') + ",")(t, "");
                },
                Kind::Broken, "unknown parameter 'x'"},
        Hostile{"gigabyteString",
                [](std::string&, const std::string& file) {
                  writeFile(file, "{\"format\": \"loomwise-scene\", \"cloth\": \"");
                  std::filesystem::resize_file(file, std::uintmax_t{1} << 30);  // sparse: no gigabyte on disk
                },
                Kind::Broken, "larger than 16 MB"},
        Hostile{"anotherJsonFile", [](std::string& t, const std::string&) { t = "{\"asset\": {\"version\": \"2.0\"}}"; },
                Kind::NotScene, ""},
        Hostile{"aScript", [](std::string& t, const std::string&) { t = "currentTime 1;\n"; }, Kind::NotScene, ""}),
    [](const ::testing::TestParamInfo<Hostile>& info) { return std::string(info.param.name); });

}  // namespace
