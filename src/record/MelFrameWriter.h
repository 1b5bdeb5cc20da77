#pragma once

#include "record/FrameWriter.h"

class MelRecorder;

// The MEL scripts as one of a recording's formats: drives a MelRecorder that the session keeps,
// so the surface sampling and the scripts stay the recorder's own business.
class MelFrameWriter : public FrameWriter {
public:
  explicit MelFrameWriter(MelRecorder& recorder) : recorder_(recorder) {}

  bool begin(const RecordingTarget& target) override;
  bool frame(int number) override;
  bool end() override;
  std::vector<std::string> files() const override;
  std::vector<std::string> filesFor(const RecordingTarget& target) const override;
  const std::string& error() const override;

  // The recorder's beginRecording result: 1 when only the animate script could not be opened.
  int beginFailure() const override { return beginResult_; }

private:
  MelRecorder& recorder_;
  int beginResult_ = 0;
};
