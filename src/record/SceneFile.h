#pragma once

#include <optional>
#include <string>

#include "record/SceneDescription.h"

// The scene file: a SceneDescription as JSON, marked {"format": "loomwise-scene", "version": 1}.
// A mesh collider's path is kept relative to the scene file's folder, so that a scene and its
// meshes move together.
namespace scenefile {

inline constexpr const char* kFormat = "loomwise-scene";
inline constexpr int kVersion = 1;
// Far beyond any scene (a 100 × 100 grid with every node pinned is under 200 kB), and small
// enough that a hostile file is refused before it is read.
inline constexpr std::size_t kMaxBytes = 16 << 20;

struct Reading {
  enum class Kind {
    Scene,     // `scene` holds it
    NotScene,  // the text makes no claim to be a scene: not a JSON object with the format marker
    Broken,    // a scene file that cannot be used; `error` says why
  };
  Kind kind = Kind::NotScene;
  std::optional<SceneDescription> scene;
  std::string error;  // one line: "field 'thickness' must be a number from above 0 to 1"
};

// The scene as the text of a scene file kept in `folder`.
std::string text(const SceneDescription& scene, const std::string& folder);
// Reads a scene file's text; its mesh colliders are looked up from `folder` and loaded.
// Everything is checked before anything is returned: a scene comes whole or not at all.
Reading read(const std::string& text, const std::string& folder);

// The same for a file on disk: its errors and write failures as "PATH: reason".
Reading load(const std::string& path);
std::string save(const SceneDescription& scene, const std::string& path);

}  // namespace scenefile
