#pragma once

#include <vector>

#include "scene/ColliderSurface.h"

class ColliderPass;

// Draws a scene's colliders, lit, into the current OpenGL context, in one colour apart from the
// cloth's. A plane shows as a square about its point, `planeHalfSize` from it each way. Their
// triangles are kept from paint to paint and made again only when the colliders or the size change.
class ColliderDrawing {
public:
  void draw(const ColliderPass& colliders, double planeHalfSize);

private:
  std::vector<ColliderSurface> surfaces_;
  const ColliderPass* source_ = nullptr;
  int revision_ = -1;
  double planeHalfSize_ = 0.0;
};
