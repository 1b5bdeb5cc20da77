#pragma once

#include <array>
#include <vector>

#include "record/FrameSpool.h"
#include "record/FrameWriter.h"

class Cloth;

// NAME.glb: glTF 2.0 binary with one mesh (the cloth as the recording starts, two triangles per
// cell), one morph target per frame (the positions less the base) and one animation whose LINEAR
// weights make target k the whole shape at frame k's time. The weights are a sparse accessor, one
// 1 per frame, so the file grows with the frames, not with their square. The targets are spooled
// and the file is written when the recording ends.
class GlbWriter : public FrameWriter {
public:
  explicit GlbWriter(const Cloth& cloth) : cloth_(cloth) {}

  bool begin(const RecordingTarget& target) override;
  bool frame(int number) override;
  bool end() override;
  std::vector<std::string> files() const override { return {path_}; }
  const std::string& error() const override { return error_; }

private:
  using Bounds = std::array<float, 6>;  // min x, y, z, then max x, y, z

  // The JSON chunk, padded, for a binary chunk of `binBytes`.
  std::string describe(std::size_t binBytes) const;
  byteorder::Bytes staticData() const;
  byteorder::Bytes animationData() const;
  bool fail(const std::string& error);

  const Cloth& cloth_;
  FrameSpool spool_;
  std::string path_;
  std::string name_;
  double secondsPerFrame_ = 0.0;
  int firstFrame_ = 0;
  bool open_ = false;
  std::vector<float> base_;
  std::vector<float> positions_;
  byteorder::Bytes frame_;  // kept, so frames reuse its memory
  std::vector<unsigned> indices_;
  std::vector<float> textureCoordinates_;
  std::vector<Bounds> targetBounds_;  // the validator wants every target's extent
  std::string error_;
};
