#include "record/GlbWriter.h"

#include <algorithm>
#include <unistd.h>

#include <limits>
#include <nlohmann/json.hpp>

#include "cloth/Cloth.h"
#include "record/ClothMesh.h"

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

bool GlbWriter::begin(const RecordingTarget& target) {
  path_ = target.file(".glb");
  name_ = target.name;
  secondsPerFrame_ = target.secondsPerFrame;
  error_.clear();
  targetBounds_.clear();
  clothmesh::nodePositions(cloth_, base_);
  indices_ = clothmesh::triangleIndices(cloth_);
  textureCoordinates_ = clothmesh::textureCoordinates(cloth_);
  // A file left from an earlier recording must not pass for this one until it is complete.
  unlink(path_.c_str());
  open_ = spool_.open(target.directory, path_);
  return open_ || fail(spool_.error());
}

bool GlbWriter::frame(int number) {
  if (!open_) return false;
  if (spool_.frames() == 0) firstFrame_ = number;
  clothmesh::nodePositions(cloth_, positions_);
  for (std::size_t i = 0; i < positions_.size(); ++i) positions_[i] -= base_[i];
  frame_.clear();
  byteorder::appendAll(frame_, positions_);
  if (!spool_.append(frame_)) return fail(spool_.error());
  targetBounds_.push_back(boundsOf(positions_));
  return true;
}

byteorder::Bytes GlbWriter::staticData() const {
  byteorder::Bytes data;
  byteorder::appendAll(data, indices_);
  byteorder::appendAll(data, base_);
  byteorder::appendAll(data, textureCoordinates_);
  return data;
}

// The keyframe times, then the sparse weights: at keyframe k, element k × frames + k is 1.
byteorder::Bytes GlbWriter::animationData() const {
  const int frames = spool_.frames();
  byteorder::Bytes data;
  for (int k = 0; k < frames; ++k) byteorder::appendLittle(data, static_cast<float>((firstFrame_ + k) * secondsPerFrame_));
  for (int k = 0; k < frames; ++k) byteorder::appendLittle(data, static_cast<std::uint32_t>(k) * frames + k);
  for (int k = 0; k < frames; ++k) byteorder::appendLittle(data, 1.0f);
  return data;
}

std::string GlbWriter::describe(std::size_t binBytes) const {
  const int nodes = cloth_.nodeCount();
  const int frames = spool_.frames();
  json views = json::array(), accessors = json::array();
  std::size_t offset = 0;
  const int indexView = addView(views, offset, 4 * indices_.size(), kElementArrayBuffer);
  const int positionView = addView(views, offset, 4 * base_.size(), kArrayBuffer);
  const int uvView = addView(views, offset, 4 * textureCoordinates_.size(), kArrayBuffer);
  accessors.push_back({{"bufferView", indexView}, {"componentType", kUnsignedInt},
                       {"count", indices_.size()}, {"type", "SCALAR"}});
  accessors.push_back(vec3Accessor(positionView, 0, nodes, boundsOf(base_)));
  accessors.push_back({{"bufferView", uvView}, {"componentType", kFloat}, {"count", nodes}, {"type", "VEC2"}});
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
                         {"min", {static_cast<float>(firstFrame_ * secondsPerFrame_)}},
                         {"max", {static_cast<float>((firstFrame_ + frames - 1) * secondsPerFrame_)}}});
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
  document["buffers"] = {{{"byteLength", binBytes}}};
  document["bufferViews"] = views;
  document["accessors"] = accessors;
  std::string text = document.dump();
  text.append((4 - text.size() % 4) % 4, ' ');  // chunks are 4-byte aligned
  return text;
}

bool GlbWriter::end() {
  if (!open_) return error_.empty();
  open_ = false;
  const byteorder::Bytes staticBytes = staticData();
  const byteorder::Bytes animationBytes = animationData();
  const std::size_t binBytes = staticBytes.size() + animationBytes.size() +
                               12 * static_cast<std::size_t>(cloth_.nodeCount()) * spool_.frames();
  const std::string text = describe(binBytes);
  byteorder::Bytes header;
  byteorder::appendLittle(header, kMagic);
  byteorder::appendLittle(header, std::uint32_t{2});
  byteorder::appendLittle(header, static_cast<std::uint32_t>(12 + 8 + text.size() + 8 + binBytes));
  byteorder::appendLittle(header, static_cast<std::uint32_t>(text.size()));
  byteorder::appendLittle(header, kJsonChunk);
  byteorder::Bytes binHeader;
  byteorder::appendLittle(binHeader, static_cast<std::uint32_t>(binBytes));
  byteorder::appendLittle(binHeader, kBinChunk);

  OutputFile out;
  const bool written = out.open(path_ + ".part", "wb") && out.write(header.data(), header.size()) &&
                       out.writeText(text) && out.write(binHeader.data(), binHeader.size()) &&
                       out.write(staticBytes.data(), staticBytes.size()) &&
                       out.write(animationBytes.data(), animationBytes.size()) && spool_.copyTo(out) &&
                       out.closeAs(path_);
  spool_.close();
  if (written) return true;
  fail(spool_.error().empty() ? out.error() : spool_.error());
  out.discard();
  return false;
}

bool GlbWriter::fail(const std::string& error) {
  if (error_.empty()) error_ = error;
  return false;
}
