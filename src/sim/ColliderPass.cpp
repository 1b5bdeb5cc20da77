#include "sim/ColliderPass.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "cloth/Cloth.h"

namespace {

constexpr int kBlock = 8;  // nodes taken at once: a 512-bit vector of coordinates

// Puts p back at `thickness` from the surface and corrects the previous position q (the node's
// velocity is p − q over the step): the speed into the surface goes, and friction takes from the
// speed along it as much as the push times the coefficient allows. Branch-free, as the pass runs it
// on a block of nodes at once.
inline void respond(Vec3& p, Vec3& q, const Contact& contact, double thickness, double friction) {
  const Vec3& n = contact.normal;
  const double push = thickness - contact.distance;
  const Vec3 out = p + push * n;
  const Vec3 move = out - q;
  const Vec3 along = move - dot(move, n) * n;
  const double grip = friction * push;
  const double slideSquared = dot(along, along);
  // Static: the step's sliding is undone; kinetic: it is cut by the grip. Both are worked out (the
  // kinetic one is NaN when nothing slides) and one is picked: which holds changes from node to
  // node too often for a branch to guess.
  const bool holds = slideSquared <= grip * grip;
  const double slide = std::sqrt(slideSquared);
  const Vec3 kept = ((slide - grip) / slide) * along;
  const Vec3 held = out - along, slid = out - (along - kept), slidFrom = slid - kept;
  p = {holds ? held.x : slid.x, holds ? held.y : slid.y, holds ? held.z : slid.z};
  q = {holds ? held.x : slidFrom.x, holds ? held.y : slidFrom.y, holds ? held.z : slidFrom.z};
}

// How far beyond the thickness a mesh gathers candidates: the least a node may move before it
// gathers again.
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
__attribute__((target_clones("avx2", "default"))) void markNear(const Shape shape, const NodeBuffer& nodes, int count,
                                                                double reach, char* near) {
  const double *x = nodes.x, *y = nodes.y, *z = nodes.z;
  for (int k = 0; k < count; ++k) near[k] = mayTouch(shape, Vec3{x[k], y[k], z[k]}, reach);
}

}  // namespace

// Marks the nodes that moved farther from where their candidates were gathered than the slack
// allows (all of them at first), vectorised like markNear.
__attribute__((target_clones("avx2", "default"))) void ColliderPass::markMoved(const MeshCache& cache, const NodeBuffer& nodes,
                                                                             int count, char* moved) {
  const double *x = nodes.x, *y = nodes.y, *z = nodes.z;
  const double *cx = cache.x.data(), *cy = cache.y.data(), *cz = cache.z.data();
  const double* slack = cache.slackSquared.data();
  for (int k = 0; k < count; ++k) {
    const double dx = x[k] - cx[k], dy = y[k] - cy[k], dz = z[k] - cz[k];
    moved[k] = dx * dx + dy * dy + dz * dz > slack[k];
  }
}

