#include "record/RecorderOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <vector>

#include "cloth/ClothParameters.h"
#include "cloth/Limits.h"
#include "record/MessageText.h"
#include "record/SceneFile.h"

namespace {

// The tunables' names in alphabetical order, comma-separated.
std::string parameterNames() {
  std::vector<std::string> names;
  for (const ClothParameter& p : kClothParameters) names.emplace_back(p.name);
  std::sort(names.begin(), names.end());
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return list;
}

// `text` broken at spaces into lines of at most `width` characters, each after `indent`.
std::string wrapped(const std::string& text, const std::string& indent, std::size_t width) {
  std::string out;
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
      out += indent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return out + indent + line + "\n";
}

const char* const kValueOptions[] = {"--steps", "--skip",     "--patches",   "--width",   "--height",
                                     "--spacing", "--seed",   "--set",       "--format",  "--pins",
                                     "--hold",    "--lay",    "--collider",  "--thickness", "--friction",
                                     "--solver",  "--scene",  "--save-scene"};

bool isFlag(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "--version" || argument == "--self-collision" ||
         argument == "--no-self-collision";
}

bool takesValue(const std::string& option) {
  for (const char* known : kValueOptions)
    if (option == known) return true;
  return false;
}

// The whole text must be the number: "12x" and "" are refused. Locale-independent.
template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

bool parseWhole(const std::string& text, long long low, long long high, int& value) {
  long long n = 0;
  if (!parseNumber(text, n) || n < low || n > high) return false;
  value = static_cast<int>(n);
  return true;
}

std::string range(int low, int high) { return std::to_string(low) + " to " + std::to_string(high); }

std::string refusal(const std::string& option, const std::string& accepted, const std::string& given) {
  return option + " takes " + accepted + ", not " + quotedText(given);
}

// The spacing's range as the dialog shows it, with a decimal point in both ends: "0.01 to 1.0".
std::string spacingRange() {
  const auto decimal = [](float value) {
    char digits[32];
    const std::string text(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    return text.find('.') == std::string::npos ? text + ".0" : text;
  };
  return decimal(limits::kMinSpacing) + " to " + decimal(limits::kMaxSpacing);
}

// "R,C": a row and a column, each a whole number.
bool parseNode(const std::string& text, GridNode& node) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  constexpr long long kMax = std::numeric_limits<int>::max();
  return parseWhole(text.substr(0, comma), 0, kMax, node.row) && parseWhole(text.substr(comma + 1), 0, kMax, node.column);
}

// "X,Y,Z": three finite numbers.
bool parsePoint(const std::string& text, Vec3& point) {
  double xyz[3];
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = i < 2 ? text.find(',', start) : text.size();
    if (comma == std::string::npos || !parseNumber(text.substr(start, comma - start), xyz[i]) || !std::isfinite(xyz[i]))
      return false;
    start = comma + 1;
  }
  point = {xyz[0], xyz[1], xyz[2]};
  return true;
}

std::string nodeText(const GridNode& node) { return std::to_string(node.row) + "," + std::to_string(node.column); }

bool isBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// Refuses what cannot name a recording: blanks, or a folder, whose scripts would otherwise land
// beside it under the folder's name. "DIR/" is left to the recorder, which says it names nothing.
std::string pathRefusal(const std::string& path) {
  if (isBlank(path)) return "PATH " + quotedText(path) + " names no file; give DIRECTORY/NAME, e.g. out/flag";
  std::error_code ignored;
  if (path.back() != '/' && std::filesystem::is_directory(path, ignored))
    return "PATH " + quotedText(path) + " is a directory; give DIRECTORY/NAME, e.g. " +
           quotedText(path + "/flag");
  return "";
}

}  // namespace

