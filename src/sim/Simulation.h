#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"
#include "cloth/RandomGenerator.h"
#include "cloth/Vec3.h"
#include "sim/ColliderPass.h"
#include "sim/CollisionPass.h"
#include "sim/GridNode.h"
#include "sim/PinSet.h"
#include "sim/SelfCollisionPass.h"
#include "sim/Solver.h"
#include "sim/XpbdSolver.h"

class SimulationListener;

// One running cloth: its sheet, the step pipeline, the step count and its own gusts. The window's
// document and the headless recorder each drive one; nothing else steps a cloth. Two simulations
// share nothing, so two made alike run alike whatever else runs beside them.
class Simulation {
public:
  static constexpr double kTimeStep = 0.0005;  // simulated seconds per step
  // The sheet is checked for divergence on every step whose count is a multiple of this, and on
  // every step a frame is due: a recorded frame is always checked, and a broken sheet is told at
  // most three steps late, for a quarter of the check's cost.
  static constexpr int kCheckInterval = 4;

  // A node held at `point` from step `fromStep` on: a pin moved there, at rest.
  struct Hold {
    std::int64_t fromStep = 0;
    GridNode node;
    Vec3 point;
  };

  // The gusts are seeded with `seed`, again at every reset.
  Simulation(std::uint32_t seed, const ClothShape& shape);
  explicit Simulation(std::uint32_t seed) : Simulation(seed, ClothShape()) {}
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;
  ~Simulation();

  Cloth& cloth() { return cloth_; }
  const Cloth& cloth() const { return cloth_; }
  const ClothShape& shape() const { return shape_; }
  std::uint32_t seed() const { return seed_; }
  std::int64_t stepCount() const { return stepCount_; }
  double simulatedTime() const { return static_cast<double>(stepCount_) * kTimeStep; }
  const PinSet& pins() const { return pins_; }

  // Lays out `shape` (the parameters' values stay), with the step count at 0, the wind and gusts as
  // at the start, the pins on the new grid and the held nodes let go; the scheduled holds stay.
  void layOut(const ClothShape& shape);
  // Lays the same shape out again: Reset then Run repeats the run bit for bit.
  void reset() { layOut(shape_); }
  // Seeds the gusts from now on and at every reset.
  void setSeed(std::uint32_t seed);

  // Pins the nodes of `pins`, each at its rest position; the nodes no longer pinned keep still
  // where they are until forces move them.
  void setPins(const PinSet& pins);
  // Pins node k, or unpins it when it is pinned: the pins become the nodes of their own choosing.
  void togglePin(int k);
  bool isPinned(int k) const { return pinned_.contains(k); }

  // Holds the scripted nodes from their steps on; a node outside the grid is left out.
  void scheduleHolds(std::vector<Hold> holds);
  // Holds node k at `point` from now until release, as a grab does; again to move it.
  void hold(int k, const Vec3& point);
  // Lets node k go with `velocity` (units per simulated second); a pinned node goes back to rest.
  void release(int k, const Vec3& velocity);
  bool isHeld(int k) const;

  // The scene's colliders, with the cloth's thickness and friction against them; they act first
  // of the collision passes, and not at all while there are none.
  ColliderPass& colliders() { return colliders_; }
  const ColliderPass& colliders() const { return colliders_; }
  // The solver of the coming steps; it stays through resets and new layouts.
  void setSolver(Solver solver) { solver_ = solver; }
  Solver solver() const { return solver_; }

  // A further pass (the sheet against itself), after the colliders and those added before it.
  void addCollisionPass(std::unique_ptr<CollisionPass> pass);
  // Self-collision, off by default: when on, the sheet keeps `thickness` off itself, after every
  // other collision pass, with `friction` between its layers. Switching it on again starts afresh.
  void setSelfCollision(bool on, double thickness = ColliderPass::kDefaultThickness,
                        double friction = ColliderPass::kDefaultFriction);
  const SelfCollisionPass* selfCollision() const { return selfCollision_.get(); }
  // Listeners are not owned; one must be removed before it is destroyed.
  void addListener(SimulationListener& listener);
  void removeListener(SimulationListener& listener);

  struct StepResult {
    bool diverged = false;      // the sheet has diverged; no frame was due
    bool frameRefused = false;  // a listener could not keep this step's frame
  };
  // One step of kTimeStep: forces and integration, held nodes, collisions, then the listeners.
  StepResult step();
  // Steps between two frames due to the listeners, from step 0 (at least 1).
  int stepsPerFrame = 66;

private:
  void advanceCloth(bool checkSheet);
  void takeScheduledHolds();
  void applyCollisions();
  // Tells self-collision the passes before it, whose surfaces hold up the nodes resting on them.
  void connectSupports();
  StepResult notify(bool frameDue);
  void refreshFixedNodes();
  Vec3 restPosition(int k) const { return cloth_.restPositions->at(k); }

  struct HeldNode {
    int node;
    Vec3 point;
  };

  Cloth cloth_;
  ClothShape shape_;
  RandomGenerator gusts_;
  std::uint32_t seed_;
  std::int64_t stepCount_ = 0;
  Solver solver_ = Solver::Explicit;
  XpbdSolver xpbd_;
  PinSet pins_;
  FixedNodes pinned_;                  // pins_ on the current grid
  std::vector<Hold> scheduled_;        // scripted holds, by step
  std::size_t nextScheduled_ = 0;      // the first of them not yet taken
  std::vector<HeldNode> held_;         // nodes held now, scripted or grabbed
  ColliderPass colliders_;
  std::vector<std::unique_ptr<CollisionPass>> collisionPasses_;
  std::unique_ptr<SelfCollisionPass> selfCollision_;  // none while off
  std::vector<SimulationListener*> listeners_;
  bool divergenceTold_ = false;
};
