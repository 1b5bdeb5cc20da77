#include "record/GlbWriter.h"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

#include "cloth/Cloth.h"
#include "record/ClothMesh.h"
#include "scene/ColliderSurface.h"

namespace {

using nlohmann::json;

constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kTriangles = 4;
constexpr std::uint32_t kMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;
constexpr std::uint32_t kBinChunk = 0x004E4942;

std::array<float, 6> boundsOf(const std::vector<float>& xyz) {
  std::array<float, 6> b{};
  for (int axis = 0; axis < 3; ++axis) {
    b[axis] = std::numeric_limits<float>::max();
    b[axis + 3] = std::numeric_limits<float>::lowest();
  }
  for (std::size_t i = 0; i < xyz.size(); ++i) {
    b[i % 3] = std::min(b[i % 3], xyz[i]);
    b[i % 3 + 3] = std::max(b[i % 3 + 3], xyz[i]);
  }
  return b;
}

json vec3Accessor(int view, std::size_t offset, int count, const std::array<float, 6>& b) {
  return {{"bufferView", view}, {"byteOffset", offset}, {"componentType", kFloat}, {"count", count},
          {"type", "VEC3"},     {"min", {b[0], b[1], b[2]}}, {"max", {b[3], b[4], b[5]}}};
}

// Appends a buffer view of `bytes` at the running offset and returns its index.
int addView(json& views, std::size_t& offset, std::size_t bytes, int target = 0, int stride = 0) {
  json view{{"buffer", 0}, {"byteOffset", offset}, {"byteLength", bytes}};
  if (target != 0) view["target"] = target;
  if (stride != 0) view["byteStride"] = stride;
  views.push_back(view);
  offset += bytes;
  return static_cast<int>(views.size()) - 1;
}

}  // namespace

void GlbWriter::started() {
  targetBounds_.clear();
  clothmesh::nodePositions(cloth_, base_);
  indices_ = clothmesh::triangleIndices(cloth_);
  textureCoordinates_ = clothmesh::textureCoordinates(cloth_);
  colliderMeshes_.clear();
  for (const Collider& collider : colliders_) {
    const ColliderSurface surface = surfaceOf(collider, planeHalfSizeFor(cloth_));
    StaticMesh mesh;
    mesh.name = "Collider " + std::to_string(colliderMeshes_.size() + 1) + " (" + kindOf(collider) + ")";
    for (const auto& triangle : surface.triangles) mesh.indices.insert(mesh.indices.end(), triangle.begin(), triangle.end());
    for (std::size_t i = 0; i < surface.positions.size(); ++i) {
      const Vec3 &p = surface.positions[i], &n = surface.normals[i];
      mesh.positions.insert(mesh.positions.end(), {float(p.x), float(p.y), float(p.z)});
      mesh.normals.insert(mesh.normals.end(), {float(n.x), float(n.y), float(n.z)});
    }
    colliderMeshes_.push_back(std::move(mesh));
  }
}

std::size_t GlbWriter::colliderBytes() const {
  std::size_t bytes = 0;
  for (const StaticMesh& mesh : colliderMeshes_)
    bytes += 4 * (mesh.indices.size() + mesh.positions.size() + mesh.normals.size());
  return bytes;
}

void GlbWriter::describeColliderData(json& views, json& accessors, std::size_t& offset) const {
  for (const StaticMesh& mesh : colliderMeshes_) {
    const int indexView = addView(views, offset, 4 * mesh.indices.size(), kElementArrayBuffer);
    const int positionView = addView(views, offset, 4 * mesh.positions.size(), kArrayBuffer);
    const int normalView = addView(views, offset, 4 * mesh.normals.size(), kArrayBuffer);
    const int vertices = static_cast<int>(mesh.positions.size() / 3);
    accessors.push_back({{"bufferView", indexView}, {"componentType", kUnsignedInt},
                         {"count", mesh.indices.size()}, {"type", "SCALAR"}});
    accessors.push_back(vec3Accessor(positionView, 0, vertices, boundsOf(mesh.positions)));
    accessors.push_back({{"bufferView", normalView}, {"componentType", kFloat}, {"count", vertices}, {"type", "VEC3"}});
  }
}

