#pragma once

#include <string>

#include "record/FrameWriter.h"

class Cloth;

// The base mesh NAME.obj (the cloth as the recording starts) and, as a sequence, one complete
// mesh NAME.NNNN.obj per frame, each file written whole as its frame comes.
class ObjWriter : public FrameWriter {
public:
  ObjWriter(const Cloth& cloth, bool sequence) : cloth_(cloth), sequence_(sequence) {}

  bool begin(const RecordingTarget& target) override;
  bool frame(int number) override;
  bool end() override { return true; }
  std::vector<std::string> files() const override;
  // The base mesh and, for a sequence, the frame files already there.
  std::vector<std::string> filesFor(const RecordingTarget& target) const override;
  const std::string& error() const override { return error_; }
  bool keepsFrames() const override { return sequence_; }
  // The meshes written whole so far.
  std::uintmax_t bytes() const override { return bytes_; }

  // NAME.NNNN.obj: the frame number in at least four digits.
  static std::string framePath(const RecordingTarget& target, int number);
  // The frame files of an earlier sequence under the target's name, which a new one replaces.
  static std::vector<std::string> staleFrames(const RecordingTarget& target);

private:
  bool writeMesh(const std::string& path, const std::string& comment);

  const Cloth& cloth_;
  const bool sequence_;
  RecordingTarget target_;
  std::string topology_;  // the same in every file of the sequence
  std::string error_;
  std::uintmax_t bytes_ = 0;
};
