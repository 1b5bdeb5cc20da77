#pragma once

#include "record/SpooledWriter.h"

// NAME.mdd: a big-endian point cache (frame count, point count, each frame's time in seconds,
// then x, y, z per point per frame). The count comes first, so the frames are spooled.
class MddWriter : public SpooledWriter {
public:
  explicit MddWriter(const Cloth& cloth) : SpooledWriter(cloth, ".mdd") {}

protected:
  void encode(std::vector<float>& positions, byteorder::Bytes& out) override;
  byteorder::Bytes head() const override;
  long headBound(int frames) const override { return 8 + 4 * static_cast<long>(frames); }
};
