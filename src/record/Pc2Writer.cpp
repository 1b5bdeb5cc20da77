#include "record/Pc2Writer.h"

#include <cassert>

#include "cloth/Cloth.h"
#include "record/ByteOrder.h"
#include "record/ClothMesh.h"

namespace {
constexpr long kHeaderBytes = 32;
constexpr float kSampleRate = 1.0f;  // one sample per frame
}  // namespace

bool Pc2Writer::begin(const RecordingTarget& target) {
  startFrame_ = 0;
  samples_ = 0;
  error_.clear();
  cutBack_ = false;
  return (file_.open(target.file(".pc2"), "wb") && writeHeader() && file_.flush()) || fail();
}

bool Pc2Writer::writeHeader() {
  byteorder::Bytes header{'P', 'O', 'I', 'N', 'T', 'C', 'A', 'C', 'H', 'E', '2', '\0'};
  byteorder::appendLittle(header, std::uint32_t{1});
  byteorder::appendLittle(header, static_cast<std::uint32_t>(cloth_.nodeCount()));
  byteorder::appendLittle(header, static_cast<float>(startFrame_));
  byteorder::appendLittle(header, kSampleRate);
  byteorder::appendLittle(header, static_cast<std::uint32_t>(samples_));
  assert(header.size() == kHeaderBytes);
  return file_.writeAt(0, header.data(), header.size());
}

bool Pc2Writer::frame(int number) {
  if (!file_.isOpen()) return false;
  clothmesh::nodePositions(cloth_, positions_);
  sample_.clear();
  byteorder::appendAll(sample_, positions_);
  if (samples_ == 0) startFrame_ = number;
  // The sample first, the count after it: a crash between the two leaves the previous cache.
  const long complete = kHeaderBytes + static_cast<long>(samples_) * static_cast<long>(sample_.size());
  if (!(file_.write(sample_.data(), sample_.size()) && file_.flush())) {
    cutBack_ = file_.truncate(complete);
    return fail();
  }
  ++samples_;
  if (!(writeHeader() && file_.flush())) return fail();
  return true;
}

// A cache cut back to its whole frames after a failed one is complete: its head counts them, even
// if the stream still holds the failed write's error when it closes.
bool Pc2Writer::end() {
  if (!file_.isOpen()) return error_.empty();
  return file_.close() || cutBack_ || fail();
}

bool Pc2Writer::fail() {
  if (error_.empty()) error_ = file_.error();
  return false;
}