namespace {

// One block of free nodes, nodes[0] to nodes[kBlock − 1], against the shape: gathered into lanes,
// their contacts and responses worked out side by side (vectorised like markNear, in the widest
// vectors the processor has), and written back where a node is closer than the thickness.
template <class Shape>
__attribute__((target_clones("avx512f", "avx2", "default"))) void respondInBlock(
    const Shape shape, const int* nodes, NodeBuffer& positions, NodeBuffer& previous, double thickness, double friction) {
  double px[kBlock], py[kBlock], pz[kBlock], qx[kBlock], qy[kBlock], qz[kBlock];
  for (int i = 0; i < kBlock; ++i) {
    const int k = nodes[i];
    px[i] = positions.x[k], py[i] = positions.y[k], pz[i] = positions.z[k];
    qx[i] = previous.x[k], qy[i] = previous.y[k], qz[i] = previous.z[k];
  }
  for (int i = 0; i < kBlock; ++i) {
    Vec3 p{px[i], py[i], pz[i]}, q{qx[i], qy[i], qz[i]};
    const Contact contact = contactWith(shape, p);
    const bool touches = contact.distance < thickness;
    respond(p, q, contact, thickness, friction);
    px[i] = touches ? p.x : px[i], py[i] = touches ? p.y : py[i], pz[i] = touches ? p.z : pz[i];
    qx[i] = touches ? q.x : qx[i], qy[i] = touches ? q.y : qy[i], qz[i] = touches ? q.z : qz[i];
  }
  for (int i = 0; i < kBlock; ++i) {
    const int k = nodes[i];
    positions.x[k] = px[i], positions.y[k] = py[i], positions.z[k] = pz[i];
    previous.x[k] = qx[i], previous.y[k] = qy[i], previous.z[k] = qz[i];
  }
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
  const int count = cloth.nodeCount();
  near_.resize((count + 7) / 8 * 8, 0);
  markNear(shape, *cloth.positions, count, thickness_, near_.data());
  const int marked = gatherNear(cloth.fixedNodes);
  for (int first = 0; first < marked; first += kBlock)
    respondInBlock(shape, &nearNodes_[first], *cloth.positions, *cloth.previousPositions, thickness_, friction_);
}

// Lists the free nodes marked in near_ in nearNodes_, skipping eight unmarked nodes at a time, and
// pads the list to whole blocks with the last node again: a block reads all its nodes before it
// writes any, so a node twice in one block gets the same result twice. Returns how many it listed.
int ColliderPass::gatherNear(const FixedNodes& fixed) {
  nearNodes_.resize(near_.size() + kBlock);
  int marked = 0;
  for (std::size_t first = 0; first < near_.size(); first += 8) {
    std::uint64_t marks;
    std::memcpy(&marks, &near_[first], 8);
    for (; marks != 0; marks &= marks - 1) {
      const int k = static_cast<int>(first) + __builtin_ctzll(marks) / 8;
      nearNodes_[marked] = k;
      marked += !fixed.contains(k);
    }
  }
  for (int k = marked; k % kBlock != 0; ++k) nearNodes_[k] = nearNodes_[marked - 1];
  return marked;
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

// The mesh's contacts: the candidates of the nodes that moved out of their slack are gathered
// again, then each node with candidates meets the nearest of them.
void ColliderPass::collide(const MeshShape& shape, MeshCache& cache, Cloth& cloth) {
  const NodeBuffer& positions = *cloth.positions;
  const int count = cloth.nodeCount();
  if (cache.first.size() != static_cast<std::size_t>(count) + 1) cache = MeshCache(count);
  near_.resize((count + 7) / 8 * 8, 0);
  markMoved(cache, positions, count, near_.data());
  if (std::any_of(near_.begin(), near_.end(), [](char moved) { return moved; }))
    regather(*shape.mesh, cache, positions, count);
  const std::vector<int>& first = cache.first;
  for (int k = 0; k < count; ++k) {
    const int candidates = first[k + 1] - first[k];
    if (candidates > 0)
      respondAt(k, shape.mesh->contactAmong(positions.at(k), &cache.triangles[first[k]], candidates), cloth);
  }
}

ColliderPass::MeshCache::MeshCache(int count)
    : x(count), y(count), z(count), slackSquared(count, -1.0), first(count + 1, 0) {}

// The marked nodes' candidates anew, the others' as they were, into one array again.
void ColliderPass::regather(const TriangleMesh& mesh, MeshCache& cache, const NodeBuffer& positions,
                            int count) const {
  std::vector<int>& gathered = cache.spare;
  gathered.clear();
  for (int k = 0; k < count; ++k) {
    const int first = static_cast<int>(gathered.size());
    if (near_[k]) {
      const Vec3 p = positions.at(k);
      // Every triangle left out lies at least `clear` from p, so none comes within the thickness
      // until the node has moved `clear` − thickness.
      const double clear = mesh.trianglesNear(p, thickness_ + margin_, gathered);
      const double slack = std::max(clear - thickness_, 0.0);
      cache.x[k] = p.x, cache.y[k] = p.y, cache.z[k] = p.z;
      cache.slackSquared[k] = slack * slack;
    } else {
      const auto kept = cache.triangles.begin();
      gathered.insert(gathered.end(), kept + cache.first[k], kept + cache.first[k + 1]);
    }
    cache.first[k] = first;
  }
  cache.first[count] = static_cast<int>(gathered.size());
  std::swap(cache.triangles, gathered);
}
