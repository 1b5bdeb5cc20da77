#pragma once

#include <cstdint>
#include <limits>

class SceneObject;

// What one view's picking passes found: the selection buffer OpenGL fills, and the nearest hit so
// far. Each view keeps its own, so a pick in one view never touches the objects of another.
struct PickRecord {
  static constexpr int kSelectionBufferSize = 512;
  static constexpr std::uint32_t kNoDepth = std::numeric_limits<std::uint32_t>::max();

  std::uint32_t selectionBuffer[kSelectionBufferSize] = {};
  SceneObject* nearestPicked = nullptr;     // none until something is picked
  std::uint32_t nearestPickDepth = kNoDepth;  // the depth metric of nearestPicked's hit
};
