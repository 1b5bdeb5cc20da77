#pragma once

#include <vector>

#include "record/ByteOrder.h"
#include "record/FrameSpool.h"
#include "record/FrameWriter.h"

class Cloth;

// A format whose file needs the frame count before the frames: each frame is encoded as it comes
// and spooled to disk, and the file (its head, then the frames) is written when the recording
// ends, under a temporary name that becomes NAME + suffix only once it is complete.
class SpooledWriter : public FrameWriter {
public:
  bool begin(const RecordingTarget& target) final;
  bool frame(int number) final;
  bool end() final;
  std::vector<std::string> files() const final { return {path_}; }
  std::vector<std::string> filesFor(const RecordingTarget& target) const final { return {target.file(suffix_)}; }
  const std::string& error() const final { return error_; }
  // The frames spooled so far: the file itself is written at the end.
  std::uintmax_t bytes() const final { return static_cast<std::uintmax_t>(spool_.bytes()); }

protected:
  SpooledWriter(const Cloth& cloth, const char* suffix) : cloth_(cloth), suffix_(suffix) {}

  // What the format keeps of the cloth as the recording starts.
  virtual void started() {}
  // Appends the frame given by the nodes' positions (x, y, z as floats) to `out`.
  virtual void encode(std::vector<float>& positions, byteorder::Bytes& out) = 0;
  // Everything before the frames, once their count is known.
  virtual byteorder::Bytes head() const = 0;
  // At least the bytes of everything before the frames when the file holds `frames` frames.
  virtual long headBound(int frames) const = 0;
  // The most frames of this cloth the format can hold.
  virtual int maxFrames() const;

  int frames() const { return spool_.frames(); }
  // Frame N's time: N × the seconds per frame.
  float secondsOf(int number) const { return static_cast<float>(number * secondsPerFrame_); }

  const Cloth& cloth_;
  std::string name_;
  int firstFrame_ = 0;

private:
  bool fail(const std::string& error);

  const char* const suffix_;
  FrameSpool spool_;
  std::string path_;
  double secondsPerFrame_ = 0.0;
  bool open_ = false;
  std::vector<float> positions_;
  byteorder::Bytes encoded_;  // kept, so frames reuse its memory
  std::string error_;
};
