#pragma once

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"

// Whether the column spring from node k up to node k − width is longer than √limitSquared or not
// finite: the sheet has diverged. Summed as the vector kernels sum it, so that every kernel and
// every solver finds the same step diverged.
inline bool columnSpringBroken(const NodeBuffer& nodes, int k, int width, double limitSquared) {
  const Vec3 d = nodes.at(k) - nodes.at(k - width);
  return !(d.x * d.x + d.y * d.y + d.z * d.z <= limitSquared);
}
