#pragma once

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"

// The unit normal at column c, row r of a grid `width` nodes wide: the normalized cross product of
// the edges to two neighbours (right and down on the corner, down and left along the top row, up
// and right down the first column, left and up elsewhere). All four cases face the same side.
inline Vec3 nodeNormalAt(const NodeBuffer& nodes, int width, int c, int r) {
  const int k = r * width + c;
  const Vec3 p = nodes.at(k);
  Vec3 first, second;
  if (r == 0 && c == 0) {
    first = nodes.at(1) - p;
    second = nodes.at(width) - p;
  } else if (r == 0) {
    first = nodes.at(k + width) - p;
    second = nodes.at(k - 1) - p;
  } else if (c == 0) {
    first = nodes.at(k - width) - p;
    second = nodes.at(k + 1) - p;
  } else {
    first = nodes.at(k - 1) - p;
    second = nodes.at(k - width) - p;
  }
  return normalize(cross(first, second));
}
