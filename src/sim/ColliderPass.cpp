#include "sim/ColliderPass.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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
  const double grip = friction * push;
  const double slideSquared = dot(along, along);
  // Static: the step's sliding is undone; kinetic: it is cut by the grip.
  if (slideSquared <= grip * grip) {
    p = p - along;
    q = p;
    return;
  }
  const double slide = std::sqrt(slideSquared);
  const Vec3 kept = ((slide - grip) / slide) * along;
  p = p - (along - kept);
  q = p - kept;
}

// How far a node may move before its mesh candidates are gathered again.
double marginFor(double thickness) { return std::max(thickness, 0.02); }

}  // namespace

ColliderPass::ColliderPass(std::vector<Collider> colliders, double thickness, double friction)
    : colliders_(std::move(colliders)), caches_(colliders_.size()), thickness_(thickness), friction_(friction),
      margin_(marginFor(thickness)) {}

void ColliderPass::setColliders(std::vector<Collider> colliders) {
  colliders_ = std::move(colliders);
  caches_.assign(colliders_.size(), MeshCache());
}

// The mesh candidates were gathered for the old reach: gather them again.
void ColliderPass::setThickness(double thickness) {
  thickness_ = thickness;
  margin_ = marginFor(thickness);
  caches_.assign(colliders_.size(), MeshCache());
}

namespace {

// Marks in `near` each node that may lie within reach of the shape: branch-free and vectorised,
// as most nodes are out of reach, and a branch per node would mispredict at every edge of a
// contact region. The shape is copied so that the marks cannot alias it. Built twice, and the
// processor picks: the baseline's vectors lack the compare that yields whole-integer masks.
template <class Shape>
__attribute__((target_clones("avx2", "default"))) void markNear(const Shape shape, const NodeBuffer& nodes, int count, double reach, char* near) {
  const double *x = nodes.x, *y = nodes.y, *z = nodes.z;
  for (int k = 0; k < count; ++k) near[k] = mayTouch(shape, Vec3{x[k], y[k], z[k]}, reach);
}

}  // namespace

void ColliderPass::apply(Cloth& cloth) {
  if (!cloth.hasGrid()) return;
  // Collider by collider, so each shape's test is inlined in its own loop; a node meets the
  // colliders in their order either way.
  for (std::size_t c = 0; c < colliders_.size(); ++c)
    std::visit([&](const auto& shape) { collide(shape, caches_[c], cloth); }, colliders_[c]);
}

template <class Shape>
void ColliderPass::collide(const Shape& shape, MeshCache&, Cloth& cloth) {
  const NodeBuffer& positions = *cloth.positions;
  const int count = cloth.nodeCount();
  near_.resize((count + 7) / 8 * 8, 0);
  markNear(shape, positions, count, thickness_, near_.data());
  forEachNear([&](int k) { respondAt(k, contactWith(shape, positions.at(k)), cloth); });
}

// Calls visit(k) for each node k marked in near_, skipping eight unmarked nodes at a time.
template <class Visit>
void ColliderPass::forEachNear(const Visit& visit) const {
  for (std::size_t first = 0; first < near_.size(); first += 8) {
    std::uint64_t marks;
    std::memcpy(&marks, &near_[first], 8);
    for (; marks != 0; marks &= marks - 1) visit(static_cast<int>(first) + __builtin_ctzll(marks) / 8);
  }
}

void ColliderPass::respondAt(int k, const Contact& contact, Cloth& cloth) const {
  if (!(contact.distance < thickness_) || cloth.fixedNodes.contains(k)) return;
  NodeBuffer& positions = *cloth.positions;
  NodeBuffer& previous = *cloth.previousPositions;
  Vec3 p = positions.at(k), q = previous.at(k);
  respond(p, q, contact, thickness_, friction_);
  positions.set(k, p);
  previous.set(k, q);
}

void ColliderPass::collide(const MeshShape& shape, MeshCache& cache, Cloth& cloth) {
  NodeBuffer& positions = *cloth.positions;
  for (int k = 0; k < cloth.nodeCount(); ++k) respondAt(k, meshContact(shape, cache, k, positions.at(k)), cloth);
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
