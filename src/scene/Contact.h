#pragma once

#include "cloth/Vec3.h"

// Where a point stands against a collider's surface: its signed distance (negative inside) and
// the surface's outward unit normal at the closest point, the way out.
struct Contact {
  double distance;
  Vec3 normal;
};
