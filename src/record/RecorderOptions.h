#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cloth/ClothShape.h"
#include "cloth/Limits.h"
#include "record/RecordingFormat.h"
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
  bool help = false;
  bool version = false;

  // Reads the command line (without the program name). On bad usage returns a one-line message
  // naming the option and what it accepts; an empty string means the options are good.
  std::string parse(const std::vector<std::string>& arguments);

  static const char* usage();
  // `text` in single quotes with control characters and backslashes escaped (\n, \t, \\, \xHH),
  // so that a message quoting it stays on one line.
  static std::string quoted(const std::string& text);

private:
  // Applies one option and its value; returns the usage message when either is bad.
  std::string apply(const std::string& option, const std::string& value);
  std::string applyPins(const std::string& value);
  std::string applyHold(const std::string& value);
  // The pinned and held nodes must lie on the grid, whose size may come after them.
  std::string nodeRefusal() const;
};
