#pragma once

#include <string>
#include <vector>

class Cloth;

// The cloth as a mesh for the cache formats: its nodes in node order (r × width + c) at the
// positions the cloth holds, one quad per grid cell, u along a row and v down the rows (0 to 1).
namespace clothmesh {

// x, y, z of every node as 32-bit floats.
void nodePositions(const Cloth& cloth, std::vector<float>& out);
// Two triangles per cell, wound like the quads, as node indices.
std::vector<unsigned> triangleIndices(const Cloth& cloth);
// u, v of every node.
std::vector<float> textureCoordinates(const Cloth& cloth);

// OBJ text in parts, so that a sequence reuses the parts that never change: the header naming the
// object, the vertex lines of the current positions (9 significant digits, '.' whatever the
// locale), and the texture coordinates with the faces.
std::string objHeader(const std::string& name, const std::string& comment);
std::string objVertices(const Cloth& cloth);
std::string objTopology(const Cloth& cloth);

}  // namespace clothmesh
