#include "scene/MeshLoader.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <cmath>
#include <filesystem>
#include <vector>

#include "scene/TriangleMesh.h"

namespace {

MeshLoad refused(const std::string& path, const std::string& reason) { return {nullptr, path + ": " + reason}; }

// The node transforms carry each mesh into the file's scene.
void collect(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent, std::vector<Vec3>& vertices,
             std::vector<TriangleMesh::Triangle>& triangles) {
  const aiMatrix4x4 transform = parent * node.mTransformation;
  for (unsigned m = 0; m < node.mNumMeshes; ++m) {
    const aiMesh& mesh = *scene.mMeshes[node.mMeshes[m]];
    const int base = static_cast<int>(vertices.size());
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      const aiVector3D p = transform * mesh.mVertices[v];
      vertices.push_back({p.x, p.y, p.z});
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;  // points and lines have no surface
      triangles.push_back({base + static_cast<int>(face.mIndices[0]), base + static_cast<int>(face.mIndices[1]),
                           base + static_cast<int>(face.mIndices[2])});
    }
  }
  for (unsigned c = 0; c < node.mNumChildren; ++c) collect(scene, *node.mChildren[c], transform, vertices, triangles);
}

}  // namespace

MeshLoad loadMesh(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return refused(path, "no such file");
  Assimp::Importer importer;
  const aiScene* scene = importer.ReadFile(
      path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_SortByPType | aiProcess_ValidateDataStructure);
  if (scene == nullptr || scene->mRootNode == nullptr) {
    const std::string why = importer.GetErrorString();
    return refused(path, "not a mesh file assimp can read" + (why.empty() ? std::string() : " (" + why + ")"));
  }
  std::vector<Vec3> vertices;
  std::vector<TriangleMesh::Triangle> triangles;
  collect(*scene, *scene->mRootNode, aiMatrix4x4(), vertices, triangles);
  // Far beyond any scene, and a square of it would overflow.
  constexpr double kFarthest = 1e9;
  for (const Vec3& v : vertices)
    if (!(std::fabs(v.x) <= kFarthest && std::fabs(v.y) <= kFarthest && std::fabs(v.z) <= kFarthest))
      return refused(path, "has a vertex that is not a finite number or lies beyond 1e9");
  auto mesh = std::make_shared<TriangleMesh>(std::move(vertices), std::move(triangles));
  if (mesh->triangles().empty()) return refused(path, "holds no triangles with an area");
  return {std::move(mesh), ""};
}
