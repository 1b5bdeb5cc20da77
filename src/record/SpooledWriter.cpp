#include "record/SpooledWriter.h"

#include <unistd.h>

#include <limits>

#include "record/ClothMesh.h"

bool SpooledWriter::begin(const RecordingTarget& target) {
  path_ = target.file(suffix_);
  name_ = RecordingTarget::safeName(target.name);
  secondsPerFrame_ = target.secondsPerFrame;
  error_.clear();
  started();
  // A file left from an earlier recording must not pass for this one until it is complete.
  unlink(path_.c_str());
  open_ = spool_.open(target.directory, path_);
  return open_ || fail(spool_.error());
}

bool SpooledWriter::frame(int number) {
  if (!open_) return false;
  if (spool_.frames() >= maxFrames())
    return fail(path_ + ": the format holds at most " + std::to_string(maxFrames()) + " frames of this cloth");
  if (spool_.frames() == 0) firstFrame_ = number;
  clothmesh::nodePositions(cloth_, positions_);
  encoded_.clear();
  encode(positions_, encoded_);
  return spool_.append(encoded_, headBound(spool_.frames() + 1)) || fail(spool_.error());
}

int SpooledWriter::maxFrames() const { return std::numeric_limits<int>::max(); }

bool SpooledWriter::end() {
  if (!open_) return error_.empty();
  open_ = false;
  return spool_.writeFile(path_, head()) || fail(spool_.error());
}

bool SpooledWriter::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}
