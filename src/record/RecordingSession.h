#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "record/FrameWriter.h"
#include "record/MelRecorder.h"
#include "record/RecordingFormat.h"
#include "sim/Simulation.h"
#include "sim/SimulationListener.h"

// A simulation's recording state, shared by the window and the headless recorder so that both
// write the same files for the same run. It listens to the simulation: frames are recorded on the
// steps whose count since the last lay-out is a multiple of the skip; every chosen format receives
// every frame.
class RecordingSession : public SimulationListener {
public:
  static constexpr double kDefaultTimeStep = Simulation::kTimeStep;

  explicit RecordingSession(Simulation& simulation);
  ~RecordingSession() override;  // completes the files of a recording still running
  RecordingSession(const RecordingSession&) = delete;
  RecordingSession& operator=(const RecordingSession&) = delete;

  // Steps per recorded frame offered when a recording starts: one frame per 0.0333 s simulated.
  int presetSkip() const;
  // Starts the files of every format for `path` with one frame every `skip` steps (skip ≥ 1), the
  // simulation's stepsPerFrame from now on;
  // the patch counts shape the MEL surface. 0: recording; −1: nothing could be started; 1: the
  // MEL create script is written but its animate script could not be opened. On failure every
  // file already started is closed again, and lastError() says what failed. The skip is kept
  // either way.
  int start(const std::string& path, int skip, int patchesU, int patchesV,
            const RecordingFormats& formats = {RecordingFormat::mel});
  // The files of `formats` that a recording to `path` would replace: the regular files there now.
  std::vector<std::string> existingFiles(const std::string& path, const RecordingFormats& formats);
  // Stops recording and completes every format's files; −1 when one could not be completed.
  int stop();
  // After stop: "PATH: reason" of every file that could not be completed (it was not left behind),
  // and whether any file that keeps frames was.
  const std::vector<std::string>& unfinished() const { return unfinished_; }
  bool framesKept() const { return framesKept_; }

  // While recording, writes the frame in every format; false when one could not be written
  // completely (failedFrame() then names it). The simulation calls it on every timeStepSkip-th step
  // unless the sheet has diverged, so no file ever receives a non-finite or runaway value.
  bool frameDue(const Simulation& simulation) override;
  // The frame that could not be written, 0 when none has failed since the recording started.
  int failedFrame() const { return failedFrame_; }

  // "PATH: reason" of the last failure to start, write or complete a file.
  const std::string& lastError() const { return lastError_; }
  // The frames the current or last recording has written, and the bytes its files hold so far
  // (a format that writes its file at the end counts the frames it keeps for it).
  int framesWritten() const { return recordedFrames - framesBefore_; }
  std::uintmax_t bytesWritten() const;
  // The files the current or last recording writes (a sequence as NAME.NNNN.obj).
  const std::vector<std::string>& recordedFiles() const { return recordedFiles_; }

  Simulation& simulation;
  MelRecorder recorder;
  bool recording = false;
  int timeStepSkip = 5;
  int recordedFrames = 0;
  double timeStep = kDefaultTimeStep;

private:
  bool endWriters();

  int failedFrame_ = 0;
  int framesBefore_ = 0;  // recordedFrames as the recording started: the numbers go on from there
  std::vector<std::string> unfinished_;
  bool framesKept_ = false;
  std::vector<std::unique_ptr<FrameWriter>> writers_;
  std::vector<std::string> recordedFiles_;
  std::string lastError_;
};
