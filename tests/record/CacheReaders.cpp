#include "CacheReaders.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempDir.h"

namespace cachereaders {

namespace {

std::uint32_t little(const std::string& data, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(data[at + i]);
  return v;
}

std::uint32_t big(const std::string& data, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(data[at + i]);
  return v;
}

float asFloat(std::uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

// `count` frames of `points` points from `at`, each coordinate read by `word`.
template <typename Word>
std::vector<Points> readFrames(const std::string& data, std::size_t at, int count, int points, Word word) {
  std::vector<Points> frames(count, Points(points));
  for (auto& frame : frames)
    for (auto& point : frame)
      for (float& coordinate : point) {
        coordinate = asFloat(word(data, at));
        at += 4;
      }
  return frames;
}

}  // namespace

PointCache readPc2(const std::string& path) {
  const std::string data = readFile(path);
  PointCache cache;
  if (data.size() < 32 || data.compare(0, 12, std::string("POINTCACHE2\0", 12)) != 0 || little(data, 12) != 1) {
    cache.problem = "no PC2 header";
    return cache;
  }
  cache.points = static_cast<int>(little(data, 16));
  cache.startFrame = asFloat(little(data, 20));
  cache.sampleRate = asFloat(little(data, 24));
  const int samples = static_cast<int>(little(data, 28));
  if (data.size() != 32 + 12ull * cache.points * samples) {
    cache.problem = "size " + std::to_string(data.size()) + " does not match the header";
    return cache;
  }
  cache.frames = readFrames(data, 32, samples, cache.points, little);
  return cache;
}

PointCache readMdd(const std::string& path) {
  const std::string data = readFile(path);
  PointCache cache;
  if (data.size() < 8) {
    cache.problem = "no MDD header";
    return cache;
  }
  const int frames = static_cast<int>(big(data, 0));
  cache.points = static_cast<int>(big(data, 4));
  if (data.size() != 8 + 4ull * frames + 12ull * cache.points * frames) {
    cache.problem = "size " + std::to_string(data.size()) + " does not match the header";
    return cache;
  }
  for (int k = 0; k < frames; ++k) cache.times.push_back(asFloat(big(data, 8 + 4 * k)));
  cache.frames = readFrames(data, 8 + 4 * frames, frames, cache.points, big);
  return cache;
}

ObjMesh readObj(const std::string& path) {
  std::ifstream in(path);
  ObjMesh mesh;
  if (!in) mesh.problem = "cannot open " + path;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "o") {
      std::getline(words >> std::ws, mesh.object);
    } else if (kind == "v") {
      std::array<double, 3> v{};
      words >> v[0] >> v[1] >> v[2];
      mesh.vertices.push_back(v);
    } else if (kind == "vt") {
      std::array<double, 2> t{};
      words >> t[0] >> t[1];
      mesh.texture.push_back(t);
    } else if (kind == "f") {
      std::vector<std::array<int, 2>> face;
      for (std::string corner; words >> corner;) {
        const std::size_t slash = corner.find('/');
        face.push_back({std::stoi(corner.substr(0, slash)), std::stoi(corner.substr(slash + 1))});
      }
      mesh.faces.push_back(face);
    } else if (!kind.empty() && kind[0] != '#') {
      mesh.problem = "unexpected line '" + line + "'";
    }
    if (words.fail() && (kind == "v" || kind == "vt")) mesh.problem = "unreadable line '" + line + "'";
  }
  return mesh;
}

