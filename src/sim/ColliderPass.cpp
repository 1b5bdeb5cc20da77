#include "sim/ColliderPass.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cloth/Cloth.h"

namespace {

// Puts p back at `thickness` from the surface and corrects the previous position q (the node's
// velocity is p − q over the step): the speed into the surface goes, and friction takes from the
// speed along it as much as the push times the coefficient allows.
void respond(Vec3& p, Vec3& q, const Contact& contact, double thickness, double friction) {
  const Vec3& n = contact.normal;
  const double push = thickness - contact.distance;
  p = p + push * n;
  const Vec3 move = p - q;
  const Vec3 along = move - dot(move, n) * n;
  const double slide = norm(along);
  const double grip = friction * push;
  // Static: the step's sliding is undone; kinetic: it is cut by the grip.
  const Vec3 kept = slide <= grip ? Vec3{} : ((slide - grip) / slide) * along;
  p = p - (along - kept);
  q = p - kept;
}

}  // namespace

ColliderPass::ColliderPass(std::vector<Collider> colliders, double thickness, double friction)
    : colliders_(std::move(colliders)), caches_(colliders_.size()), thickness_(thickness), friction_(friction),
      margin_(std::max(thickness, 0.02)) {}

void ColliderPass::apply(Cloth& cloth) {
  if (!cloth.hasGrid()) return;
  NodeBuffer& positions = *cloth.positions;
  NodeBuffer& previous = *cloth.previousPositions;
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    if (cloth.fixedNodes.contains(k)) continue;
    Vec3 p = positions.at(k), q = previous.at(k);
    bool touched = false;
    for (std::size_t c = 0; c < colliders_.size(); ++c) {
      const Contact contact = contactWith(c, k, p);
      if (!(contact.distance < thickness_)) continue;
      respond(p, q, contact, thickness_, friction_);
      touched = true;
    }
    if (!touched) continue;
    positions.set(k, p);
    previous.set(k, q);
  }
}

Contact ColliderPass::contactWith(std::size_t collider, int node, const Vec3& p) {
  return std::visit(
      [&](const auto& shape) -> Contact {
        using Shape = std::decay_t<decltype(shape)>;
        if constexpr (std::is_same_v<Shape, MeshShape>)
          return meshContact(shape, caches_[collider], node, p);
        else
          return ::contactWith(shape, p);
      },
      colliders_[collider]);
}

Contact ColliderPass::meshContact(const MeshShape& shape, MeshCache& cache, int node, const Vec3& p) {
  if (cache.centre.size() <= static_cast<std::size_t>(node)) {
    cache.centre.resize(node + 1);
    cache.candidates.resize(node + 1);
    cache.gathered.resize(node + 1, 0);
  }
  const Vec3 d = p - cache.centre[node];
  if (!cache.gathered[node] || dot(d, d) > margin_ * margin_) {
    cache.centre[node] = p;
    cache.candidates[node].clear();
    shape.mesh->trianglesNear(p, thickness_ + margin_, cache.candidates[node]);
    cache.gathered[node] = 1;
  }
  return shape.mesh->contactAmong(p, cache.candidates[node]);
}
