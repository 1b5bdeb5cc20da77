#pragma once

#include <cmath>

#include "cloth/NodeBuffer.h"
#include "cloth/NodeNormal.h"
#include "cloth/Vec3.h"

// How much of the step's wind force reaches node (r, c) of `nodes`: its distance from the gust
// centre times how squarely its surface faces the wind.
inline double windFactor(const NodeBuffer& nodes, int width, int c, int r, const Vec3& gustCentre,
                         const Vec3& windDirection) {
  const double distance = norm(nodes.at(r * width + c) - gustCentre);
  const Vec3 n = nodeNormalAt(nodes, width, c, r);
  return std::fabs(dot(n, windDirection)) * distance;
}
