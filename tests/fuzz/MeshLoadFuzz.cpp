// Fuzzes what the mesh loader makes of any file assimp accepts, and the mesh built from it: a file
// is refused with a reason or gives a mesh that points can be tested against.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "scene/MeshLoader.h"
#include "scene/TriangleMesh.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the format assimp is told by the file name.
  static const char* const kSuffixes[] = {".obj", ".stl", ".ply", ".off", ".gltf"};
  if (size == 0) return 0;
  char path[] = "/tmp/loomwise-fuzz-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return 0;
  close(fd);
  const std::string file = std::string(path) + kSuffixes[data[0] % 5];
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(data + 1, 1, size - 1, out);
    std::fclose(out);
  }
  const MeshLoad load = loadMesh(file);
  std::remove(file.c_str());
  std::remove(path);
  if (!load.mesh) {
    if (load.error.empty()) __builtin_trap();  // a refusal must say why
    return 0;
  }
  std::vector<int> near;
  for (const Vec3& p : {Vec3{0, 0, 0}, Vec3{1, 2, 3}, load.mesh->vertices().front()}) {
    near.clear();
    load.mesh->trianglesNear(p, 1e9, near);
    const Contact contact = load.mesh->contactAmong(p, near);
    if (std::isnan(contact.distance)) __builtin_trap();
  }
  return 0;
}
