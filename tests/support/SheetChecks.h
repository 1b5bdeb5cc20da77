#pragma once

#include <array>
#include <vector>

#include "cloth/Vec3.h"
#include "scene/Collider.h"

class Cloth;

// Checks on the cloth's mesh as the caches record it, and on where it lies against the colliders.
namespace sheetchecks {

using Triangle = std::array<unsigned, 3>;

// The pairs of triangles of the mesh that cross each other; pairs that share a node do not count.
// Two triangles crossing each other have an edge of one through the other; one only touching it in
// a plane is not counted.
int intersectingTrianglePairs(const std::vector<Vec3>& vertices, const std::vector<Triangle>& triangles);

// The cloth's nodes and its triangles as the OBJ cache has them: two per quad.
std::vector<Vec3> nodesOf(const Cloth& cloth);
std::vector<Triangle> trianglesOf(const Cloth& cloth);

// The least distance between two nodes that are not neighbours in the grid (by row, column or
// diagonal).
double closestApartNodes(const Cloth& cloth);

// How far p lies outside a plane, sphere or box (negative inside); infinity for a mesh, which is
// not measured.
double distanceOutside(const Collider& collider, const Vec3& p);

}  // namespace sheetchecks
