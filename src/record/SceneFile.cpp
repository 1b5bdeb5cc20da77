#include "record/SceneFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "cloth/ClothParameters.h"
#include "record/MessageText.h"

namespace scenefile {
namespace {

// Read into sorted maps: an ordered map's vector copies a deeply nested value whenever it grows,
// recursively, which a hostile file can make overflow the stack. Written in the fields' order.
using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;
namespace fs = std::filesystem;

// Reading stops at the first thing wrong, with the line that tells the user.
struct Refusal {
  std::string message;
};

[[noreturn]] void refuse(std::string message) { throw Refusal{std::move(message)}; }

// A name taken from the file, short and on one line whatever the file holds.
std::string shown(const std::string& text) {
  constexpr std::size_t kLongest = 64;
  return quotedText(text.size() > kLongest ? text.substr(0, kLongest) + "..." : text);
}

std::string range(double low, double high) { return "from " + shortNumber(low) + " to " + shortNumber(high); }

// A field's name as the messages give it: "cloth.width", "recording.patches".
std::string nameOf(const std::string& where, const std::string& key) { return where.empty() ? key : where + "." + key; }

[[noreturn]] void refuseField(const std::string& name, const std::string& what) {
  refuse("field '" + name + "' must be " + what);
}

// `object` (a JSON object) has every field of `known` and nothing else.
void expectFields(const Json& object, const std::string& where, std::initializer_list<const char*> known) {
  if (!object.is_object()) refuseField(where, "an object {...}");
  for (const auto& [key, value] : object.items()) {
    bool listed = false;
    for (const char* name : known) listed = listed || key == name;
    if (!listed) refuse("unknown field " + shown(nameOf(where, key)));
  }
  for (const char* name : known)
    if (!object.contains(name)) refuse("missing field '" + nameOf(where, name) + "'");
}

double number(const Json& value, const std::string& name, double low, double high) {
  if (!value.is_number() || !(value.get<double>() >= low && value.get<double>() <= high))
    refuseField(name, "a number " + range(low, high));
  return value.get<double>();
}

long long whole(const Json& value, const std::string& name, long long low, long long high) {
  const bool fits = value.is_number_unsigned() ? value.get<unsigned long long>() <= static_cast<unsigned long long>(high)
                                               : value.is_number_integer() && value.get<long long>() <= high;
  if (!fits || value.get<long long>() < low)
    refuseField(name, "a whole number from " + std::to_string(low) + " to " + std::to_string(high));
  return value.get<long long>();
}

const std::string& string(const Json& value, const std::string& name, const std::string& what) {
  if (!value.is_string()) refuseField(name, what);
  return value.get_ref<const std::string&>();
}

bool boolean(const Json& value, const std::string& name) {
  if (!value.is_boolean()) refuseField(name, "true or false");
  return value.get<bool>();
}

// --- writing ---

// The shortest text that reads back as the single-precision spacing, as a double: 0.3, not
// 0.30000001192092896.
double spacingNumber(float spacing) {
  char text[32];
  const char* end = std::to_chars(text, text + sizeof text, spacing).ptr;
  double value = 0.0;
  std::from_chars(text, end, value);
  return value;
}

// `file` from `folder`, or as it stands when no relative path leads there.
std::string relativePath(const std::string& file, const std::string& folder) {
  std::error_code ignored;
  const fs::path from = fs::absolute(folder, ignored).lexically_normal();
  const fs::path to = fs::absolute(file, ignored).lexically_normal();
  const fs::path relative = to.lexically_relative(from);
  return relative.empty() ? to.string() : relative.string();
}

OrderedJson pinsJson(const PinSet& pins) {
  if (pins.preset() != PinSet::Preset::Custom) return PinSet::nameOf(pins.preset());
  OrderedJson nodes = OrderedJson::array();
  for (const GridNode& node : pins.nodes()) nodes.push_back({node.row, node.column});
  return nodes;
}

OrderedJson collidersJson(const std::vector<Collider>& colliders, const std::string& folder) {
  OrderedJson list = OrderedJson::array();
  for (const Collider& collider : colliders) {
    const auto* mesh = std::get_if<MeshShape>(&collider);
    list.push_back(mesh != nullptr ? "mesh:" + relativePath(mesh->path, folder) : formatCollider(collider));
  }
  return list;
}

OrderedJson recordingJson(const SceneDescription::Recording& recording) {
  OrderedJson formats = OrderedJson::array();
  for (const RecordingFormat format : recording.formats) formats.push_back(recordingformat::name(format));
  return {{"steps", recording.steps},
          {"skip", recording.skip},
          {"patches", {recording.patchesU, recording.patchesV}},
          {"formats", formats}};
}

// --- reading ---

ClothShape readShape(const Json& cloth) {
  expectFields(cloth, "cloth", {"width", "height", "spacing", "lay"});
  ClothShape shape;
  shape.clothWidth = static_cast<int>(whole(cloth["width"], "cloth.width", limits::kMinNodes, limits::kMaxNodes));
  shape.clothHeight = static_cast<int>(whole(cloth["height"], "cloth.height", limits::kMinNodes, limits::kMaxNodes));
  // Compared in single precision, as the Cloth Initialization dialog and --spacing compare it.
  const Json& spacing = cloth["spacing"];
  const float value = spacing.is_number() ? static_cast<float>(spacing.get<double>()) : 0.0f;
  if (!(value >= limits::kMinSpacing && value <= limits::kMaxSpacing)) refuseField("cloth.spacing", "a number from 0.01 to 1.0");
  shape.nodeSpacing = value;
  const std::string& lay = string(cloth["lay"], "cloth.lay", "\"hanging\" or \"flat\"");
  if (lay != "hanging" && lay != "flat") refuseField("cloth.lay", "\"hanging\" or \"flat\"");
  shape.lay = lay == "flat" ? ClothShape::Lay::Flat : ClothShape::Lay::Hanging;
  return shape;
}

PinSet readPins(const Json& pins, const ClothShape& shape) {
  const char* const accepted = "\"default\", \"top-edge\", \"top-corners\", \"left-edge\", \"none\" or a list of [row, column]";
  if (pins.is_string()) {
    const std::optional<PinSet::Preset> preset = PinSet::presetNamed(pins.get<std::string>());
    if (!preset) refuseField("pins", accepted);
    return PinSet(*preset);
  }
  if (!pins.is_array()) refuseField("pins", accepted);
  std::vector<GridNode> nodes;
  for (std::size_t i = 0; i < pins.size(); ++i) {
    const std::string name = "pins[" + std::to_string(i) + "]";
    if (!pins[i].is_array() || pins[i].size() != 2) refuseField(name, "a node [row, column]");
    nodes.push_back({static_cast<int>(whole(pins[i][0], name, 0, shape.clothHeight - 1)),
                     static_cast<int>(whole(pins[i][1], name, 0, shape.clothWidth - 1))});
  }
  return PinSet(std::move(nodes));
}

// A tunable the file leaves out keeps its default: a scene written before it existed still opens.
void readParameters(const Json& parameters, SceneDescription& scene) {
  if (!parameters.is_object()) refuseField("parameters", "an object {\"NAME\": VALUE, ...}");
  for (const auto& [name, value] : parameters.items()) {
    const ClothParameter* parameter = findClothParameter(name);
    if (parameter == nullptr) refuse("unknown parameter " + shown(name) + " in field 'parameters'");
    scene.setParameter(name, number(value, "parameters." + name, parameter->minimum, parameter->maximum));
  }
}

// Colliders as the recorder's --collider takes them; a mesh's path is found from the scene's folder.
std::vector<Collider> readColliders(const Json& colliders, const std::string& folder) {
  if (!colliders.is_array()) refuseField("colliders", "a list of colliders");
  std::vector<Collider> read;
  for (std::size_t i = 0; i < colliders.size(); ++i) {
    const std::string name = "colliders[" + std::to_string(i) + "]";
    std::string text = string(colliders[i], name, "a collider such as \"sphere:0,0,0,1\"");
    constexpr std::string_view kMesh = "mesh:";
    if (text.compare(0, kMesh.size(), kMesh) == 0 && text.size() > kMesh.size()) {
      if (text.find('\0') != std::string::npos) refuseField(name, "a mesh path without NUL characters");
      text = std::string(kMesh) + (fs::path(folder) / text.substr(kMesh.size())).lexically_normal().string();
    }
    Collider collider;
    if (const std::string error = parseColliderExactly(text, collider); !error.empty()) refuse(name + ": " + error);
    read.push_back(std::move(collider));
  }
  return read;
}

SceneDescription::Recording readRecording(const Json& recording) {
  expectFields(recording, "recording", {"steps", "skip", "patches", "formats"});
  SceneDescription::Recording read;
  read.steps = static_cast<int>(whole(recording["steps"], "recording.steps", 0, std::numeric_limits<int>::max()));
  read.skip = static_cast<int>(whole(recording["skip"], "recording.skip", limits::kMinSkip, limits::kMaxSkip));
  const Json& patches = recording["patches"];
  if (!patches.is_array() || patches.size() != 2) refuseField("recording.patches", "a pair [U, V]");
  read.patchesU = static_cast<int>(whole(patches[0], "recording.patches", limits::kMinPatches, limits::kMaxPatches));
  read.patchesV = static_cast<int>(whole(patches[1], "recording.patches", limits::kMinPatches, limits::kMaxPatches));
  const Json& formats = recording["formats"];
  const std::string accepted = "a list of one or more of " + recordingformat::acceptedNames();
  if (!formats.is_array() || formats.empty()) refuseField("recording.formats", accepted);
  read.formats.clear();
  for (const Json& format : formats) {
    RecordingFormats named;
    std::string unknown;
    if (!recordingformat::parseList(string(format, "recording.formats", accepted), named, unknown) || named.size() != 1)
      refuseField("recording.formats", accepted);
    if (!recordingformat::contains(read.formats, named[0])) read.formats.push_back(named[0]);
  }
  return read;
}

SceneDescription readDescription(const Json& file, const std::string& folder) {
  // The version first: a newer file's fields are told as newer, not as unknown.
  if (!file.contains("version")) refuse("missing field 'version'");
  const Json& version = file["version"];
  if (!version.is_number_integer() || version.get<long long>() < 1) refuseField("version", "a whole number");
  if (version.get<long long>() > kVersion)
    refuse("the scene is of version " + version.dump() + ", newer than this Loomwise reads (" + std::to_string(kVersion) +
           "); open it with a newer Loomwise");
  expectFields(file, "", {"format", "version", "cloth", "pins", "parameters", "solver", "colliders", "thickness",
                          "friction", "selfCollision", "seed", "recording"});
  SceneDescription scene;
  scene.shape = readShape(file["cloth"]);
  scene.pins = readPins(file["pins"], scene.shape);
  readParameters(file["parameters"], scene);
  const std::optional<Solver> solver = solverNamed(string(file["solver"], "solver", "\"explicit\" or \"xpbd\""));
  if (!solver) refuseField("solver", "\"explicit\" or \"xpbd\"");
  scene.solver = *solver;
  if (!file["thickness"].is_number() || !(file["thickness"].get<double>() > 0.0))
    refuseField("thickness", "a number above 0, at most 1");
  scene.thickness = number(file["thickness"], "thickness", 0.0, ColliderPass::kMaxThickness);
  scene.friction = number(file["friction"], "friction", 0.0, ColliderPass::kMaxFriction);
  scene.selfCollision = boolean(file["selfCollision"], "selfCollision");
  scene.seed = static_cast<std::uint32_t>(whole(file["seed"], "seed", 0, std::numeric_limits<std::uint32_t>::max()));
  scene.recording = readRecording(file["recording"]);
  // Last: the meshes are the slow part, and nothing else may be wrong when they are read.
  scene.colliders = readColliders(file["colliders"], folder);
  return scene;
}

// Only a JSON object can be a scene: a cache, a script or a binary file is not taken for a broken one.
bool claimsScene(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string::npos && text[first] == '{';
}

std::string folderOf(const std::string& path) {
  const std::string folder = fs::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

bool isUtf8(const std::string& text) {
  try {
    OrderedJson(text).dump();
    return true;
  } catch (const OrderedJson::type_error&) {
    return false;
  }
}

// nlohmann's message without its "[json.exception.parse_error.101] " and at most a line long.
std::string parseProblem(const std::string& what) {
  const std::size_t start = what.find("] ");
  std::string problem = start == std::string::npos ? what : what.substr(start + 2);
  constexpr std::size_t kLongest = 160;
  if (problem.size() > kLongest) problem = problem.substr(0, kLongest) + "...";
  return problem;
}

}  // namespace

std::string text(const SceneDescription& scene, const std::string& folder) {
  OrderedJson parameters = OrderedJson::object();
  for (const auto& [name, value] : scene.parameters) parameters[name] = value;
  const OrderedJson file = {
      {"format", kFormat},
      {"version", kVersion},
      {"cloth",
       {{"width", scene.shape.clothWidth},
        {"height", scene.shape.clothHeight},
        {"spacing", spacingNumber(scene.shape.nodeSpacing)},
        {"lay", scene.shape.lay == ClothShape::Lay::Flat ? "flat" : "hanging"}}},
      {"pins", pinsJson(scene.pins)},
      {"parameters", parameters},
      {"solver", solverName(scene.solver)},
      {"colliders", collidersJson(scene.colliders, folder)},
      {"thickness", scene.thickness},
      {"friction", scene.friction},
      {"selfCollision", scene.selfCollision},
      {"seed", scene.seed},
      {"recording", recordingJson(scene.recording)},
  };
  // A path that is not UTF-8 cannot be JSON text; save() refuses it before it comes to this.
  return file.dump(2, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

Reading read(const std::string& text, const std::string& folder) {
  Reading reading;
  if (!claimsScene(text)) return reading;
  Json file;
  try {
    file = Json::parse(text);
  } catch (const Json::exception& error) {  // a syntax error, or a number beyond a double's range
    reading.kind = Reading::Kind::Broken;
    reading.error = "not valid JSON: " + parseProblem(error.what());
    return reading;
  }
  if (!file.is_object() || !file.contains("format") || file["format"] != kFormat) return reading;
  reading.kind = Reading::Kind::Broken;
  try {
    reading.scene = readDescription(file, folder);
    reading.kind = Reading::Kind::Scene;
  } catch (const Refusal& refusal) {
    reading.error = refusal.message;
  }
  return reading;
}

Reading load(const std::string& path) {
  Reading reading;
  reading.kind = Reading::Kind::Broken;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    reading.error = path + ": no such file";
    return reading;
  }
  // One byte past the limit tells a file too large from one just large enough.
  std::ifstream in(path, std::ios::binary);
  std::string content(std::min<std::uintmax_t>(fs::file_size(path, error), kMaxBytes + 1), '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (!in.is_open() || in.bad()) {
    reading.error = path + ": cannot be read (" + std::strerror(errno) + ")";
    return reading;
  }
  content.resize(static_cast<std::size_t>(in.gcount()));
  if (content.size() > kMaxBytes) {
    if (!claimsScene(content)) return {};
    reading.error = path + ": larger than " + std::to_string(kMaxBytes >> 20) + " MB, far too large for a scene file";
    return reading;
  }
  reading = read(content, folderOf(path));
  if (!reading.error.empty()) reading.error = path + ": " + reading.error;
  return reading;
}

std::string save(const SceneDescription& scene, const std::string& path) {
  for (const Collider& collider : scene.colliders)
    if (const auto* mesh = std::get_if<MeshShape>(&collider); mesh != nullptr && !isUtf8(mesh->path))
      return path + ": the mesh path " + quotedText(mesh->path) + " is not UTF-8 text, which a scene file cannot hold";
  const std::string content = text(scene, folderOf(path));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out || !(out << content) || !out.flush()) return path + ": cannot be written (" + std::strerror(errno) + ")";
  return "";
}

}  // namespace scenefile
