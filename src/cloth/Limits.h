#pragma once

// The ranges the window's dialogs, the recorder and the benchmarks share: the grid, the node
// spacing, the steps per recorded frame and the MEL surface's patches.
namespace limits {

inline constexpr int kMinNodes = 3;  // per row and per column
inline constexpr int kMaxNodes = 100;
// Single precision, as the Cloth Initialization dialog holds it, so that 0.01 itself is accepted.
inline constexpr float kMinSpacing = 0.01f;
inline constexpr float kMaxSpacing = 1.0f;
inline constexpr int kMinSkip = 1;  // steps per recorded frame
inline constexpr int kMaxSkip = 100;
inline constexpr int kDefaultSkip = 66;
inline constexpr int kMinPatches = 1;  // across and down
inline constexpr int kMaxPatches = 30;

}  // namespace limits
