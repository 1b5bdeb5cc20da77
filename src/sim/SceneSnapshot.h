#pragma once

#include <string>
#include <utility>
#include <vector>

#include "scene/Collider.h"
#include "sim/PinSet.h"

class Simulation;

// What the user sets up in a scene and may take back: the parameters' values, the pins, the
// colliders with the cloth's thickness and friction, and self-collision. Not the motion: taking
// a setting back leaves the cloth where it is.
struct SceneSnapshot {
  std::vector<std::pair<std::string, double>> parameters;  // every tunable, in the table's order
  PinSet pins;
  std::vector<Collider> colliders;
  double thickness = 0.0;
  double friction = 0.0;
  bool selfCollision = false;

  static SceneSnapshot of(const Simulation& simulation);
  // Puts the settings into `simulation`, touching only those that differ from its own, so that
  // unchanged pins stay where they are and the self-collision pass keeps its state.
  void applyTo(Simulation& simulation) const;
  bool operator==(const SceneSnapshot& other) const;
  bool operator!=(const SceneSnapshot& other) const { return !(*this == other); }
};