namespace {

std::string usageText() {
  return std::string() + "Usage: loomwise-record [options] PATH\n"
         "       loomwise-record --save-scene FILE [options]\n"
         "Simulates a cloth without a window and records its motion in the directory of PATH, named\n"
         "after PATH's file name up to its first '.' (NAME below).\n"
         "\n"
         "Options:\n"
         "  --format LIST      comma-separated formats to write (default mel):\n"
         "                       mel  create_NAME.mel and animate_NAME.mel, Maya MEL scripts\n"
         "                       pc2  NAME.pc2, a point cache, with the base mesh NAME.obj\n"
         "                       mdd  NAME.mdd, a point cache, with the base mesh NAME.obj\n"
         "                       obj  NAME.obj and one mesh NAME.NNNN.obj per frame\n"
         "                       glb  NAME.glb, glTF 2.0 binary with morph-target animation\n"
         "  --steps N          simulation steps of 0.0005 s (default 3300), whichever the solver\n"
         "  --skip K           steps per recorded frame, " + range(limits::kMinSkip, limits::kMaxSkip) + " (default " +
         std::to_string(limits::kDefaultSkip) + ")\n" +
         "  --patches U,V      MEL surface patches across and down, each " + range(limits::kMinPatches, limits::kMaxPatches) +
         " (default 5,5)\n" +
         "  --width W          nodes per row, " + range(limits::kMinNodes, limits::kMaxNodes) + " (default 17)\n" +
         "  --height H         rows of nodes, " + range(limits::kMinNodes, limits::kMaxNodes) + " (default 10)\n" +
         "  --spacing S        distance between nodes, " + spacingRange() + " (default 0.25)\n"
         "  --seed N           seed of the gusts, 0 to 4294967295 (default: the time, which is\n"
         "                     printed so that the run can be repeated)\n"
         "  --set NAME=VALUE   set a parameter before the first step (repeatable); NAME is one of\n" +
         wrapped(parameterNames() + "; VALUE must lie in the range the Cloth Controls panel offers for NAME",
                 std::string(21, ' '), 86) +
         "  --pins SET         the pinned nodes: default (row 0, every eighth column), top-edge,\n"
         "                     top-corners, left-edge, none (the cloth falls), or R,C[;R,C...],\n"
         "                     rows and columns counted from 0 (row 0 is the top row)\n"
         "  --hold STEP:R,C:X,Y,Z  from step STEP on, hold node R,C at the point X,Y,Z (repeatable)\n"
         "  --lay LAY          where the sheet starts: hanging in the plane z = 0 (default), or\n"
         "                     flat in the horizontal plane at the top row's height\n"
         "  --collider SHAPE   a static collider (repeatable): plane:PX,PY,PZ,NX,NY,NZ,\n"
         "                     sphere:CX,CY,CZ,R, box:X0,Y0,Z0,X1,Y1,Z1 or mesh:PATH (OBJ, STL,\n"
         "                     PLY, glTF, ...)\n"
         "  --thickness T      distance the cloth keeps from colliders, above 0 to 1 (default 0.02)\n"
         "  --friction F       Coulomb friction of the colliders, 0 to 2 (default 0.5)\n" +
         "  --self-collision   the cloth keeps the thickness off itself too, with that friction\n"
         "                     between its layers (slower: see the README);\n"
         "                     --no-self-collision turns it off where a scene turns it on\n"
         "  --solver NAME      explicit (default): the exact step, which blows up with light, stiff\n"
         "                     or finely spaced cloth; xpbd: stable at every setting, at about twice\n"
         "                     the cost, more where the explicit one would blow up\n"
         "  --scene FILE       start from a scene file the window's File > Save As wrote; the\n"
         "                     other options override what it says, wherever they stand\n"
         "  --save-scene FILE  write the scene the other options describe to FILE and exit,\n"
         "                     without PATH; --scene FILE then records what the options would\n"
         "  -h, --help         show this help and exit\n"
         "  --version          show the version and exit\n"
         "\n"
         "Frame N is the N-th recorded frame, at N x K x 0.0005 simulated seconds.\n"
         "\n"
         "Example: loomwise-record --steps 660 --patches 8,6 --set windMinimum=80 out/flag\n"
         "writes out/create_flag.mel and out/animate_flag.mel with 10 frames;\n"
         "loomwise-record --steps 660 --format pc2,glb out/flag writes out/flag.obj, out/flag.pc2\n"
         "and out/flag.glb.\n";
}

}  // namespace

const char* RecorderOptions::usage() {
  static const std::string text = usageText();
  return text.c_str();
}

std::string RecorderOptions::walk(const std::vector<std::string>& arguments, const Visit& visit,
                                  std::vector<std::string>* paths) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::string error;
    if (optionsEnded || argument.empty() || argument[0] != '-') {
      if (paths != nullptr) paths->push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (isFlag(argument)) {
      error = visit(argument, "");
    } else {
      const std::size_t equals = argument.find('=');
      const std::string option = argument.substr(0, equals);
      if (!takesValue(option)) return "unknown option " + quotedText(option) + "; try --help";
      std::string value;
      if (equals != std::string::npos)
        value = argument.substr(equals + 1);
      else if (i + 1 < arguments.size())
        value = arguments[++i];
      else
        return option + " needs a value; try --help";
      error = visit(option, value);
    }
    if (!error.empty()) return error;
  }
  return "";
}

