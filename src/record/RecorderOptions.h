#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cloth/ClothShape.h"
#include "cloth/Limits.h"
#include "record/RecordingFormat.h"
#include "record/SceneDescription.h"
#include "scene/Collider.h"
#include "sim/ColliderPass.h"
#include "sim/PinSet.h"
#include "sim/Simulation.h"
#include "sim/Solver.h"

// What `loomwise-record` was asked to do.
struct RecorderOptions {
  int steps = 3300;
  int skip = limits::kDefaultSkip;
  int patchesU = 5;
  int patchesV = 5;
  bool patchesGiven = false;
  RecordingFormats formats{RecordingFormat::mel};
  ClothShape shape;
  std::optional<std::uint32_t> seed;                     // none: seeded from the time
  std::vector<std::pair<std::string, double>> settings;  // parameter values, in the order given
  PinSet pins;
  std::vector<Simulation::Hold> holds;  // in the order given
  std::vector<Collider> colliders;      // in the order given, meshes loaded
  double thickness = ColliderPass::kDefaultThickness;
  double friction = ColliderPass::kDefaultFriction;
  Solver solver = Solver::Explicit;
  bool selfCollision = false;  // the sheet keeps the thickness off itself too
  std::string path;
  std::string saveScene;  // --save-scene: where to write the scene instead of recording it
  bool help = false;
  bool version = false;

  // Reads the command line (without the program name). On bad usage returns a one-line message
  // naming the option and what it accepts; an empty string means the options are good.
  std::string parse(const std::vector<std::string>& arguments);

  // The scene these options describe, with their seed (0 when none is set yet).
  SceneDescription scene() const;

  static const char* usage();

private:
  using Visit = std::function<std::string(const std::string& option, const std::string& value)>;
  // Goes through the command line in order: `visit` gets every option with its value (none for
  // a flag), `paths` every other argument. Returns the first refusal.
  static std::string walk(const std::vector<std::string>& arguments, const Visit& visit, std::vector<std::string>* paths);
  // --scene: the file's scene becomes the starting values.
  std::string applyScene(const std::string& file);
  void adopt(const SceneDescription& scene);
  // Applies one option and its value; returns the usage message when either is bad.
  std::string apply(const std::string& option, const std::string& value);
  std::string applyPins(const std::string& value);
  std::string applyHold(const std::string& value);
  // The pinned and held nodes must lie on the grid, whose size may come after them.
  std::string nodeRefusal() const;

  bool sceneGiven_ = false;
  bool collidersFromScene_ = false;  // the first --collider replaces them
};
