#include "record/MelFrameWriter.h"

#include "record/MelRecorder.h"

bool MelFrameWriter::begin(const RecordingTarget& target) {
  beginResult_ = recorder_.beginRecording(target.path, target.patchesU, target.patchesV);
  return beginResult_ == 0;
}

bool MelFrameWriter::frame(int number) { return recorder_.writeFrame(number) == 0; }

bool MelFrameWriter::end() { return recorder_.endRecording() == 0; }

std::vector<std::string> MelFrameWriter::files() const { return {recorder_.createPath, recorder_.animationPath}; }

std::vector<std::string> MelFrameWriter::filesFor(const RecordingTarget& target) const {
  const std::string name = RecordingTarget::safeName(target.name);
  return {MelRecorder::createPathFor(target.directory, name), MelRecorder::animationPathFor(target.directory, name)};
}

const std::string& MelFrameWriter::error() const { return recorder_.lastError(); }
