#pragma once

// Which nodes of the grid hang still: those of row 0 in columns 0, 8, 16, …. The vector kernels
// read the stride; being constexpr, nothing here is ever called from them.
inline constexpr int kFixedColumnStride = 8;

constexpr bool isFixedNode(int r, int c) { return r == 0 && c % kFixedColumnStride == 0; }
