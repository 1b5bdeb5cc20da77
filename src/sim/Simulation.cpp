#include "sim/Simulation.h"

#include <algorithm>
#include <cassert>

#include "sim/SimulationListener.h"

Simulation::Simulation(std::uint32_t seed, const ClothShape& shape) : gusts_(seed), seed_(seed) { layOut(shape); }

Simulation::~Simulation() = default;

void Simulation::layOut(const ClothShape& shape) {
  shape_ = shape;
  shape_.layOut(cloth_);
  // The wind starts over too: a reset run repeats the first run, gust for gust.
  cloth_.windPhase = 0.0;
  cloth_.gustCentre = Vec3{};
  gusts_.seed(seed_);
  stepCount_ = 0;
  divergenceTold_ = false;
  held_.clear();
  nextScheduled_ = 0;
  if (cloth_.hasGrid()) {
    setPins(pins_);
    takeScheduledHolds();
  }
  for (SimulationListener* listener : listeners_) listener->laidOut(*this);
}

void Simulation::setSeed(std::uint32_t seed) {
  seed_ = seed;
  gusts_.seed(seed);
}

void Simulation::setPins(const PinSet& pins) {
  pins_ = pins;
  if (!cloth_.hasGrid()) return;
  pinned_ = pins_.on(cloth_.width, cloth_.height);
  for (int k = 0; k < cloth_.nodeCount(); ++k)
    if (pinned_.contains(k) && !isHeld(k)) cloth_.placeNode(k, restPosition(k));
  refreshFixedNodes();
}

void Simulation::togglePin(int k) {
  std::vector<GridNode> nodes;
  const int w = cloth_.width;
  for (int n = 0; n < cloth_.nodeCount(); ++n)
    if (pinned_.contains(n) != (n == k)) nodes.push_back({n / w, n % w});
  setPins(PinSet(std::move(nodes)));
}

void Simulation::scheduleHolds(std::vector<Hold> holds) {
  std::stable_sort(holds.begin(), holds.end(), [](const Hold& a, const Hold& b) { return a.fromStep < b.fromStep; });
  scheduled_ = std::move(holds);
  nextScheduled_ = 0;
  takeScheduledHolds();
}

void Simulation::takeScheduledHolds() {
  for (; nextScheduled_ < scheduled_.size() && scheduled_[nextScheduled_].fromStep <= stepCount_; ++nextScheduled_) {
    const Hold& h = scheduled_[nextScheduled_];
    if (h.node.row < 0 || h.node.row >= cloth_.height || h.node.column < 0 || h.node.column >= cloth_.width) continue;
    hold(h.node.row * cloth_.width + h.node.column, h.point);
  }
}

bool Simulation::isHeld(int k) const {
  return std::any_of(held_.begin(), held_.end(), [k](const HeldNode& h) { return h.node == k; });
}

void Simulation::hold(int k, const Vec3& point) {
  assert(cloth_.hasGrid() && k >= 0 && k < cloth_.nodeCount());
  cloth_.placeNode(k, point);
  const auto held = std::find_if(held_.begin(), held_.end(), [k](const HeldNode& h) { return h.node == k; });
  if (held != held_.end()) {
    held->point = point;
    return;
  }
  held_.push_back({k, point});
  refreshFixedNodes();
}

void Simulation::release(int k, const Vec3& velocity) {
  const auto held = std::find_if(held_.begin(), held_.end(), [k](const HeldNode& h) { return h.node == k; });
  if (held == held_.end()) return;
  const Vec3 point = held->point;
  held_.erase(held);
  if (pinned_.contains(k)) {
    cloth_.placeNode(k, restPosition(k));
  } else {
    // Position Verlet keeps velocity as the step from the previous position.
    cloth_.previousPositions->set(k, point - kTimeStep * velocity);
  }
  refreshFixedNodes();
}

void Simulation::refreshFixedNodes() {
  cloth_.fixedNodes = pinned_;
  for (const HeldNode& h : held_) cloth_.fixedNodes.set(h.node, true);
}

void Simulation::addCollisionPass(std::unique_ptr<CollisionPass> pass) {
  collisionPasses_.push_back(std::move(pass));
  connectSupports();
}

void Simulation::setSelfCollision(bool on, double thickness, double friction) {
  selfCollision_ = on ? std::make_unique<SelfCollisionPass>(thickness, friction) : nullptr;
  connectSupports();
}

void Simulation::connectSupports() {
  if (!selfCollision_) return;
  std::vector<const CollisionPass*> passes{&colliders_};
  for (const auto& pass : collisionPasses_) passes.push_back(pass.get());
  selfCollision_->setSupports(std::move(passes));
}

void Simulation::addListener(SimulationListener& listener) { listeners_.push_back(&listener); }

void Simulation::removeListener(SimulationListener& listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

Simulation::StepResult Simulation::step() {
  ++stepCount_;
  // The solver: every free node moves; pinned and held nodes stay, and the pass that writes the
  // new positions also checks the sheet for divergence when it is due.
  const bool frameDue = stepCount_ % stepsPerFrame == 0;
  advanceCloth(frameDue || stepCount_ % kCheckInterval == 0);
  // Scripted holds that start at this step take their nodes.
  takeScheduledHolds();
  // Colliders and self-collision correct what the integration gave.
  applyCollisions();
  return notify(frameDue);
}

void Simulation::advanceCloth(bool checkSheet) {
  if (solver_ == Solver::Xpbd)
    xpbd_.step(cloth_, kTimeStep, gusts_, checkSheet);
  else
    cloth_.step(kTimeStep, gusts_, checkSheet);
}

void Simulation::applyCollisions() {
  if (!colliders_.colliders().empty()) colliders_.apply(cloth_);
  for (const auto& pass : collisionPasses_) pass->apply(cloth_);
  // Last, so that what the colliders moved is kept off the rest of the sheet too.
  if (selfCollision_) selfCollision_->apply(cloth_);
}

Simulation::StepResult Simulation::notify(bool frameDue) {
  StepResult result;
  for (SimulationListener* listener : listeners_) listener->stepDone(*this);
  if (cloth_.diverged) {
    result.diverged = true;
    if (!divergenceTold_)
      for (SimulationListener* listener : listeners_) listener->diverged(*this);
    divergenceTold_ = true;
    return result;
  }
  if (!frameDue) return result;
  for (SimulationListener* listener : listeners_)
    if (!listener->frameDue(*this)) {
      result.frameRefused = true;
      break;
    }
  return result;
}
