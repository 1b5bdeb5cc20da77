#pragma once

#include <memory>
#include <string>

class TriangleMesh;

// Reads a collider mesh from a file assimp knows (OBJ, STL, PLY, glTF and more): every mesh of the
// file, in the file's own coordinates, triangulated and with equal vertices joined.
struct MeshLoad {
  std::shared_ptr<const TriangleMesh> mesh;  // none when the file could not be used
  std::string error;                         // then why, for the user: "PATH: reason"
};

MeshLoad loadMesh(const std::string& path);
