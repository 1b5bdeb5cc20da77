#include "sim/ColliderPass.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <variant>

#include "cloth/Cloth.h"
#include "sim/VectorClones.h"

namespace {

constexpr int kGroup = 8;      // nodes answered at once: a 512-bit vector of coordinates
constexpr int kBlock = 64;     // nodes whose marks are looked over at once, as most have none
constexpr int kStretch = 512;  // nodes marked, then answered: 16 KiB of positions and marks, whole words of 64

// Puts p back at `thickness` from the surface and corrects the previous position q (the node's
// velocity is p − q over the step): the speed into the surface goes, and friction takes from the
// speed along it as much as the push times the coefficient allows. Branch-free, as the pass runs it
// on a group of nodes at once.
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
  ++revision_;
  caches_.assign(colliders_.size(), MeshCache());
}

// The mesh candidates were gathered for the old reach: gather them again.
void ColliderPass::setThickness(double thickness) {
  thickness_ = thickness;
  margin_ = marginFor(thickness);
  caches_.assign(colliders_.size(), MeshCache());
}

// Marks the nodes that moved farther from where their candidates were gathered than the slack
// allows (all of them at first), vectorised like the shapes' marking sweep.
LOOMWISE_AVX2_CLONES void ColliderPass::markMoved(const MeshCache& cache, const NodeBuffer& nodes, int count,
                                                  std::int64_t* moved) {
  const double *x = nodes.x, *y = nodes.y, *z = nodes.z;
  const double *cx = cache.x.data(), *cy = cache.y.data(), *cz = cache.z.data();
  const double* slack = cache.slackSquared.data();
  for (int k = 0; k < count; ++k) {
    const double dx = x[k] - cx[k], dy = y[k] - cy[k], dz = z[k] - cz[k];
    moved[k] = dx * dx + dy * dy + dz * dz > slack[k];
  }
}

namespace {

// The fixed nodes from `first` (a multiple of 64) up to `last` stay where they are: their marks go.
void unmarkFixed(const FixedNodes& fixed, int first, int last, std::int64_t* near) {
  const std::uint64_t* words = fixed.words();
  for (int w = first / 64; w * 64 < last; ++w)
    for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) near[w * 64 + __builtin_ctzll(bits)] = 0;
}

// The eight neighbouring nodes from k, at p (their positions) and q (their previous ones), against
// the shape: their contacts and responses worked out side by side, and written back where a node is
// marked (`near` not 0) and closer than the thickness; the other lanes keep their values bit for
// bit. Inlined in the sweep, as a call per group cost a tenth of the pass.
template <class Shape>
[[gnu::always_inline]] inline void respondInGroup(const Shape& shape, int k, NodeBuffer& positions,
                                                  NodeBuffer& previous, const std::int64_t* near, double thickness,
                                                  double friction) {
  double *px = positions.x + k, *py = positions.y + k, *pz = positions.z + k;
  double *qx = previous.x + k, *qy = previous.y + k, *qz = previous.z + k;
  const std::int64_t* marks = near + k;
  LOOMWISE_INDEPENDENT_ITERATIONS
  for (std::size_t i = 0; i < kGroup; ++i) {
    Vec3 p{px[i], py[i], pz[i]}, q{qx[i], qy[i], qz[i]};
    const Contact contact = contactWith(shape, p);
    const bool touches = (marks[i] != 0) & (contact.distance < thickness);
    respond(p, q, contact, thickness, friction);
    px[i] = touches ? p.x : px[i], py[i] = touches ? p.y : py[i], pz[i] = touches ? p.z : pz[i];
    qx[i] = touches ? q.x : qx[i], qy[i] = touches ? q.y : qy[i], qz[i] = touches ? q.z : qz[i];
  }
}

// A box met by nodes beside its faces only: what most groups of nodes resting on a box are, and
// half the work of any box's contacts.
struct BoxFaces {
  Box box;
};
inline Contact contactWith(const BoxFaces& faces, const Vec3& p) {
  double axesOutside;
  return contactBeside(outsideOf(faces.box, p, axesOutside));
}

// Whether each marked node of a group of eight lies beside a face of the box.
inline bool besideOnly(const Box& box, const std::int64_t* marks, const double* x, const double* y, const double* z) {
  std::int64_t elsewhere = 0;
  for (int i = 0; i < kGroup; ++i) {
    double axesOutside;
    outsideOf(box, Vec3{x[i], y[i], z[i]}, axesOutside);
    elsewhere |= marks[i] & (axesOutside != 1.0);
  }
  return elsewhere == 0;
}

