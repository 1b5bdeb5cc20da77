#pragma once

#include <array>

#include "record/SpooledWriter.h"

// NAME.glb: glTF 2.0 binary with one mesh (the cloth as the recording starts, two triangles per
// cell), one morph target per frame (the positions less the base) and one animation whose LINEAR
// weights make target k the whole shape at frame k's time. The weights are a sparse accessor, one
// 1 per frame, so the file grows with the frames, not with their square. The targets are spooled
// and the file is written when the recording ends.
class GlbWriter : public SpooledWriter {
public:
  explicit GlbWriter(const Cloth& cloth) : SpooledWriter(cloth, ".glb") {}

protected:
  void started() override;
  void encode(std::vector<float>& positions, byteorder::Bytes& out) override;
  byteorder::Bytes head() const override;
  long headBound(int frames) const override;
  // A binary glTF file's length is a 32-bit number, and so are the sparse weights' indices.
  int maxFrames() const override;

private:
  using Bounds = std::array<float, 6>;  // min x, y, z, then max x, y, z

  // The JSON chunk, padded, for a binary chunk of `binBytes`.
  std::string describe(std::size_t binBytes) const;
  byteorder::Bytes staticData() const;
  byteorder::Bytes animationData() const;

  std::vector<float> base_;
  std::vector<unsigned> indices_;
  std::vector<float> textureCoordinates_;
  std::vector<Bounds> targetBounds_;  // the validator wants every target's extent
};
