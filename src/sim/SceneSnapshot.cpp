#include "sim/SceneSnapshot.h"

#include "cloth/ClothParameters.h"
#include "cloth/MaterialPresets.h"
#include "sim/Simulation.h"

namespace {

// Colliders are the same when they read the same; a mesh is named by its file.
bool sameColliders(const std::vector<Collider>& a, const std::vector<Collider>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (formatCollider(a[i]) != formatCollider(b[i])) return false;
  return true;
}

}  // namespace

SceneSnapshot SceneSnapshot::of(const Simulation& simulation) {
  SceneSnapshot s;
  for (const ClothParameter& p : kClothParameters) s.parameters.emplace_back(p.name, simulation.cloth().parameters.valueOf(p.name));
  s.pins = simulation.pins();
  s.colliders = simulation.colliders().colliders();
  s.thickness = simulation.colliders().thickness();
  s.friction = simulation.colliders().friction();
  s.selfCollision = simulation.selfCollision() != nullptr;
  return s;
}

void SceneSnapshot::applyTo(Simulation& simulation) const {
  const SceneSnapshot now = of(simulation);
  applyParameterValues(simulation.cloth().parameters, parameters);
  if (!(pins == now.pins)) simulation.setPins(pins);
  if (!sameColliders(colliders, now.colliders)) simulation.colliders().setColliders(colliders);
  simulation.colliders().setThickness(thickness);
  simulation.colliders().setFriction(friction);
  if (selfCollision != now.selfCollision || (selfCollision && (thickness != now.thickness || friction != now.friction)))
    simulation.setSelfCollision(selfCollision, thickness, friction);
}

bool SceneSnapshot::operator==(const SceneSnapshot& other) const {
  return parameters == other.parameters && pins == other.pins && sameColliders(colliders, other.colliders) &&
         thickness == other.thickness && friction == other.friction && selfCollision == other.selfCollision;
}
