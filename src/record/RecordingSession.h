#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "record/FrameWriter.h"
#include "record/MelRecorder.h"
#include "record/RecordingFormat.h"

class Cloth;

// The document's simulation clock and recording state, shared by the window and the headless
// recorder so that both write the same files for the same run. Frames are recorded on the steps
// whose running count is a multiple of the skip, counted from the document's creation; every
// chosen format receives every frame.
class RecordingSession {
public:
  static constexpr double kDefaultTimeStep = 0.0005;  // simulated seconds per step

  explicit RecordingSession(Cloth& cloth);
  ~RecordingSession();  // completes the files of a recording still running
  RecordingSession(const RecordingSession&) = delete;
  RecordingSession& operator=(const RecordingSession&) = delete;

  // Steps per recorded frame offered when a recording starts: one frame per 0.0333 s simulated.
  int presetSkip() const;
  // Starts the files of every format for `path` with one frame every `skip` steps (skip ≥ 1);
  // the patch counts shape the MEL surface. 0: recording; −1: nothing could be started; 1: the
  // MEL create script is written but its animate script could not be opened. On failure every
  // file already started is closed again, and lastError() says what failed. The skip is kept
  // either way.
  int start(const std::string& path, int skip, int patchesU, int patchesV,
            const RecordingFormats& formats = {RecordingFormat::mel});
  // Stops recording and completes every format's files; −1 when one could not be completed.
  int stop();

  struct Tick {
    int frame = 0;        // number of the frame this step recorded, 0 when none
    bool failed = false;  // the frame could not be written completely in every format
    bool diverged = false;  // the cloth has diverged; no frame was written, whatever the step
  };
  // One step of timeStep; while recording, a frame on every timeStepSkip-th step unless the cloth
  // has diverged, so no script ever receives a non-finite or runaway value.
  Tick advanceFrame();

  // "PATH: reason" of the last failure to start, write or complete a file.
  const std::string& lastError() const { return lastError_; }
  // The files the current or last recording writes (a sequence as NAME.NNNN.obj).
  const std::vector<std::string>& recordedFiles() const { return recordedFiles_; }

  Cloth& cloth;
  MelRecorder recorder;
  bool recording = false;
  std::int64_t stepCount = 0;  // steps since the document was made; 64 bits, never wraps
  int timeStepSkip = 5;
  int recordedFrames = 0;
  double timeStep = kDefaultTimeStep;

private:
  bool endWriters();

  std::vector<std::unique_ptr<FrameWriter>> writers_;
  std::vector<std::string> recordedFiles_;
  std::string lastError_;
};
