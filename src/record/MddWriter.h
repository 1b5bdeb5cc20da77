#pragma once

#include <vector>

#include "record/FrameSpool.h"
#include "record/FrameWriter.h"

class Cloth;

// NAME.mdd: a big-endian point cache (frame count, point count, each frame's time in seconds,
// then x, y, z per point per frame). The count comes first, so frames are spooled and the file
// is written when the recording ends.
class MddWriter : public FrameWriter {
public:
  explicit MddWriter(const Cloth& cloth) : cloth_(cloth) {}

  bool begin(const RecordingTarget& target) override;
  bool frame(int number) override;
  bool end() override;
  std::vector<std::string> files() const override { return {path_}; }
  const std::string& error() const override { return error_; }

private:
  bool fail(const std::string& error);

  const Cloth& cloth_;
  FrameSpool spool_;
  std::string path_;
  double secondsPerFrame_ = 0.0;
  int firstFrame_ = 0;
  bool open_ = false;
  std::vector<float> positions_;
  byteorder::Bytes frame_;  // kept, so frames reuse its memory
  std::string error_;
};
