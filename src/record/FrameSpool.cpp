#include "record/FrameSpool.h"

#include <cassert>
#include <cstdio>

bool FrameSpool::open(const std::string& directory, const std::string& label) {
  frames_ = 0;
  frameBytes_ = 0;
  error_.clear();
  return file_.openUnnamed(directory, label) || fail(file_.error());
}

bool FrameSpool::append(const byteorder::Bytes& frame) {
  assert(frames_ == 0 || static_cast<long>(frame.size()) == frameBytes_);
  frameBytes_ = static_cast<long>(frame.size());
  if (!file_.write(frame.data(), frame.size())) {
    file_.truncate(frames_ * frameBytes_);
    return fail(file_.error());
  }
  ++frames_;
  return true;
}

bool FrameSpool::copyTo(OutputFile& out) {
  if (!file_.flush()) return fail(file_.error());
  std::FILE* in = file_.stream();
  std::rewind(in);
  unsigned char chunk[1 << 16];
  for (long left = frames_ * frameBytes_; left > 0;) {
    const std::size_t want = left < static_cast<long>(sizeof chunk) ? static_cast<std::size_t>(left) : sizeof chunk;
    if (std::fread(chunk, 1, want, in) != want) return fail(file_.path() + ": the frames kept on disk could not be read back");
    if (!out.write(chunk, want)) return fail(out.error());
    left -= static_cast<long>(want);
  }
  return true;
}

bool FrameSpool::writeFile(const std::string& path, const byteorder::Bytes& head) {
  OutputFile out;
  const bool written = (out.open(path + ".part", "wb") || fail(out.error())) &&
                       (out.write(head.data(), head.size()) || fail(out.error())) && copyTo(out) &&
                       (out.closeAs(path) || fail(out.error()));
  file_.close();
  if (!written) out.discard();
  return written;
}

bool FrameSpool::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}