std::string RecorderOptions::parse(const std::vector<std::string>& arguments) {
  // A scene file gives the starting values, and every other option overrides them wherever it
  // stands. The first walk reads the scene alone; the second tells bad usage in the order given.
  std::string sceneError;
  walk(arguments, [this, &sceneError](const std::string& option, const std::string& value) {
    if (option == "--scene") sceneError = applyScene(value);
    return sceneError;
  }, nullptr);
  if (!sceneError.empty()) return sceneError;
  std::vector<std::string> paths;
  const std::string error = walk(arguments, [this](const std::string& option, const std::string& value) {
    return option == "--scene" ? std::string() : apply(option, value);
  }, &paths);
  if (!error.empty()) return error;
  if (help || version) return "";
  if (patchesGiven && !recordingformat::contains(formats, RecordingFormat::mel))
    return "--patches shapes the MEL surface only; add mel to --format or leave --patches out";
  if (const std::string refused = nodeRefusal(); !refused.empty()) return refused;
  if (!saveScene.empty()) {
    // The scene must give the same recording as these options: what it cannot hold is refused.
    if (!holds.empty()) return "--hold is not kept in a scene file; give it when recording the scene";
    if (!paths.empty()) return "--save-scene writes the scene and records nothing; leave out PATH " + quotedText(paths[0]);
    return "";
  }
  if (paths.empty()) return "missing PATH (where the recording goes); try --help";
  if (paths.size() > 1) return "only one PATH may be given, not " + quotedText(paths[0]) + " and " + quotedText(paths[1]);
  path = paths[0];
  return pathRefusal(path);
}

std::string RecorderOptions::applyScene(const std::string& file) {
  if (sceneGiven_) return "only one --scene may be given";
  const scenefile::Reading reading = scenefile::load(file);
  if (reading.kind == scenefile::Reading::Kind::NotScene)
    return "--scene " + quotedText(file) + " is not a Loomwise scene file (it has no \"format\": \"" + scenefile::kFormat + "\")";
  if (!reading.scene) return "--scene " + reading.error;
  adopt(*reading.scene);
  return "";
}

void RecorderOptions::adopt(const SceneDescription& scene) {
  sceneGiven_ = true;
  shape = scene.shape;
  pins = scene.pins;
  settings = scene.parameters;
  solver = scene.solver;
  colliders = scene.colliders;
  collidersFromScene_ = true;
  thickness = scene.thickness;
  friction = scene.friction;
  selfCollision = scene.selfCollision;
  seed = scene.seed;
  steps = scene.recording.steps;
  skip = scene.recording.skip;
  patchesU = scene.recording.patchesU;
  patchesV = scene.recording.patchesV;
  formats = scene.recording.formats;
}

SceneDescription RecorderOptions::scene() const {
  SceneDescription scene;
  scene.shape = shape;
  scene.pins = pins;
  for (const auto& [name, value] : settings) scene.setParameter(name, value);
  scene.solver = solver;
  scene.colliders = colliders;
  scene.thickness = thickness;
  scene.friction = friction;
  scene.selfCollision = selfCollision;
  scene.seed = seed.value_or(0);
  scene.recording = {steps, skip, patchesU, patchesV, formats};
  return scene;
}

