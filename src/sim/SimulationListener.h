#pragma once

class Simulation;

// Hears what a running simulation does. Every call but laidOut comes after the step it reports,
// with the positions of that step in the cloth; none may step the simulation itself.
class SimulationListener {
public:
  virtual ~SimulationListener() = default;
  // A step has finished.
  virtual void stepDone(const Simulation&) {}
  // The step count reached a multiple of the simulation's stepsPerFrame: a frame to record.
  // Returns false when the frame could not be kept; the simulation's clock then stops.
  virtual bool frameDue(const Simulation&) { return true; }
  // The step has left the sheet diverged; said once, and no frame is due after it.
  virtual void diverged(const Simulation&) {}
  // The cloth has been laid out afresh (a reset or a new shape), at step 0.
  virtual void laidOut(const Simulation&) {}
};
