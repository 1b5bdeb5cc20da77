#include "record/SceneDescription.h"

#include <algorithm>

#include "cloth/ClothParameters.h"
#include "sim/SceneSnapshot.h"
#include "sim/Simulation.h"

std::vector<std::pair<std::string, double>> SceneDescription::defaultParameters() {
  std::vector<std::pair<std::string, double>> parameters;
  for (const ClothParameter& p : kClothParameters) parameters.emplace_back(p.name, p.value);
  return parameters;
}

SceneDescription SceneDescription::of(const Simulation& simulation) {
  const SceneSnapshot settings = SceneSnapshot::of(simulation);
  SceneDescription scene;
  scene.shape = simulation.shape();
  scene.pins = settings.pins;
  scene.parameters = settings.parameters;
  scene.solver = simulation.solver();
  scene.colliders = settings.colliders;
  scene.thickness = settings.thickness;
  scene.friction = settings.friction;
  scene.selfCollision = settings.selfCollision;
  scene.seed = simulation.seed();
  return scene;
}

// In the order the recorder has always set a new simulation up.
void SceneDescription::applyTo(Simulation& simulation) const {
  simulation.setSeed(seed);
  simulation.layOut(shape);
  for (const auto& [name, value] : parameters) simulation.cloth().parameters.find(name)->value = value;
  simulation.setSolver(solver);
  simulation.setPins(pins);
  simulation.colliders().setColliders(colliders);
  simulation.colliders().setThickness(thickness);
  simulation.colliders().setFriction(friction);
  simulation.setSelfCollision(selfCollision, thickness, friction);
}

void SceneDescription::setParameter(const std::string& name, double value) {
  const auto entry = std::find_if(parameters.begin(), parameters.end(), [&name](const auto& p) { return p.first == name; });
  entry->second = value;
}