void GlbWriter::describeColliderNodes(json& document, int firstAccessor) const {
  for (const StaticMesh& mesh : colliderMeshes_) {
    const int node = static_cast<int>(document["nodes"].size());
    json primitive{{"attributes", {{"POSITION", firstAccessor + 1}, {"NORMAL", firstAccessor + 2}}},
                   {"indices", firstAccessor},
                   {"mode", kTriangles}};
    document["nodes"].push_back({{"name", mesh.name}, {"mesh", document["meshes"].size()}});
    document["meshes"].push_back({{"name", mesh.name}, {"primitives", {primitive}}});
    document["scenes"][0]["nodes"].push_back(node);
    firstAccessor += 3;
  }
}

void GlbWriter::encode(std::vector<float>& positions, byteorder::Bytes& out) {
  for (std::size_t i = 0; i < positions.size(); ++i) positions[i] -= base_[i];
  byteorder::appendAll(out, positions);
  targetBounds_.push_back(boundsOf(positions));
}

byteorder::Bytes GlbWriter::staticData() const {
  byteorder::Bytes data;
  byteorder::appendAll(data, indices_);
  byteorder::appendAll(data, base_);
  byteorder::appendAll(data, textureCoordinates_);
  for (const StaticMesh& mesh : colliderMeshes_) {
    byteorder::appendAll(data, mesh.indices);
    byteorder::appendAll(data, mesh.positions);
    byteorder::appendAll(data, mesh.normals);
  }
  return data;
}

// The keyframe times, then the sparse weights: at keyframe k, element k × frames + k is 1.
byteorder::Bytes GlbWriter::animationData() const {
  const int count = frames();
  byteorder::Bytes data;
  for (int k = 0; k < count; ++k) byteorder::appendLittle(data, secondsOf(firstFrame_ + k));
  for (int k = 0; k < count; ++k) byteorder::appendLittle(data, static_cast<std::uint32_t>(k) * count + k);
  for (int k = 0; k < count; ++k) byteorder::appendLittle(data, 1.0f);
  return data;
}

std::string GlbWriter::describe(std::size_t binBytes) const {
  const int nodes = cloth_.nodeCount();
  const int frames = this->frames();
  json views = json::array(), accessors = json::array();
  std::size_t offset = 0;
  const int indexView = addView(views, offset, 4 * indices_.size(), kElementArrayBuffer);
  const int positionView = addView(views, offset, 4 * base_.size(), kArrayBuffer);
  const int uvView = addView(views, offset, 4 * textureCoordinates_.size(), kArrayBuffer);
  accessors.push_back({{"bufferView", indexView}, {"componentType", kUnsignedInt},
                       {"count", indices_.size()}, {"type", "SCALAR"}});
  accessors.push_back(vec3Accessor(positionView, 0, nodes, boundsOf(base_)));
  accessors.push_back({{"bufferView", uvView}, {"componentType", kFloat}, {"count", nodes}, {"type", "VEC2"}});
  const int firstColliderAccessor = static_cast<int>(accessors.size());
  describeColliderData(views, accessors, offset);
  json primitive{{"attributes", {{"POSITION", 1}, {"TEXCOORD_0", 2}}}, {"indices", 0}, {"mode", kTriangles}};
  json document{{"asset", {{"version", "2.0"}, {"generator", "Loomwise 1.0"}}},
                {"scene", 0},
                {"scenes", {{{"nodes", {0}}}}},
                {"nodes", {{{"name", name_}, {"mesh", 0}}}}};
  if (frames > 0) {
    const int timeView = addView(views, offset, 4 * static_cast<std::size_t>(frames));
    const int sparseIndexView = addView(views, offset, 4 * static_cast<std::size_t>(frames));
    const int sparseValueView = addView(views, offset, 4 * static_cast<std::size_t>(frames));
    const std::size_t targetBytes = 12 * static_cast<std::size_t>(nodes);
    // Vertex data of many accessors in one view needs the stride stated.
    const int targetView = addView(views, offset, targetBytes * frames, kArrayBuffer, 12);
    const int timeAccessor = static_cast<int>(accessors.size());
    accessors.push_back({{"bufferView", timeView}, {"componentType", kFloat}, {"count", frames}, {"type", "SCALAR"},
                         {"min", {secondsOf(firstFrame_)}},
                         {"max", {secondsOf(firstFrame_ + frames - 1)}}});
    accessors.push_back({{"componentType", kFloat},
                         {"count", static_cast<std::size_t>(frames) * frames},
                         {"type", "SCALAR"},
                         {"sparse",
                          {{"count", frames},
                           {"indices", {{"bufferView", sparseIndexView}, {"componentType", kUnsignedInt}}},
                           {"values", {{"bufferView", sparseValueView}}}}}});
    json targets = json::array();
    for (int k = 0; k < frames; ++k) {
      targets.push_back({{"POSITION", accessors.size()}});
      accessors.push_back(vec3Accessor(targetView, k * targetBytes, nodes, targetBounds_[k]));
    }
    primitive["targets"] = targets;
    document["animations"] = {{{"name", name_},
                               {"samplers", {{{"input", timeAccessor}, {"output", timeAccessor + 1},
                                              {"interpolation", "LINEAR"}}}},
                               {"channels", {{{"sampler", 0}, {"target", {{"node", 0}, {"path", "weights"}}}}}}}};
  }
  document["meshes"] = {{{"name", name_}, {"primitives", {primitive}}}};
  describeColliderNodes(document, firstColliderAccessor);
  document["buffers"] = {{{"byteLength", binBytes}}};
  document["bufferViews"] = views;
  document["accessors"] = accessors;
  std::string text = document.dump();
  text.append((4 - text.size() % 4) % 4, ' ');  // chunks are 4-byte aligned
  return text;
}

