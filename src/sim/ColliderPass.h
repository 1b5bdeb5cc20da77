#pragma once

#include <cstdint>
#include <vector>

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"
#include "scene/Collider.h"
#include "sim/CollisionPass.h"

// Keeps every free node of the cloth at least `thickness` from each collider's surface, with
// Coulomb friction. Position-based: a node that ends a step closer is put back at the thickness,
// and its previous position set so that the contact takes its speed into the surface away (no
// bounce, no energy gained). Along the surface it keeps still while the push it got times the
// friction coefficient outweighs the way it would slide, and slides by the difference beyond.
class ColliderPass : public CollisionPass {
public:
  static constexpr double kDefaultThickness = 0.02;  // units, about a tenth of the default spacing
  static constexpr double kDefaultFriction = 0.5;    // between cotton on wood and rubber on stone
  static constexpr double kMaxThickness = 1.0;
  static constexpr double kMaxFriction = 2.0;

  // No colliders, the default thickness and friction.
  ColliderPass() : ColliderPass({}, kDefaultThickness, kDefaultFriction) {}
  ColliderPass(std::vector<Collider> colliders, double thickness, double friction);

  void apply(Cloth& cloth) override;
  Vec3 supportAt(const Vec3& p) const override;

  const std::vector<Collider>& colliders() const { return colliders_; }
  // Counts the changes of the colliders, so that what is made of them is made again only then.
  int revision() const { return revision_; }
  double thickness() const { return thickness_; }
  double friction() const { return friction_; }
  // Each takes effect from the next step on, as the window edits the scene while the cloth runs.
  void setColliders(std::vector<Collider> colliders);
  // Within (0, kMaxThickness].
  void setThickness(double thickness);
  // Within [0, kMaxFriction].
  void setFriction(double friction) { friction_ = friction; }

private:
  // A mesh's candidate triangles for each node: those within reach of where the node stood when
  // they were gathered (x, y, z), kept while it stays within the slack of that point. A node
  // never gathered has a negative slack.
  struct MeshCache {
    MeshCache() = default;
    explicit MeshCache(int count);
    std::vector<double> x, y, z, slackSquared;
    std::vector<int> first;             // node k's candidates: triangles[first[k]] up to first[k + 1]
    std::vector<int> triangles, spare;  // spare: where they are gathered again
  };

  // A plane, sphere or box against the nodes from `first` (a multiple of 64) up to `last`.
  void collide(const Collider& collider, int first, int last, Cloth& cloth);
  void collide(const MeshShape& shape, MeshCache& cache, Cloth& cloth);
  // Puts node k, a free one, back out of a contact closer than the thickness.
  void respondAt(int k, const Contact& contact, Cloth& cloth) const;
  static void markMoved(const MeshCache& cache, const NodeBuffer& nodes, int count, std::int64_t* moved);
  void regather(const TriangleMesh& mesh, MeshCache& cache, const NodeBuffer& positions, int count) const;

  std::vector<Collider> colliders_;
  int revision_ = 0;
  std::vector<MeshCache> caches_;  // one per collider, used by meshes only
  // Per node, padded to whole 64: the marks of the latest sweep, as wide as a coordinate so that
  // they vectorise alongside.
  std::vector<std::int64_t> near_;
  double thickness_;
  double friction_;
  double margin_;
};
