#pragma once

#include <vector>

#include "scene/Collider.h"

// The scene's colliders, lit, into the current OpenGL context, in one colour apart from the
// cloth's. A plane shows as a square about its point, `planeHalfSize` from it each way.
void drawColliders(const std::vector<Collider>& colliders, double planeHalfSize);
