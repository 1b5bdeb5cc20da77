#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "cloth/Vec3.h"
#include "sim/CollisionPass.h"
#include "sim/PairScreen.h"
#include "sim/SpatialHash.h"

class Cloth;
class NodeBuffer;

// Keeps the sheet `thickness` off itself: every node from every triangle that does not hold it, and
// every edge from every edge it does not share a node with (two triangles per quad, split along the
// diagonal from (r, c) to (r + 1, c + 1), as the caches write them). Nodes and edges farther than
// the thickness from everything cannot pass through a triangle without one of the two coming near.
// Two edges nearest at an end of one are a node near an edge, which the node's pairs with the
// triangles along that edge answer; only edges nearest between their ends are pushed as edges.
//
// Each step: no free node moves farther than kMaxMoveRatio thicknesses (80 units/s at the default
// thickness, above the speed a falling sheet settles at); candidate pairs come from a spatial hash
// built with a margin, kept while each node stays within half the margin of where it was then,
// and added to for a node that strays farther, by widening its own reach, until widening would
// cost about what a new broad phase does; each pair nearer than the thickness, or that crossed
// during the step (its separation, taken as moving straight, came that near and changed sides),
// is pushed apart to the thickness along the way it was apart at the end of the last step, so a
// pair that crossed goes back rather than on through. The push is shared by weight among the
// pair's nodes (pinned and held ones take none). As with the colliders it moves the previous
// positions too, and only the speed of approach is taken away, with Coulomb friction along the
// contact: no bounce, no energy gained. Sweeps repeat while pushes stay large, and a later sweep
// looks again only at pairs with a node pushed that far since, and in full only at those that the
// weights of their last full look show nearer than the thickness or on the other side.
// Each node keeps an odometer of all the way it has gone (moves, jumps and pushes); a pair measured
// clear is not measured again until its nodes have together gone its clearance, as until then it
// cannot have come within the thickness. The first sweep screens all pairs of a kind at once with
// the cheap tests (PairScreen) and looks in full, in order, only at those due and not shown clear.
// A pair measured apart may be pushed through by the pushes after it in the step; after the sweeps
// each pair whose nodes have gone farther since than it was apart, and that changed sides, is looked
// at once more, as the next step, starting from this one's end, could not tell it crossed.
class SelfCollisionPass : public CollisionPass {
public:
  static constexpr int kIterations = 6;           // Gauss-Seidel sweeps at most, fewer when all is clear
  static constexpr double kTolerance = 0.05;      // a push under this share of the thickness asks no new look
  static constexpr double kMaxMoveRatio = 2.0;    // the most a node moves in a step, in thicknesses
  // The broad phase's margin: wide enough that, straying as fast as since the last broad phase, all
  // but one node in kWideningShare take kStepsPerGathering steps to stray half of it; so a heap at
  // rest gathers few pairs, and a sheet in the wind does not gather again every few steps. From
  // kMarginRatio (and at first) to kMostMarginRatio thicknesses.
  static constexpr double kStepsPerGathering = 25.0;
  static constexpr double kMarginRatio = 0.5;
  static constexpr double kMostMarginRatio = 8.0;
  // A new broad phase rather than widening once the widenings since the last outnumber one node in
  // kWideningShare, or a node strays kFarthestStray margins.
  static constexpr int kWideningShare = 16;
  static constexpr double kFarthestStray = 8.0;

  SelfCollisionPass(double thickness, double friction);

  void apply(Cloth& cloth) override;
  // The passes run before this one: a node resting on one of their surfaces takes no share of a
  // push into it, which the pair's other nodes take instead. Not owned.
  void setSupports(std::vector<const CollisionPass*> passes) { supports_ = std::move(passes); }

  double thickness() const { return thickness_; }
  double friction() const { return friction_; }
  // Pairs the narrow phase checks now, and how often the broad phase has run.
  std::size_t candidatePairs() const { return nodeTriangle_.size() + edgeEdge_.size(); }
  long long broadPhases() const { return broadPhases_; }

private:
  // Candidate pairs of one kind: each pair's nodes (the node, then the triangle's; or one edge's
  // ends, then the other's), the reading of its nodes' odometers from which it is due to be measured
  // again, and a mark: whether this step's screening left it to be looked at in full, and after the
  // sweeps whether it may have been pushed through.
  struct Candidates {
    std::vector<std::array<int, 4>> nodes;
    std::vector<double> due;
    std::vector<std::uint8_t> look;
    std::size_t size() const { return nodes.size(); }
    void clear() {
      nodes.clear();
      due.clear();
    }
    void add(const std::array<int, 4>& pair, double dueAt) {
      nodes.push_back(pair);
      due.push_back(dueAt);
    }
  };
  // Up to four nodes and the weights that make the pair's separation Σ weight × position.
  struct Stencil {
    std::array<int, 4> nodes;
    std::array<double, 4> weights;
  };
  // A pair within reach, as its last full look found it: the stencil of its nearest points, its
  // separation by those weights at the end of the last step, its place among the candidates, and
  // the count of pushes when it was last resolved.
  struct Near {
    Stencil stencil;
    Vec3 before;
    std::size_t index;
    long long resolvedAt;
  };
  // A full look at one kind's pair; returns the push it gave, or kClear (see below). One that gets as
  // far as the pair's nearest points leaves their stencil, and the separation they had at the end of
  // the last step, in `near`.
  using Resolver = double (SelfCollisionPass::*)(const std::array<int, 4>& nodes, double& due, Near& near,
                                                 Cloth& cloth);
  using Screener = void (*)(const PairScreen&, const std::array<int, 4>*, double*, std::uint8_t*, std::size_t);