// Marks in `near` each node from `first` up to `last` that may lie within `reach` of the shape.
template <class Shape>
inline void markNear(const Shape& shape, const NodeBuffer& positions, int first, int last, double reach,
                     std::int64_t* near) {
  const double *x = positions.x, *y = positions.y, *z = positions.z;
  for (int k = first; k < last; ++k) near[k] = mayTouch(shape, Vec3{x[k], y[k], z[k]}, reach);
}
// A plane across an axis, as floors and walls are, reads one coordinate: the other terms of the
// distance are zeros. Where one of them is not finite the full sum is not a number, and a node
// marked here is left alone by the answer, which works the full distance out.
inline void markNear(const Plane& plane, const NodeBuffer& positions, int first, int last, double reach,
                     std::int64_t* near) {
  const double n[3] = {plane.normal.x, plane.normal.y, plane.normal.z};
  const int axis = n[0] != 0.0 ? 0 : n[1] != 0.0 ? 1 : 2;
  if (n[(axis + 1) % 3] != 0.0 || n[(axis + 2) % 3] != 0.0)
    return markNear<Plane>(plane, positions, first, last, reach, near);
  const double* c = axis == 0 ? positions.x : axis == 1 ? positions.y : positions.z;
  const double at = axis == 0 ? plane.point.x : axis == 1 ? plane.point.y : plane.point.z, way = n[axis];
  for (int k = first; k < last; ++k) near[k] = way * (c[k] - at) < reach;
}

// The nodes from `first` (a multiple of 64) up to `last` against the shape. First it marks in
// `near` each free node that may lie within reach: branch-free, as most nodes are out of reach,
// and a branch per node would mispredict at every edge of a contact region. Then a group of eight
// neighbouring nodes with any of them marked meets the shape at once: contact regions are patches
// of the grid, so few lanes go spare, and the buffers' groups of eight are aligned. The shape is
// copied so that the marks cannot alias it.
template <class Shape>
LOOMWISE_VECTOR_CLONES void collideStretch(
    const Shape shape, NodeBuffer& positions, NodeBuffer& previous, const FixedNodes& fixed, int first, int last,
    double thickness, double friction, std::int64_t* near) {
  markNear(shape, positions, first, last, thickness, near);
  unmarkFixed(fixed, first, last, near);
  for (int k = first; k < last; k += kGroup) {
    if (k % kBlock == 0) {
      std::int64_t anyInBlock = 0;
      for (int i = 0; i < kBlock; ++i) anyInBlock |= near[k + i];
      if (anyInBlock == 0) {
        k += kBlock - kGroup;
        continue;
      }
    }
    std::int64_t any = 0;  // the marks past the last node are 0
    for (int i = 0; i < kGroup; ++i) any |= near[k + i];
    if (any == 0) continue;
    if constexpr (std::is_same_v<Shape, Box>)
      if (besideOnly(shape, near + k, positions.x + k, positions.y + k, positions.z + k)) {
        respondInGroup(BoxFaces{shape}, k, positions, previous, near, thickness, friction);
        continue;
      }
    respondInGroup(shape, k, positions, previous, near, thickness, friction);
  }
}

}  // namespace

// A node meets the colliders in their order. Each run of shapes between meshes takes the cloth a
// stretch of nodes at a time, every shape of the run on one stretch, so that the stretch's nodes
// and marks stay in the nearest cache from marking to answering; a mesh takes the cloth whole.
void ColliderPass::apply(Cloth& cloth) {
  if (!cloth.hasGrid()) return;
  const int count = cloth.nodeCount();
  near_.resize((count + kBlock - 1) / kBlock * kBlock, 0);
  std::fill(near_.begin() + count, near_.end(), 0);
  for (std::size_t c = 0; c < colliders_.size();) {
    std::size_t end = c;
    while (end < colliders_.size() && !std::holds_alternative<MeshShape>(colliders_[end])) ++end;
    if (end == c) {
      collide(std::get<MeshShape>(colliders_[c]), caches_[c], cloth);
      ++c;
      continue;
    }
    for (int first = 0; first < count; first += kStretch)
      for (std::size_t s = c; s < end; ++s) collide(colliders_[s], first, std::min(count, first + kStretch), cloth);
    c = end;
  }
}

void ColliderPass::collide(const Collider& collider, int first, int last, Cloth& cloth) {
  std::visit(
      [&](const auto& shape) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(shape)>, MeshShape>)
          collideStretch(shape, *cloth.positions, *cloth.previousPositions, cloth.fixedNodes, first, last, thickness_,
                         friction_, near_.data());
      },
      collider);
}

Vec3 ColliderPass::supportAt(const Vec3& p) const {
  constexpr double kResting = 1.05;  // of the thickness: where the pass leaves a node it answered, and a little
  const double reach = kResting * thickness_;
  std::vector<int> near;
  for (const Collider& collider : colliders_) {
    const Contact contact = std::visit(
        [&](const auto& shape) {
          if constexpr (std::is_same_v<std::decay_t<decltype(shape)>, MeshShape>) {
            near.clear();
            shape.mesh->trianglesNear(p, reach, near);
            return shape.mesh->contactAmong(p, near);
          } else {
            return contactWith(shape, p);
          }
        },
        collider);
    if (contact.distance < reach) return contact.normal;
  }
  return {};
}

void ColliderPass::respondAt(int k, const Contact& contact, Cloth& cloth) const {
  if (!(contact.distance < thickness_)) return;
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
  markMoved(cache, positions, count, near_.data());
  if (std::any_of(near_.begin(), near_.end(), [](std::int64_t moved) { return moved != 0; }))
    regather(*shape.mesh, cache, positions, count);
  const std::vector<int>& first = cache.first;
  for (int k = 0; k < count; ++k) {
    const int candidates = first[k + 1] - first[k];
    if (candidates > 0 && !cloth.fixedNodes.contains(k))
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
