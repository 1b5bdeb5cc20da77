#pragma once

#include <cstdint>
#include <string>

#include "record/MelRecorder.h"

class Cloth;

// The document's simulation clock and recording state, shared by the window and the headless
// recorder so that both write the same scripts for the same run. Frames are recorded on the steps
// whose running count is a multiple of the skip, counted from the document's creation.
class RecordingSession {
public:
  static constexpr double kDefaultTimeStep = 0.0005;  // simulated seconds per step

  explicit RecordingSession(Cloth& cloth);

  // Steps per recorded frame offered when a recording starts: one frame per 0.0333 s simulated.
  int presetSkip() const;
  // Starts the scripts for `path` with one frame every `skip` steps (skip ≥ 1). Returns the
  // recorder's beginRecording result; recording is on only for 0. The skip is kept either way.
  int start(const std::string& path, int skip, int patchesU, int patchesV);
  // Stops recording and closes the animate script; −1 when closing it failed.
  int stop();

  struct Tick {
    int frame = 0;        // number of the frame this step recorded, 0 when none
    bool failed = false;  // the frame could not be written completely
    bool diverged = false;  // the cloth has diverged; no frame was written, whatever the step
  };
  // One step of timeStep; while recording, a frame on every timeStepSkip-th step unless the cloth
  // has diverged, so no script ever receives a non-finite or runaway value.
  Tick advanceFrame();

  Cloth& cloth;
  MelRecorder recorder;
  bool recording = false;
  std::int64_t stepCount = 0;  // steps since the document was made; 64 bits, never wraps
  int timeStepSkip = 5;
  int recordedFrames = 0;
  double timeStep = kDefaultTimeStep;
};
