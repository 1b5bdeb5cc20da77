#include "record/RecordingSession.h"

#include <cassert>

#include "cloth/Cloth.h"

RecordingSession::RecordingSession(Cloth& cloth) : cloth(cloth), recorder(cloth) {}

int RecordingSession::presetSkip() const {
  constexpr double kSecondsPerFrame = 0.0333;
  return static_cast<int>(kSecondsPerFrame / timeStep);
}

int RecordingSession::start(const std::string& path, int skip, int patchesU, int patchesV) {
  assert(skip >= 1);
  const int result = recorder.beginRecording(path, patchesU, patchesV);
  recording = result == 0;
  timeStepSkip = skip;
  return result;
}

int RecordingSession::stop() {
  recording = false;
  return recorder.endRecording();
}

RecordingSession::Tick RecordingSession::advanceFrame() {
  ++stepCount;
  cloth.step(timeStep);
  Tick tick;
  tick.diverged = cloth.diverged;
  if (tick.diverged || !recording || stepCount % timeStepSkip != 0) return tick;
  tick.frame = ++recordedFrames;
  tick.failed = recorder.writeFrame(recordedFrames) != 0;
  return tick;
}
