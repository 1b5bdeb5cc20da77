#include "record/FrameSpool.h"

#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <vector>

namespace {
constexpr long kChunkBytes = 1 << 14;
}

bool FrameSpool::open(const std::string& directory, const std::string& label) {
  frames_ = 0;
  frameBytes_ = 0;
  error_.clear();
  return (file_.openUnnamed(directory, label) || fail(file_.error())) &&
         (reserve_.openUnnamed(directory, label) || fail(reserve_.error()));
}

bool FrameSpool::append(const byteorder::Bytes& frame, long headBytes) {
  assert(frames_ == 0 || static_cast<long>(frame.size()) == frameBytes_);
  // The room to finish the file comes first: without it, the frame is not taken.
  if (!reserve_.reserve(headBytes + 2 * kChunkBytes)) return fail(reserve_.error());
  frameBytes_ = static_cast<long>(frame.size());
  if (!file_.write(frame.data(), frame.size())) {
    file_.truncate(frames_ * frameBytes_);
    return fail(file_.error());
  }
  ++frames_;
  return true;
}

// Moves the frames to `offset` in `out`, the last chunk first, cutting each from the spool as it
// arrives: the frames never take their space twice.
bool FrameSpool::moveTo(OutputFile& out, long offset) {
  if (!file_.flush()) return fail(file_.error());
  std::vector<unsigned char> chunk(kChunkBytes);
  for (long end = frames_ * frameBytes_; end > 0;) {
    const long start = std::max(0L, end - kChunkBytes);
    const auto want = static_cast<std::size_t>(end - start);
    if (pread(fileno(file_.stream()), chunk.data(), want, start) != static_cast<ssize_t>(want))
      return fail(file_.path() + ": the frames kept on disk could not be read back");
    if (!out.writeAt(offset + start, chunk.data(), want) || !out.flush()) return fail(out.error());
    if (!file_.truncate(start)) return fail(file_.error());
    end = start;
  }
  return true;
}

bool FrameSpool::writeFile(const std::string& path, const byteorder::Bytes& head) {
  reserve_.close();  // its space is what the head and the moving frames take now
  OutputFile out;
  const bool written = (out.open(path + ".part", "wb") || fail(out.error())) &&
                       moveTo(out, static_cast<long>(head.size())) &&
                       (out.writeAt(0, head.data(), head.size()) || fail(out.error())) &&
                       (out.closeAs(path) || fail(out.error()));
  file_.close();
  if (!written) out.discard();
  return written;
}

bool FrameSpool::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}
