#pragma once

#include <optional>
#include <string>

// How a simulation advances its cloth by one step of Simulation::kTimeStep.
enum class Solver {
  // Damped position Verlet of every force: exact to the cloth as first made, but it blows up where
  // the springs are too stiff for the node mass at this step.
  Explicit,
  // Extended position-based dynamics, one substep of the same length per step: stable at every
  // setting, at the cost of springs a little softer than their stiffness where the explicit one fails.
  Xpbd,
};

// The name the recorder's --solver and the documentation use: "explicit", "xpbd".
const char* solverName(Solver solver);
std::optional<Solver> solverNamed(const std::string& name);