std::string RecorderOptions::apply(const std::string& option, const std::string& value) {
  if (option == "--help" || option == "-h") {
    help = true;
  } else if (option == "--version") {
    version = true;
  } else if (option == "--self-collision" || option == "--no-self-collision") {
    selfCollision = option == "--self-collision";
  } else if (option == "--save-scene") {
    if (isBlank(value)) return "--save-scene needs the path of the scene file to write";
    saveScene = value;
  } else if (option == "--steps") {
    if (!parseWhole(value, 0, std::numeric_limits<int>::max(), steps))
      return refusal(option, "a whole number from 0 to 2147483647", value);
  } else if (option == "--skip") {
    if (!parseWhole(value, limits::kMinSkip, limits::kMaxSkip, skip))
      return refusal(option, "a whole number from " + range(limits::kMinSkip, limits::kMaxSkip), value);
  } else if (option == "--patches") {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos || !parseWhole(value.substr(0, comma), limits::kMinPatches, limits::kMaxPatches, patchesU) ||
        !parseWhole(value.substr(comma + 1), limits::kMinPatches, limits::kMaxPatches, patchesV))
      return refusal(option, "two whole numbers U,V, each from " + range(limits::kMinPatches, limits::kMaxPatches), value);
    patchesGiven = true;
  } else if (option == "--format") {
    std::string unknown;
    if (!recordingformat::parseList(value, formats, unknown))
      return refusal(option, "a comma-separated list of " + recordingformat::acceptedNames(), unknown);
  } else if (option == "--width" || option == "--height") {
    int& nodes = option == "--width" ? shape.clothWidth : shape.clothHeight;
    if (!parseWhole(value, limits::kMinNodes, limits::kMaxNodes, nodes))
      return refusal(option, "a whole number from " + range(limits::kMinNodes, limits::kMaxNodes), value);
  } else if (option == "--spacing") {
    // Compared in single precision, as the Cloth Initialization dialog does, so 0.01 is accepted.
    float spacing = 0.0f;
    if (!parseNumber(value, spacing) || !(spacing >= limits::kMinSpacing && spacing <= limits::kMaxSpacing))
      return refusal(option, "a number from " + spacingRange(), value);
    shape.nodeSpacing = spacing;
  } else if (option == "--seed") {
    long long n = 0;
    if (!parseNumber(value, n) || n < 0 || n > std::numeric_limits<std::uint32_t>::max())
      return refusal(option, "a whole number from 0 to 4294967295", value);
    seed = static_cast<std::uint32_t>(n);
  } else if (option == "--pins") {
    return applyPins(value);
  } else if (option == "--lay") {
    if (value != "hanging" && value != "flat") return refusal(option, "hanging or flat", value);
    shape.lay = value == "flat" ? ClothShape::Lay::Flat : ClothShape::Lay::Hanging;
  } else if (option == "--collider") {
    Collider collider;
    const std::string error = parseCollider(value, collider);
    if (!error.empty()) return "--collider " + quotedText(value) + ": " + error;
    if (collidersFromScene_) colliders.clear();
    collidersFromScene_ = false;
    colliders.push_back(std::move(collider));
  } else if (option == "--thickness") {
    if (!parseNumber(value, thickness) || !(thickness > 0.0 && thickness <= ColliderPass::kMaxThickness))
      return refusal(option, "a number above 0, at most 1", value);
  } else if (option == "--friction") {
    if (!parseNumber(value, friction) || !(friction >= 0.0 && friction <= ColliderPass::kMaxFriction))
      return refusal(option, "a number from 0 to 2", value);
  } else if (option == "--hold") {
    return applyHold(value);
  } else if (option == "--solver") {
    const std::optional<Solver> named = solverNamed(value);
    if (!named) return refusal(option, "explicit or xpbd", value);
    solver = *named;
  } else {  // --set
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) return refusal(option, "NAME=VALUE", value);
    const std::string name = value.substr(0, equals);
    const std::string number = value.substr(equals + 1);
    double parsed = 0.0;
    const ClothParameter* parameter = findClothParameter(name);
    if (parameter == nullptr)
      return "--set: unknown parameter " + quotedText(name) + "; the parameters are " + parameterNames();
    if (!parseNumber(number, parsed) || !std::isfinite(parsed))
      return refusal("--set " + name, "a finite number", number);
    // The panel's slider cannot leave this range either; outside it the cloth is not defined.
    if (parsed < parameter->minimum || parsed > parameter->maximum)
      return refusal("--set " + name,
                     "a number from " + shortNumber(parameter->minimum) + " to " + shortNumber(parameter->maximum),
                     number);
    settings.emplace_back(name, parsed);
  }
  return "";
}

std::string RecorderOptions::applyPins(const std::string& value) {
  if (const std::optional<PinSet::Preset> preset = PinSet::presetNamed(value)) {
    pins = PinSet(*preset);
    return "";
  }
  const std::string accepted = "default, top-edge, top-corners, left-edge, none or a list R,C[;R,C...]";
  if (value.empty()) return "--pins takes " + accepted + ", not an empty list";
  std::vector<GridNode> nodes;
  for (std::size_t start = 0; start <= value.size();) {
    std::size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    GridNode node;
    if (!parseNode(value.substr(start, end - start), node)) return refusal("--pins", accepted, value.substr(start, end - start));
    if (std::find(nodes.begin(), nodes.end(), node) != nodes.end())
      return "--pins names node " + nodeText(node) + " twice";
    nodes.push_back(node);
    start = end + 1;
  }
  pins = PinSet(std::move(nodes));
  return "";
}

std::string RecorderOptions::applyHold(const std::string& value) {
  const std::size_t first = value.find(':');
  const std::size_t second = first == std::string::npos ? first : value.find(':', first + 1);
  Simulation::Hold hold;
  long long step = 0;
  if (second == std::string::npos || !parseNumber(value.substr(0, first), step) || step < 0 ||
      !parseNode(value.substr(first + 1, second - first - 1), hold.node) || !parsePoint(value.substr(second + 1), hold.point))
    return refusal("--hold", "STEP:R,C:X,Y,Z (a step from 0, a row and column, three finite numbers)", value);
  hold.fromStep = step;
  holds.push_back(hold);
  return "";
}

std::string RecorderOptions::nodeRefusal() const {
  const auto outside = [this](const GridNode& node) { return node.row >= shape.clothHeight || node.column >= shape.clothWidth; };
  const std::string grid = "the grid of " + std::to_string(shape.clothHeight) + " rows and " +
                           std::to_string(shape.clothWidth) + " columns";
  for (const GridNode& node : pins.nodes())
    if (outside(node)) return "--pins: node " + nodeText(node) + " lies outside " + grid;
  for (const Simulation::Hold& hold : holds)
    if (outside(hold.node)) return "--hold: node " + nodeText(hold.node) + " lies outside " + grid;
  return "";
}