namespace {

using nlohmann::json;

int componentsOf(const std::string& type) { return type == "SCALAR" ? 1 : type == "VEC2" ? 2 : 3; }

// Every element of an accessor of 4-byte components as raw 32-bit words.
std::vector<std::uint32_t> accessorWords(const json& gltf, const std::string& bin, int index) {
  const json& accessor = gltf["accessors"][index];
  const int components = componentsOf(accessor["type"]);
  const std::size_t count = accessor["count"];
  std::vector<std::uint32_t> words(count * components, 0);
  if (accessor.contains("bufferView")) {
    const json& view = gltf["bufferViews"][accessor["bufferView"].get<int>()];
    const std::size_t stride = view.value("byteStride", 4 * components);
    const std::size_t start = view.value("byteOffset", 0) + accessor.value("byteOffset", 0);
    for (std::size_t e = 0; e < count; ++e)
      for (int c = 0; c < components; ++c) words[e * components + c] = little(bin, start + e * stride + 4 * c);
  }
  if (accessor.contains("sparse")) {
    const json& sparse = accessor["sparse"];
    const int n = sparse["count"];
    const json& indexView = gltf["bufferViews"][sparse["indices"]["bufferView"].get<int>()];
    const json& valueView = gltf["bufferViews"][sparse["values"]["bufferView"].get<int>()];
    const std::size_t indexStart = indexView.value("byteOffset", 0) + sparse["indices"].value("byteOffset", 0);
    const std::size_t valueStart = valueView.value("byteOffset", 0) + sparse["values"].value("byteOffset", 0);
    for (int i = 0; i < n; ++i) {
      const std::uint32_t element = little(bin, indexStart + 4 * i);
      for (int c = 0; c < components; ++c)
        words.at(element * components + c) = little(bin, valueStart + 4 * (i * components + c));
    }
  }
  return words;
}

std::vector<float> accessorFloats(const json& gltf, const std::string& bin, int index) {
  std::vector<float> values;
  for (std::uint32_t word : accessorWords(gltf, bin, index)) values.push_back(asFloat(word));
  return values;
}

Points asPoints(const std::vector<float>& xyz) {
  Points points(xyz.size() / 3);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] = {xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]};
  return points;
}

}  // namespace

GltfAnimation readGlb(const std::string& path) {
  const std::string data = readFile(path);
  GltfAnimation result;
  if (data.size() < 20 || little(data, 0) != 0x46546C67 || little(data, 4) != 2 || little(data, 8) != data.size()) {
    result.problem = "no glTF binary header of the file's length";
    return result;
  }
  const std::uint32_t jsonLength = little(data, 12);
  if (little(data, 16) != 0x4E4F534A || 20 + jsonLength + 8 > data.size()) {
    result.problem = "no JSON chunk";
    return result;
  }
  const json gltf = json::parse(data.substr(20, jsonLength));
  const std::size_t binAt = 20 + jsonLength;
  const std::uint32_t binLength = little(data, binAt);
  if (little(data, binAt + 4) != 0x004E4942 || binAt + 8 + binLength != data.size() ||
      gltf["buffers"][0]["byteLength"].get<std::uint32_t>() > binLength) {
    result.problem = "no BIN chunk holding the buffer";
    return result;
  }
  const std::string bin = data.substr(binAt + 8, binLength);
  const json& node = gltf["nodes"][gltf["scenes"][gltf.value("scene", 0)]["nodes"][0].get<int>()];
  const json& mesh = gltf["meshes"][node["mesh"].get<int>()];
  const json& primitive = mesh["primitives"][0];
  result.nodeName = node.value("name", "");
  result.meshName = mesh.value("name", "");
  result.base = asPoints(accessorFloats(gltf, bin, primitive["attributes"]["POSITION"]));
  const std::vector<float> uv = accessorFloats(gltf, bin, primitive["attributes"]["TEXCOORD_0"]);
  for (std::size_t i = 0; i + 1 < uv.size(); i += 2) result.texture.push_back({uv[i], uv[i + 1]});
  for (std::uint32_t index : accessorWords(gltf, bin, primitive["indices"])) result.indices.push_back(index);
  for (const json& target : primitive.value("targets", json::array()))
    result.targets.push_back(asPoints(accessorFloats(gltf, bin, target["POSITION"])));
  if (!gltf.contains("animations")) return result;
  const json& animation = gltf["animations"][0];
  const json& channel = animation["channels"][0];
  if (channel["target"]["path"] != "weights" || channel["target"]["node"] != 0) result.problem = "no weights channel";
  const json& sampler = animation["samplers"][channel["sampler"].get<int>()];
  result.interpolation = sampler.value("interpolation", "LINEAR");
  result.times = accessorFloats(gltf, bin, sampler["input"]);
  const std::vector<float> weights = accessorFloats(gltf, bin, sampler["output"]);
  const std::size_t perKey = result.targets.size();
  for (std::size_t k = 0; k < result.times.size(); ++k)
    result.weights.emplace_back(weights.begin() + k * perKey, weights.begin() + (k + 1) * perKey);
  return result;
}

}  // namespace cachereaders
