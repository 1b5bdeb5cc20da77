#pragma once

#include <cstdint>

class Simulation;

// Advances a simulation by whole steps, so that frames fall on the same steps however many steps a
// caller takes at once: the window per timer tick, the headless recorder in chunks.
class SimulationClock {
public:
  explicit SimulationClock(Simulation& simulation) : simulation(simulation) {}

  struct Report {
    std::int64_t steps = 0;           // steps taken by this call
    bool frameRefused = false;        // a listener could not keep the frame of the last step
    bool diverged = false;            // the sheet had diverged after the call's last step
    std::int64_t divergedAtStep = 0;  // the simulation's step count then
  };
  // Takes up to `steps` steps (none for 0 or fewer). Stops early after a frame a listener could not
  // keep, or at the first step that finds the sheet diverged, so no further step runs past a
  // broken recording or a broken sheet.
  Report advance(std::int64_t steps);

  Simulation& simulation;
};
