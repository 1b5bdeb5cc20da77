#pragma once

#include <array>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

#include "record/SpooledWriter.h"
#include "scene/Collider.h"

// NAME.glb: glTF 2.0 binary with the cloth's mesh (as the recording starts, two triangles per
// cell), one morph target per frame (the positions less the base) and one animation whose LINEAR
// weights make target k the whole shape at frame k's time. The weights are a sparse accessor, one
// 1 per frame, so the file grows with the frames, not with their square. The targets are spooled
// and the file is written when the recording ends. Each collider follows as a static mesh of its
// own node, so that a viewer shows the whole scene.
class GlbWriter : public SpooledWriter {
public:
  // The colliders are read when the recording starts.
  GlbWriter(const Cloth& cloth, const std::vector<Collider>& colliders)
      : SpooledWriter(cloth, ".glb"), colliders_(colliders) {}

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

  // A collider's triangles as the file holds them.
  struct StaticMesh {
    std::string name;
    std::vector<unsigned> indices;
    std::vector<float> positions, normals;
  };
  // The colliders' views, at the running offset, and three accessors each: indices, positions, normals.
  void describeColliderData(nlohmann::json& views, nlohmann::json& accessors, std::size_t& offset) const;
  // A mesh and a node in the scene for each collider, its accessors from `firstAccessor` on.
  void describeColliderNodes(nlohmann::json& document, int firstAccessor) const;
  std::size_t colliderBytes() const;

  const std::vector<Collider>& colliders_;
  std::vector<StaticMesh> colliderMeshes_;
  std::vector<float> base_;
  std::vector<unsigned> indices_;
  std::vector<float> textureCoordinates_;
  std::vector<Bounds> targetBounds_;  // the validator wants every target's extent
};
