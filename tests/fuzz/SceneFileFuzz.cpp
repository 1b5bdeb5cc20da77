// Fuzzes the scene file's reader: any text gives a scene or a one-line message, never a crash; and
// a scene that reads writes a text that reads back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "record/SceneFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Mesh paths are looked up from a folder that is not there, so no input reads the disk's meshes
  // by a relative path.
  const std::string folder = "/nonexistent-loomwise-scene-folder";
  const scenefile::Reading reading = scenefile::read(std::string(reinterpret_cast<const char*>(data), size), folder);
  if (reading.error.find('\n') != std::string::npos) std::abort();
  if (!reading.scene) return 0;
  const std::string written = scenefile::text(*reading.scene, folder);
  const scenefile::Reading again = scenefile::read(written, folder);
  if (!again.scene || scenefile::text(*again.scene, folder) != written) std::abort();
  return 0;
}
