#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "cloth/ClothShape.h"
#include "cloth/Limits.h"
#include "record/RecordingFormat.h"
#include "scene/Collider.h"
#include "sim/ColliderPass.h"
#include "sim/PinSet.h"
#include "sim/Solver.h"

class Simulation;

// A whole scene as a scene file holds it: the cloth and everything that acts on it, its seed, and
// how it is recorded. The window's document and the recorder both make their simulation from one.
struct SceneDescription {
  // What a recording of the scene is made with.
  struct Recording {
    int steps = 3300;  // the recorder's run; the window steps until told to stop
    int skip = limits::kDefaultSkip;
    int patchesU = 5;
    int patchesV = 5;
    RecordingFormats formats{RecordingFormat::mel};
  };

  ClothShape shape;
  PinSet pins;
  // Every tunable of kClothParameters, in the table's order.
  std::vector<std::pair<std::string, double>> parameters = defaultParameters();
  Solver solver = Solver::Explicit;
  std::vector<Collider> colliders;  // meshes loaded, each with the path it was read from
  double thickness = ColliderPass::kDefaultThickness;
  double friction = ColliderPass::kDefaultFriction;
  bool selfCollision = false;
  std::uint32_t seed = 0;
  Recording recording;

  static std::vector<std::pair<std::string, double>> defaultParameters();
  // What `simulation` is now made of; the recording settings stay the defaults.
  static SceneDescription of(const Simulation& simulation);
  // Makes `simulation` this scene, laid out afresh at step 0: the same steps follow as from a
  // simulation made with its seed and shape and given the rest.
  void applyTo(Simulation& simulation) const;
  // Sets the parameter `name` (one of the table's).
  void setParameter(const std::string& name, double value);
};
