#pragma once

#include <array>
#include <vector>

#include "cloth/Vec3.h"
#include "scene/Collider.h"

class Cloth;

// A collider as triangles, for the views to draw and the glTF cache to carry. Each vertex has the
// normal its shading uses: smooth on a sphere, flat on a box's faces and a mesh's triangles.
// Triangles wind counter-clockwise seen from outside.
struct ColliderSurface {
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<std::array<int, 3>> triangles;
};

// How far an infinite plane is shown from its point beside the cloth: room for the sheet to fall
// and spread on it.
double planeHalfSizeFor(const Cloth& cloth);

// An infinite plane is shown as the square of `planeHalfSize` about its point.
ColliderSurface surfaceOf(const Collider& collider, double planeHalfSize);
// A latitude-longitude sphere of 2 × (rings − 1) × segments triangles.
ColliderSurface sphereSurface(const Sphere& sphere, int rings, int segments);
