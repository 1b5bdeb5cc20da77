#pragma once

#include <vector>

#include "record/ByteOrder.h"
#include "record/FrameWriter.h"
#include "record/OutputFile.h"

class Cloth;

// NAME.pc2: a point cache (little-endian "POINTCACHE2\0", version 1, point count, start frame,
// sample rate 1, sample count, then x, y, z per point per sample). The header is brought up to
// date after every frame, so the file is a valid cache of the frames so far at any moment.
class Pc2Writer : public FrameWriter {
public:
  explicit Pc2Writer(const Cloth& cloth) : cloth_(cloth) {}

  bool begin(const RecordingTarget& target) override;
  bool frame(int number) override;
  bool end() override;
  std::vector<std::string> files() const override { return {file_.path()}; }
  std::vector<std::string> filesFor(const RecordingTarget& target) const override { return {target.file(".pc2")}; }
  const std::string& error() const override { return error_; }

private:
  bool writeHeader();
  bool fail();

  const Cloth& cloth_;
  OutputFile file_;
  std::vector<float> positions_;
  byteorder::Bytes sample_;  // kept, so frames reuse its memory
  int startFrame_ = 0;
  int samples_ = 0;
  std::string error_;
  bool cutBack_ = false;  // a failed frame was cut off, leaving the whole ones
};
