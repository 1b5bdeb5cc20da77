#include "record/MddWriter.h"

#include <unistd.h>


#include "cloth/Cloth.h"
#include "record/ClothMesh.h"

bool MddWriter::begin(const RecordingTarget& target) {
  path_ = target.file(".mdd");
  secondsPerFrame_ = target.secondsPerFrame;
  error_.clear();
  // A cache left from an earlier recording must not pass for this one until it is complete.
  unlink(path_.c_str());
  open_ = spool_.open(target.directory, path_);
  return open_ || fail(spool_.error());
}

bool MddWriter::frame(int number) {
  if (!open_) return false;
  if (spool_.frames() == 0) firstFrame_ = number;
  clothmesh::nodePositions(cloth_, positions_);
  frame_.clear();
  byteorder::appendAll(frame_, positions_, true);
  return spool_.append(frame_) || fail(spool_.error());
}

bool MddWriter::end() {
  if (!open_) return error_.empty();
  open_ = false;
  byteorder::Bytes header;
  byteorder::appendBig(header, static_cast<std::uint32_t>(spool_.frames()));
  byteorder::appendBig(header, static_cast<std::uint32_t>(cloth_.nodeCount()));
  for (int i = 0; i < spool_.frames(); ++i)
    byteorder::appendBig(header, static_cast<float>((firstFrame_ + i) * secondsPerFrame_));
  OutputFile out;
  const bool written = out.open(path_ + ".part", "wb") && out.write(header.data(), header.size()) &&
                       spool_.copyTo(out) && out.closeAs(path_);
  spool_.close();
  if (written) return true;
  fail(spool_.error().empty() ? out.error() : spool_.error());
  out.discard();
  return false;
}

bool MddWriter::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}
