#pragma once

#include <array>
#include <string>
#include <vector>

// Readers of the mesh-cache formats written from their published layouts, independent of the
// program's writers. A reader that meets a malformed file records why in `problem`.
namespace cachereaders {

using Points = std::vector<std::array<float, 3>>;

struct PointCache {
  int points = 0;
  float startFrame = 0, sampleRate = 0;  // PC2 only
  std::vector<float> times;              // MDD only: seconds
  std::vector<Points> frames;
  std::string problem;
};

// PC2: little-endian "POINTCACHE2\0", int version 1, int points, float start frame, float sample
// rate, int samples, then float x, y, z per point per sample.
PointCache readPc2(const std::string& path);
// MDD: big-endian int frames, int points, float time per frame, then float x, y, z per point per frame.
PointCache readMdd(const std::string& path);

struct ObjMesh {
  std::string object;                            // the name after "o"
  std::vector<std::array<double, 3>> vertices;   // as written, parsed in full precision
  std::vector<std::array<double, 2>> texture;
  std::vector<std::vector<std::array<int, 2>>> faces;  // per corner: vertex, texture index (from 1)
  std::string problem;
};
ObjMesh readObj(const std::string& path);

struct GltfAnimation {
  std::string meshName, nodeName;
  Points base;
  std::vector<std::array<float, 2>> texture;
  std::vector<unsigned> indices;
  std::vector<Points> targets;            // position differences, one per target
  std::vector<float> times;               // the weights animation's keyframes
  std::vector<std::vector<float>> weights;  // per keyframe, one weight per target
  std::string interpolation;
  std::string problem;
};
// glTF 2.0 binary: header, JSON chunk, BIN chunk; accessors read through their buffer views,
// sparse accessors applied over zeros.
GltfAnimation readGlb(const std::string& path);

}  // namespace cachereaders