namespace {
constexpr std::uint64_t kJsonPerFrame = 1024;  // generously more than a target's accessor takes
constexpr std::uint64_t kJsonFixed = 65536;    // generously more than the rest of the JSON takes
}  // namespace

// The static data, the JSON and the animation data: all but the targets.
long GlbWriter::headBound(int frames) const {
  const std::uint64_t fixed = 28 + 4 * (indices_.size() + base_.size() + textureCoordinates_.size()) + kJsonFixed +
                              3 * name_.size() + colliderBytes() + kJsonPerFrame * colliderMeshes_.size();
  return static_cast<long>(fixed + (kJsonPerFrame + 12) * static_cast<std::uint64_t>(frames));
}

int GlbWriter::maxFrames() const {
  constexpr std::uint64_t kMostBytes = 0xFFFFFFFFull;
  constexpr std::uint64_t kMostIndexed = 65535;  // frames² − 1 must fit the indices
  const std::uint64_t perFrame = 12 * static_cast<std::uint64_t>(cloth_.nodeCount()) + 12 + kJsonPerFrame;
  return static_cast<int>(std::min(kMostIndexed, (kMostBytes - static_cast<std::uint64_t>(headBound(0))) / perFrame));
}

byteorder::Bytes GlbWriter::head() const {
  const byteorder::Bytes staticBytes = staticData();
  const byteorder::Bytes animationBytes = animationData();
  const std::size_t binBytes =
      staticBytes.size() + animationBytes.size() + 12 * static_cast<std::size_t>(cloth_.nodeCount()) * frames();
  const std::string text = describe(binBytes);
  byteorder::Bytes head;
  byteorder::appendLittle(head, kMagic);
  byteorder::appendLittle(head, std::uint32_t{2});
  byteorder::appendLittle(head, static_cast<std::uint32_t>(12 + 8 + text.size() + 8 + binBytes));
  byteorder::appendLittle(head, static_cast<std::uint32_t>(text.size()));
  byteorder::appendLittle(head, kJsonChunk);
  head.insert(head.end(), text.begin(), text.end());
  byteorder::appendLittle(head, static_cast<std::uint32_t>(binBytes));
  byteorder::appendLittle(head, kBinChunk);
  head.insert(head.end(), staticBytes.begin(), staticBytes.end());
  head.insert(head.end(), animationBytes.begin(), animationBytes.end());
  return head;  // the targets follow from the spool
}
