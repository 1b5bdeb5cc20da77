#include "record/RecordingSession.h"

#include <algorithm>
#include <cassert>
#include <filesystem>

#include "cloth/Cloth.h"
#include "record/FrameWriters.h"

RecordingSession::RecordingSession(Simulation& simulation) : simulation(simulation), recorder(simulation.cloth()) {
  simulation.addListener(*this);
}

RecordingSession::~RecordingSession() {
  if (recording) stop();
  simulation.removeListener(*this);
}

int RecordingSession::presetSkip() const {
  constexpr double kSecondsPerFrame = 0.0333;
  return static_cast<int>(kSecondsPerFrame / timeStep);
}

std::vector<std::string> RecordingSession::existingFiles(const std::string& path, const RecordingFormats& formats) {
  const RecordingTarget target = RecordingTarget::of(path);
  std::vector<std::string> existing;
  for (const auto& writer : makeFrameWriters(formats, simulation.cloth(), {}, recorder))
    for (const std::string& file : writer->filesFor(target))
      if (std::filesystem::is_regular_file(file) && std::find(existing.begin(), existing.end(), file) == existing.end())
        existing.push_back(file);
  return existing;
}

int RecordingSession::start(const std::string& path, int skip, int patchesU, int patchesV,
                            const RecordingFormats& formats) {
  assert(skip >= 1 && !formats.empty());
  timeStepSkip = skip;
  simulation.stepsPerFrame = skip;
  recording = false;
  failedFrame_ = 0;
  recordedFiles_.clear();
  RecordingTarget target = RecordingTarget::of(path);
  target.patchesU = patchesU;
  target.patchesV = patchesV;
  target.secondsPerFrame = skip * timeStep;
  if (target.name.empty()) {
    lastError_ = path + ": the file name gives no recording name";
    return -1;
  }
  Cloth& cloth = simulation.cloth();
  if (!cloth.hasGrid()) {
    lastError_ = path + ": the cloth has no grid to record";
    return -1;
  }

  writers_ = makeFrameWriters(formats, cloth, simulation.colliders().colliders(), recorder);
  for (std::size_t i = 0; i < writers_.size(); ++i) {
    if (writers_[i]->begin(target)) continue;
    const std::string error = writers_[i]->error();
    const int result = writers_[i]->beginFailure();
    writers_.resize(i);
    endWriters();
    lastError_ = error;
    return result;
  }
  for (const auto& writer : writers_)
    for (const std::string& file : writer->files()) recordedFiles_.push_back(file);
  framesBefore_ = recordedFrames;
  recording = true;
  return 0;
}

bool RecordingSession::endWriters() {
  unfinished_.clear();
  framesKept_ = false;
  for (const auto& writer : writers_) {
    if (writer->end()) {
      framesKept_ = framesKept_ || writer->keepsFrames();
      continue;
    }
    if (unfinished_.empty()) lastError_ = writer->error();
    unfinished_.push_back(writer->error());
  }
  writers_.clear();
  return unfinished_.empty();
}

std::uintmax_t RecordingSession::bytesWritten() const {
  std::uintmax_t total = 0;
  for (const auto& writer : writers_) total += writer->bytes();
  return total;
}

int RecordingSession::stop() {
  recording = false;
  return endWriters() ? 0 : -1;
}

bool RecordingSession::frameDue(const Simulation&) {
  if (!recording) return true;
  ++recordedFrames;
  for (const auto& writer : writers_) {
    if (writer->frame(recordedFrames)) continue;
    failedFrame_ = recordedFrames;
    lastError_ = writer->error();
    return false;
  }
  return true;
}
