#pragma once

#include <cstdint>

class RecordingSession;

// Advances a document's cloth by whole steps through its recording session, so that frames fall
// on the same steps however many steps a caller takes at once: the window per timer tick, the
// headless recorder in chunks.
class SimulationClock {
public:
  explicit SimulationClock(RecordingSession& session);

  struct Report {
    std::int64_t steps = 0;  // steps taken by this call
    int framesWritten = 0;   // frames recorded completely
    int lastFrame = 0;       // number of the last frame this call recorded or failed, 0 when none
    bool failed = false;     // lastFrame could not be written; the call stopped after its step
    bool diverged = false;   // the cloth had diverged after the call's last step; no frame was written
    std::int64_t divergedAtStep = 0;  // the session's step count then
  };
  // Takes up to `steps` steps (none for 0 or fewer). Stops early after a frame that could not be
  // written, or at the first step that finds the cloth diverged, so no further step runs past a
  // broken recording or a broken sheet.
  Report advance(std::int64_t steps);

  RecordingSession& session;
};