  void layOutTopology(const Cloth& cloth);
  // Holds each free node within kMaxMoveRatio thicknesses of where it was; false for a sheet with a
  // coordinate that is not finite or a billion units out.
  bool clampMoves(Cloth& cloth);
  // Gathers the candidates afresh at first, and when nodes have strayed so far or so often that
  // widening their reach would cost about what a broad phase does; otherwise widens theirs.
  void keepCandidates(const NodeBuffer& positions);
  void broadPhase(const NodeBuffer& positions);
  double chooseMargin(const NodeBuffer& positions) const;
  // Widens node k's reach to the broad phase's and `to` more: adds the pairs holding k that lay that
  // near when the broad phase ran and beyond the reach of all their nodes until now.
  void widen(int k, double to);
  // Adds a pair that lay `apart` when the broad phase ran, within `within` and beyond the reach of
  // every node of its until now. It is measured in this step's first sweep: the distance is the
  // broad phase's, not today's.
  static constexpr double kDueNow = 0.0;
  bool isNewlyWithin(double apart, double within, const std::array<int, 4>& nodes) const;
  void addIfNewlyWithin(int node, const std::array<int, 3>& triangle, double within);
  // How far apart a node and a triangle, or two edges, lay when the broad phase ran; infinity when
  // a cheap test shows them farther than `within`.
  double apartWhenBuilt(int node, const std::array<int, 3>& triangle, double within) const;
  double apartWhenBuilt(const std::array<int, 2>& first, const std::array<int, 2>& second, double within) const;
  // Each returns the push it gave the pair, or kClear when the pair has been farther apart than the
  // thickness all the step; a pair found clear is given the reading at which it falls due.
  static constexpr double kClear = -1.0;
  static constexpr double kRounding = 1e-6;  // of the thickness: what a distance may be off by
  double resolveNodeTriangle(const std::array<int, 4>& nodes, double& due, Near& near, Cloth& cloth);
  double resolveEdgeEdge(const std::array<int, 4>& nodes, double& due, Near& near, Cloth& cloth);
  // The first sweep over one kind: screens every candidate, looks in full at those the screen leaves
  // and adds those not clear to `near`; returns the largest push.
  double sweepFirst(Candidates& pairs, Screener screen, Resolver resolve, std::vector<Near>& near, Cloth& cloth);
  // Looks once more at each pair whose nodes have gone, since it was last measured, farther than it
  // was apart then (pushes after it, in the step) and that lies on the other side of itself (by the
  // sign of `side`) than at the end of the last step: only such a pair can have gone through.
  using Side = double (*)(const Vec3&, const Vec3&, const Vec3&, const Vec3&);
  void lookAgainIfPushedThrough(Candidates& pairs, Side side, Resolver resolve, Cloth& cloth);
  // A later sweep's: the pair again only if one of its nodes has been pushed since it was last resolved.
  double resolveAgain(Near& near, Candidates& pairs, Resolver resolve, Cloth& cloth);
  // The reading at which a pair `apart` now falls due: until the nodes' odometers add up to that, it
  // is still farther apart than the thickness and the moves this step.
  double dueAt(const std::array<int, 4>& nodes, double apart) const;
  // `distance`: set to how far apart the pair is left (the thickness once pushed). Sets the pair's
  // separation at the end of the last step.
  double separate(Near& pair, Cloth& cloth, double& distance);
  // The way to push a pair whose separation is `d` now and was `before` (the same weights on the
  // positions of the last step), or zero when it is clear.
  Vec3 pushDirection(const Vec3& d, const Vec3& before) const;
  // Takes the share away from each node of the pair that a push along n would drive into a surface
  // it rests on.
  void holdUp(const Stencil& stencil, const Vec3& n, std::array<double, 4>& share, const NodeBuffer& positions);
  // The way out of the surface node k rests on this step, or zero; asked of the passes once a step.
  Vec3 supportOf(int k, const Vec3& p);

  double thickness_;
  double friction_;
  double margin_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::array<int, 3>> triangles_;
  std::vector<std::array<int, 2>> edges_;
  std::vector<std::vector<int>> trianglesAt_, edgesAt_;  // those holding each node
  std::vector<Vec3> last_;        // every node as the pass left it at the end of the last step
  std::vector<double> moved_;     // how far each node has come from there this step, at most
  std::vector<double> odometer_;  // and how far in all since the topology was laid out
  // The broad phase's: every node where it was, each triangle's and edge's box grown by the reach
  // filed with the nodes in hashes, and how far beyond that reach each node's has been widened since.
  std::vector<Vec3> built_;
  long long builtAt_ = 0;  // the step it ran in
  double reach_ = 0.0;
  SpatialHash triangleHash_, edgeHash_, nodeHash_;
  std::vector<Bounds> boxes_;
  std::vector<double> widened_;
  std::vector<int> strayed_;
  mutable std::vector<double> strays_;  // how far each node has strayed since, sorted in part
  std::size_t widenings_ = 0;
  // The last query each triangle, edge and node was found by, so that each pair comes once.
  std::vector<long long> seenTriangle_, seenEdge_, seenNode_;
  long long query_ = 0;
  Candidates nodeTriangle_, edgeEdge_;
  std::vector<Near> nearNodeTriangle_, nearEdgeEdge_;  // this step's candidates within reach
  long long pushes_ = 0;              // pushes given so far
  std::vector<long long> pushedAt_;   // and the count when each node was last pushed
  long long broadPhases_ = 0;
  std::vector<const CollisionPass*> supports_;
  long long applied_ = 0;             // steps so far
  std::vector<Vec3> support_;         // each node's way out, found in the step
  std::vector<long long> supportAsked_;  // numbered so
};
