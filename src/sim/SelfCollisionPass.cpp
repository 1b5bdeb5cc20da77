#include "sim/SelfCollisionPass.h"

#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"
#include "sim/ClosestPoints.h"

namespace {

Bounds boundsOf(std::initializer_list<Vec3> points, double grow) {
  Bounds b{*points.begin(), *points.begin()};
  for (const Vec3& p : points) {
    b.lower = {std::min(b.lower.x, p.x), std::min(b.lower.y, p.y), std::min(b.lower.z, p.z)};
    b.upper = {std::max(b.upper.x, p.x), std::max(b.upper.y, p.y), std::max(b.upper.z, p.z)};
  }
  const Vec3 g{grow, grow, grow};
  return {b.lower - g, b.upper + g};
}

// Finite and within a billion units of the origin, where the hash's cells can still be numbered.
bool isSane(const Vec3& p) {
  constexpr double kFar = 1e9;
  return std::fabs(p.x) < kFar && std::fabs(p.y) < kFar && std::fabs(p.z) < kFar;
}

// How far apart the two segments' boxes are along the axis they are farthest apart on (negative
// when they overlap on every axis): no two points of the segments are nearer.
double gapBetween(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1) {
  return std::max({std::min(p0.x, p1.x) - std::max(q0.x, q1.x), std::min(q0.x, q1.x) - std::max(p0.x, p1.x),
                   std::min(p0.y, p1.y) - std::max(q0.y, q1.y), std::min(q0.y, q1.y) - std::max(p0.y, p1.y),
                   std::min(p0.z, p1.z) - std::max(q0.z, q1.z), std::min(q0.z, q1.z) - std::max(p0.z, p1.z)});
}

// Whether the lines through the two segments are `gap` or more apart, which no two points of the
// segments can be nearer than (never so for parallel lines).
bool linesApart(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1, double gap) {
  const Vec3 n = cross(p1 - p0, q1 - q0);
  const double across = dot(p0 - q0, n);
  return across * across >= gap * gap * dot(n, n) && dot(n, n) > 0.0;
}

// How far apart the lines through the two segments are (0 for parallel lines).
double lineDistance(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1) {
  const Vec3 n = cross(p1 - p0, q1 - q0);
  const double length = norm(n);
  return length > 0.0 ? std::fabs(dot(p0 - q0, n)) / length : 0.0;
}

// How far apart the segments' points at `st` are.
double distanceAt(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1, const SegmentParameters& st) {
  return norm((p0 + st.s * (p1 - p0)) - (q0 + st.t * (q1 - q0)));
}

// Which side of triangle abc p lies on (the sign), and of edge q0q1 edge p0p1 lies on.
double heightOverTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
  return dot(p - a, cross(b - a, c - a));
}

double volumeBetweenEdges(const Vec3& p0, const Vec3& p1, const Vec3& q0, const Vec3& q1) {
  return dot(p0 - q0, cross(p1 - p0, q1 - q0));
}

bool sharesNode(const std::array<int, 2>& e, const std::array<int, 2>& f) {
  return e[0] == f[0] || e[0] == f[1] || e[1] == f[0] || e[1] == f[1];
}

// Whether p lies `gap` or more outside the box of a, b and c along an axis.
bool outside(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c, double gap) {
  return p.x + gap <= std::min({a.x, b.x, c.x}) || p.x - gap >= std::max({a.x, b.x, c.x}) ||
         p.y + gap <= std::min({a.y, b.y, c.y}) || p.y - gap >= std::max({a.y, b.y, c.y}) ||
         p.z + gap <= std::min({a.z, b.z, c.z}) || p.z - gap >= std::max({a.z, b.z, c.z});
}

}  // namespace

Vec3 SelfCollisionPass::pushDirection(const Vec3& d, const Vec3& before) const {
  const double h2 = thickness_ * thickness_;
  const double squared = dot(d, d), beforeSquared = dot(before, before);
  const bool sameSide = dot(d, before) > 0.0;
  if (squared < h2 && sameSide) return (1.0 / std::sqrt(squared)) * d;
  if (sameSide || !(beforeSquared > 0.0)) return {};
  // On the other side now: a crossing if the separation, taken as moving straight over the step,
  // came within the thickness (a pair that only went round the other's edge at a distance did not).
  if (squared >= h2) {
    const Vec3 path = d - before;
    const double t = std::min(1.0, std::max(0.0, -dot(before, path) / dot(path, path)));
    const Vec3 nearest = before + t * path;
    if (dot(nearest, nearest) >= h2) return {};
  }
  return (1.0 / std::sqrt(beforeSquared)) * before;
}

SelfCollisionPass::SelfCollisionPass(double thickness, double friction)
    : thickness_(thickness), friction_(friction), margin_(kMarginRatio * thickness) {}

void SelfCollisionPass::apply(Cloth& cloth) {
  if (!cloth.hasGrid() || cloth.diverged) return;
  if (cloth.width != width_ || cloth.height != height_) layOutTopology(cloth);
  ++applied_;
  // A sheet with a coordinate gone to infinity, or nearly, has diverged; the step's check tells it.
  if (!clampMoves(cloth)) return;
  const NodeBuffer& positions = *cloth.positions;
  keepCandidates(positions);
  // Gauss-Seidel: each pair sees its neighbours' pushes at once. The first sweep goes through every
  // candidate and keeps those near enough to matter; the next sweeps go through these only, until
  // nothing is left to push by more than kTolerance of the thickness.
  nearNodeTriangle_.clear();
  nearEdgeEdge_.clear();
  double largest = sweepFirst(nodeTriangle_, screenNodeTriangles, &SelfCollisionPass::resolveNodeTriangle,
                              nearNodeTriangle_, cloth);
  largest = std::max(largest, sweepFirst(edgeEdge_, screenEdgePairs, &SelfCollisionPass::resolveEdgeEdge,
                                         nearEdgeEdge_, cloth));
  for (int sweep = 1; sweep < kIterations && largest >= kTolerance * thickness_; ++sweep) {
    largest = 0.0;
    for (Near& near : nearNodeTriangle_)
      largest = std::max(largest, resolveAgain(near, nodeTriangle_, &SelfCollisionPass::resolveNodeTriangle, cloth));
    for (Near& near : nearEdgeEdge_)
      largest = std::max(largest, resolveAgain(near, edgeEdge_, &SelfCollisionPass::resolveEdgeEdge, cloth));
  }
  // A pair measured apart earlier in the step may since have been pushed through by the pushes after
  // it; the next step, taking this step's end for where it was, would not see it cross, so it is
  // looked at once more.
  lookAgainIfPushedThrough(nodeTriangle_, heightOverTriangle, &SelfCollisionPass::resolveNodeTriangle, cloth);
  lookAgainIfPushedThrough(edgeEdge_, volumeBetweenEdges, &SelfCollisionPass::resolveEdgeEdge, cloth);
  for (int k = 0; k < cloth.nodeCount(); ++k) last_[k] = positions.at(k);
}

void SelfCollisionPass::layOutTopology(const Cloth& cloth) {
  width_ = cloth.width;
  height_ = cloth.height;
  triangles_.clear();
  edges_.clear();
  for (int r = 0; r < height_; ++r)
    for (int c = 0; c < width_; ++c) {
      const int a = r * width_ + c, b = a + width_;
      if (c + 1 < width_) edges_.push_back({a, a + 1});
      if (r + 1 == height_) continue;
      edges_.push_back({a, b});
      if (c + 1 == width_) continue;
      edges_.push_back({a, b + 1});
      triangles_.push_back({a, b, b + 1});
      triangles_.push_back({a, b + 1, a + 1});
    }
  trianglesAt_.assign(cloth.nodeCount(), {});
  edgesAt_.assign(cloth.nodeCount(), {});
  for (int t = 0; t < static_cast<int>(triangles_.size()); ++t)
    for (const int k : triangles_[t]) trianglesAt_[k].push_back(t);
  for (int e = 0; e < static_cast<int>(edges_.size()); ++e)
    for (const int k : edges_[e]) edgesAt_[k].push_back(e);
  last_.resize(cloth.nodeCount());
  moved_.assign(cloth.nodeCount(), 0.0);
  odometer_.assign(cloth.nodeCount(), 0.0);
  pushedAt_.assign(cloth.nodeCount(), 0);
  support_.assign(cloth.nodeCount(), Vec3{});
  supportAsked_.assign(cloth.nodeCount(), -1);
  for (int k = 0; k < cloth.nodeCount(); ++k) last_[k] = cloth.previousPositions->at(k);
  built_.clear();
  nodeTriangle_.clear();
  edgeEdge_.clear();
}

bool SelfCollisionPass::clampMoves(Cloth& cloth) {
  NodeBuffer& positions = *cloth.positions;
  const NodeBuffer& previous = *cloth.previousPositions;
  const double most = kMaxMoveRatio * thickness_;
  const double placed = 2.0 * most;  // farther than a step and a collider's push take a node
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = positions.at(k);
    if (!isSane(p)) return false;
    // A node put somewhere (a reset, a hold) starts from there: it was placed, not moved by the step.
    const Vec3 q = previous.at(k);
    if (dot(q - last_[k], q - last_[k]) > placed * placed) {
      odometer_[k] += norm(q - last_[k]);
      last_[k] = q;
    }
    if (cloth.fixedNodes.contains(k)) {
      moved_[k] = norm(p - last_[k]);
    } else {
      const Vec3 move = p - last_[k];
      const double length = norm(move);
      if (length > most) positions.set(k, last_[k] + (most / length) * move);
      moved_[k] = std::min(length, most);
    }
    odometer_[k] += moved_[k];
  }
  return true;
}

// A node within (margin + its widening) / 2 of where the broad phase found it leaves out no pair it
// is in: the pair lay beyond the reach and the widest widening of its nodes then, and its two nodes
// that strayed most have together gone less than the margin and that widening since.
void SelfCollisionPass::keepCandidates(const NodeBuffer& positions) {
  if (built_.empty()) return broadPhase(positions);
  strayed_.clear();
  for (int k = 0; k < positions.count(); ++k) {
    const Vec3 d = positions.at(k) - built_[k];
    const double allowed = 0.5 * (margin_ + widened_[k]);
    if (dot(d, d) >= allowed * allowed) strayed_.push_back(k);
  }
  if (strayed_.empty()) return;
  widenings_ += strayed_.size();
  if (widenings_ * kWideningShare > static_cast<std::size_t>(positions.count())) return broadPhase(positions);
  // Widened twice as far as it has strayed, a node may stray half the margin more before it is again.
  for (const int k : strayed_) {
    const double strayed = norm(positions.at(k) - built_[k]);
    if (strayed > kFarthestStray * margin_) return broadPhase(positions);
    widen(k, 2.0 * strayed);
  }
}

void SelfCollisionPass::broadPhase(const NodeBuffer& positions) {
  ++broadPhases_;
  margin_ = chooseMargin(positions);
  builtAt_ = applied_;
  const int count = positions.count();
  built_.resize(count);
  for (int k = 0; k < count; ++k) built_[k] = positions.at(k);
  widened_.assign(count, 0.0);
  widenings_ = 0;
  // A pair nearer than the thickness now was nearer than the thickness and the margin when gathered,
  // as long as neither moved half the margin since.
  reach_ = thickness_ + margin_;
  // Cells a few times the reach: a heap's layers lie a thickness apart, and a cell as large as a
  // triangle would hold a dozen of them. Not much below a triangle, though, or each fills too many.
  double longest = 0.0;
  for (const auto& e : edges_) longest = std::max(longest, norm(built_[e[1]] - built_[e[0]]));
  const double cell = std::max(2.0 * reach_, 0.5 * longest);
  boxes_.clear();
  for (const auto& t : triangles_) boxes_.push_back(boundsOf({built_[t[0]], built_[t[1]], built_[t[2]]}, reach_));
  triangleHash_.build(boxes_, cell);
  boxes_.clear();
  for (const auto& e : edges_) boxes_.push_back(boundsOf({built_[e[0]], built_[e[1]]}, reach_));
  edgeHash_.build(boxes_, cell);
  boxes_.clear();
  for (const Vec3& p : built_) boxes_.push_back({p, p});
  nodeHash_.build(boxes_, cell);
  seenTriangle_.assign(triangles_.size(), -1);
  seenEdge_.assign(edges_.size(), -1);
  seenNode_.assign(count, -1);
  // Each node looks in its own cell, where every triangle within reach of it is filed; each edge in
  // the cells of its own box, which hold the point of it nearest any edge within reach.
  nodeTriangle_.clear();
  for (int k = 0; k < count; ++k) {
    ++query_;
    triangleHash_.query(built_[k], built_[k], [&](int t) {
      const auto& tri = triangles_[t];
      if (seenTriangle_[t] == query_ || tri[0] == k || tri[1] == k || tri[2] == k) return;
      seenTriangle_[t] = query_;
      const double apart = apartWhenBuilt(k, tri, reach_);
      if (!(apart < reach_)) return;
      const std::array<int, 4> nodes{k, tri[0], tri[1], tri[2]};
      nodeTriangle_.add(nodes, dueAt(nodes, apart));
    });
  }
  edgeEdge_.clear();
  for (int e = 0; e < static_cast<int>(edges_.size()); ++e) {
    const auto& first = edges_[e];
    const Bounds own = boundsOf({built_[first[0]], built_[first[1]]}, 0.0);
    ++query_;
    edgeHash_.query(own.lower, own.upper, [&](int f) {
      const auto& second = edges_[f];
      if (f <= e || seenEdge_[f] == query_ || sharesNode(first, second)) return;
      seenEdge_[f] = query_;
      const double apart = apartWhenBuilt(first, second, reach_);
      if (!(apart < reach_)) return;
      const std::array<int, 4> nodes{first[0], first[1], second[0], second[1]};
      edgeEdge_.add(nodes, dueAt(nodes, apart));
    });
  }
}

double SelfCollisionPass::chooseMargin(const NodeBuffer& positions) const {
  const double least = kMarginRatio * thickness_;
  if (built_.empty()) return least;
  strays_.resize(built_.size());
  for (int k = 0; k < positions.count(); ++k) strays_[k] = norm(positions.at(k) - built_[k]);
  const auto fast = strays_.end() - 1 - strays_.size() / kWideningShare;
  std::nth_element(strays_.begin(), fast, strays_.end());
  const double perStep = *fast / static_cast<double>(applied_ - builtAt_);
  return std::clamp(2.0 * kStepsPerGathering * perStep, least, kMostMarginRatio * thickness_);
}

void SelfCollisionPass::widen(int k, double to) {
  const double within = reach_ + to;
  // Node k against the triangles not holding it.
  const Vec3 grow{to, to, to};
  ++query_;
  triangleHash_.query(built_[k] - grow, built_[k] + grow, [&](int t) {
    const auto& tri = triangles_[t];
    if (seenTriangle_[t] == query_ || tri[0] == k || tri[1] == k || tri[2] == k) return;
    seenTriangle_[t] = query_;
    addIfNewlyWithin(k, tri, within);
  });
  // The triangles holding k against the nodes they do not hold.
  for (const int t : trianglesAt_[k]) {
    const auto& tri = triangles_[t];
    const Bounds box = boundsOf({built_[tri[0]], built_[tri[1]], built_[tri[2]]}, within);
    ++query_;
    nodeHash_.query(box.lower, box.upper, [&](int m) {
      if (seenNode_[m] == query_ || tri[0] == m || tri[1] == m || tri[2] == m) return;
      seenNode_[m] = query_;
      addIfNewlyWithin(m, tri, within);
    });
  }
  // The edges holding k against the edges sharing no node with them, each pair in the broad phase's order.
  for (const int e : edgesAt_[k]) {
    const Bounds own = boundsOf({built_[edges_[e][0]], built_[edges_[e][1]]}, to);
    ++query_;
    edgeHash_.query(own.lower, own.upper, [&](int f) {
      if (seenEdge_[f] == query_ || sharesNode(edges_[e], edges_[f])) return;
      seenEdge_[f] = query_;
      const auto& first = edges_[std::min(e, f)];
      const auto& second = edges_[std::max(e, f)];
      const std::array<int, 4> nodes{first[0], first[1], second[0], second[1]};
      if (isNewlyWithin(apartWhenBuilt(first, second, within), within, nodes)) edgeEdge_.add(nodes, kDueNow);
    });
  }
  widened_[k] = to;
}

void SelfCollisionPass::addIfNewlyWithin(int node, const std::array<int, 3>& triangle, double within) {
  const std::array<int, 4> nodes{node, triangle[0], triangle[1], triangle[2]};
  if (isNewlyWithin(apartWhenBuilt(node, triangle, within), within, nodes)) nodeTriangle_.add(nodes, kDueNow);
}

bool SelfCollisionPass::isNewlyWithin(double apart, double within, const std::array<int, 4>& nodes) const {
  double widest = 0.0;
  for (const int k : nodes) widest = std::max(widest, widened_[k]);
  return apart < within && !(apart < reach_ + widest);
}

// The cheap tests rule out only pairs a hair beyond `within`, so that whether a pair lies within a
// reach never depends on which test told it: a pair is left to the reach it was first found within.
double SelfCollisionPass::apartWhenBuilt(int node, const std::array<int, 3>& triangle, double within) const {
  const Vec3 p = built_[node], a = built_[triangle[0]], b = built_[triangle[1]], c = built_[triangle[2]];
  if (outside(p, a, b, c, within + kRounding * thickness_)) return INFINITY;
  const TriangleWeights w = closestOnTriangle(p, a, b, c);
  return norm(p - (w.a * a + w.b * b + w.c * c));
}

double SelfCollisionPass::apartWhenBuilt(const std::array<int, 2>& first, const std::array<int, 2>& second,
                                         double within) const {
  const Vec3 p0 = built_[first[0]], p1 = built_[first[1]], q0 = built_[second[0]], q1 = built_[second[1]];
  const double beyond = within + kRounding * thickness_;
  if (gapBetween(p0, p1, q0, q1) >= beyond || linesApart(p0, p1, q0, q1, beyond)) return INFINITY;
  const SegmentParameters st = closestBetweenSegments(p0, p1, q0, q1);
  return distanceAt(p0, p1, q0, q1, st);
}

double SelfCollisionPass::sweepFirst(Candidates& pairs, Screener screen, Resolver resolve, std::vector<Near>& near,
                                     Cloth& cloth) {
  pairs.look.resize(pairs.size());
  const PairScreen inputs{cloth.positions->x, cloth.positions->y, cloth.positions->z, odometer_.data(),
                          moved_.data(),        thickness_,          (1.0 + kRounding) * thickness_};
  screen(inputs, pairs.nodes.data(), pairs.due.data(), pairs.look.data(), pairs.size());
  double largest = 0.0;
  Near found{};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (!pairs.look[i]) continue;
    const double push = (this->*resolve)(pairs.nodes[i], pairs.due[i], found, cloth);
    if (push >= 0.0) {
      found.index = i;
      found.resolvedAt = pushes_;
      near.push_back(found);
    }
    largest = std::max(largest, push);
  }
  return largest;
}

void SelfCollisionPass::lookAgainIfPushedThrough(Candidates& pairs, Side side, Resolver resolve, Cloth& cloth) {
  markPushedThrough(odometer_.data(), thickness_, pairs.nodes.data(), pairs.due.data(), pairs.look.data(), pairs.size());
  const NodeBuffer& positions = *cloth.positions;
  Near found{};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (!pairs.look[i]) continue;
    const auto& [a, b, c, d] = pairs.nodes[i];
    // Through the other, it lies on the other side of it than at the end of the last step.
    const double now = side(positions.at(a), positions.at(b), positions.at(c), positions.at(d));
    if (now * side(last_[a], last_[b], last_[c], last_[d]) <= 0.0)
      (this->*resolve)(pairs.nodes[i], pairs.due[i], found, cloth);
  }
}

// A pair still as far apart as the thickness, by the weights of its last full look, and on its own
// side is let be: it was measured near, and the nodes have moved a hair of a triangle since. It
// keeps the due that look gave it, which holds as the odometers count every push since.
double SelfCollisionPass::resolveAgain(Near& near, Candidates& pairs, Resolver resolve, Cloth& cloth) {
  long long pushed = 0;
  for (const int k : near.stencil.nodes) pushed = std::max(pushed, pushedAt_[k]);
  if (pushed <= near.resolvedAt) return 0.0;
  const NodeBuffer& positions = *cloth.positions;
  Vec3 d;
  for (int i = 0; i < 4; ++i) d = d + near.stencil.weights[i] * positions.at(near.stencil.nodes[i]);
  double push = 0.0;
  if (dot(d, d) < thickness_ * thickness_ || !(dot(d, near.before) > 0.0))
    push = (this->*resolve)(pairs.nodes[near.index], pairs.due[near.index], near, cloth);
  near.resolvedAt = pushes_;
  return push;
}

// A hair less than the exact reading, so that rounding in the distance cannot leave out a pair the
// exact test would find near.
double SelfCollisionPass::dueAt(const std::array<int, 4>& nodes, double apart) const {
  double gone = 0.0;
  for (const int k : nodes) gone += odometer_[k];
  return gone + apart - (1.0 + kRounding) * thickness_;
}

// The full looks and the push are flattened (their calls inlined): they run tens of thousands of
// times a step, and the calls cost about as much as the sums.
[[gnu::flatten]] double SelfCollisionPass::resolveNodeTriangle(const std::array<int, 4>& nodes, double& due,
                                                               Near& near, Cloth& cloth) {
  const NodeBuffer& positions = *cloth.positions;
  const auto& [node, t0, t1, t2] = nodes;
  const Vec3 p = positions.at(node), a = positions.at(t0), b = positions.at(t1), c = positions.at(t2);
  // Cheap first: a node that has been clear of the triangle's plane all the step is clear of it.
  const Vec3 normal = cross(b - a, c - a);
  const double height = dot(p - a, normal);
  const double clear = thickness_ + moved_[node] + std::max({moved_[t0], moved_[t1], moved_[t2]});
  const double area = dot(normal, normal);
  if (height * height >= clear * clear * area && area > 0.0) {
    due = dueAt(nodes, std::fabs(height) / std::sqrt(area));
    return kClear;
  }
  const TriangleWeights w = closestOnTriangle(p, a, b, c);
  near.stencil = {nodes, {1.0, -w.a, -w.b, -w.c}};
  double distance = 0.0;
  const double push = separate(near, cloth, distance);
  due = dueAt(nodes, distance);
  return push;
}

[[gnu::flatten]] double SelfCollisionPass::resolveEdgeEdge(const std::array<int, 4>& nodes, double& due, Near& near,
                                                           Cloth& cloth) {
  const NodeBuffer& positions = *cloth.positions;
  const auto& [e0, e1, f0, f1] = nodes;
  const Vec3 p0 = positions.at(e0), p1 = positions.at(e1), q0 = positions.at(f0), q1 = positions.at(f1);
  const double clear = thickness_ + std::max(moved_[e0], moved_[e1]) + std::max(moved_[f0], moved_[f1]);
  const double gap = gapBetween(p0, p1, q0, q1);
  if (gap >= clear || linesApart(p0, p1, q0, q1, clear)) {
    due = dueAt(nodes, std::max(gap, lineDistance(p0, p1, q0, q1)));
    return kClear;
  }
  const SegmentParameters st = closestBetweenSegments(p0, p1, q0, q1);
  // Nearest at an end of either edge: a node against the other edge, which that node's pairs with the
  // triangles along the edge keep apart already.
  if (!(st.s > 0.0 && st.s < 1.0 && st.t > 0.0 && st.t < 1.0)) {
    due = dueAt(nodes, distanceAt(p0, p1, q0, q1, st));
    return kClear;
  }
  near.stencil = {nodes, {1.0 - st.s, st.s, st.t - 1.0, -st.t}};
  double distance = 0.0;
  const double push = separate(near, cloth, distance);
  due = dueAt(nodes, distance);
  return push;
}

void SelfCollisionPass::holdUp(const Stencil& stencil, const Vec3& n, std::array<double, 4>& share,
                               const NodeBuffer& positions) {
  for (int i = 0; i < 4; ++i) {
    const int k = stencil.nodes[i];
    if (share[i] != 0.0 && share[i] * dot(n, supportOf(k, positions.at(k))) < 0.0) share[i] = 0.0;
  }
}

Vec3 SelfCollisionPass::supportOf(int k, const Vec3& p) {
  if (supportAsked_[k] == applied_) return support_[k];
  supportAsked_[k] = applied_;
  support_[k] = {};
  for (const CollisionPass* pass : supports_) {
    support_[k] = pass->supportAt(p);
    if (dot(support_[k], support_[k]) > 0.0) break;
  }
  return support_[k];
}

[[gnu::flatten]] double SelfCollisionPass::separate(Near& pair, Cloth& cloth, double& distance) {
  NodeBuffer& positions = *cloth.positions;
  NodeBuffer& previous = *cloth.previousPositions;
  const Stencil& stencil = pair.stencil;
  Vec3 d;
  double reach = thickness_;  // beyond it the pair is clear and was clear all the step
  for (int i = 0; i < 4; ++i) {
    d = d + stencil.weights[i] * positions.at(stencil.nodes[i]);
    reach += std::abs(stencil.weights[i]) * moved_[stencil.nodes[i]];
  }
  // How far apart the pair is now, or once pushed: the least it is apart as the pair is left.
  const double squared = dot(d, d);
  distance = std::sqrt(squared);
  pair.before = Vec3{};
  for (int i = 0; i < 4; ++i) pair.before = pair.before + stencil.weights[i] * last_[stencil.nodes[i]];
  if (squared >= reach * reach) return kClear;
  const Vec3 n = pushDirection(d, pair.before);
  if (dot(n, n) == 0.0) return 0.0;
  std::array<double, 4> share{};
  for (int i = 0; i < 4; ++i) share[i] = cloth.fixedNodes.contains(stencil.nodes[i]) ? 0.0 : stencil.weights[i];
  holdUp(stencil, n, share, positions);
  double weightSum = 0.0;  // Σ w² over the nodes that move: how the pair answers a unit push
  for (int i = 0; i < 4; ++i) weightSum += share[i] * stencil.weights[i];
  if (!(weightSum > 0.0)) return 0.0;
  const double push = thickness_ - dot(d, n);
  if (!(push > 0.0)) return 0.0;
  distance = thickness_;
  ++pushes_;
  // Previous positions move with the nodes, so the push itself gives no speed, and the pair's
  // speed is the same before it as after.
  Vec3 velocity;
  for (int i = 0; i < 4; ++i) {
    const int k = stencil.nodes[i];
    velocity = velocity + stencil.weights[i] * (positions.at(k) - previous.at(k));
  }
  // The speed of approach goes (none of separation comes); friction takes from the sliding as much
  // as the push and the stopped approach times the coefficient allow.
  const double approach = std::max(0.0, -dot(velocity, n));
  const Vec3 slide = velocity - dot(velocity, n) * n;
  const double grip = friction_ * (push + approach);
  const double slideLength = norm(slide);
  const double stopped = slideLength <= grip ? 1.0 : grip / slideLength;
  const Vec3 shift = (push / weightSum) * n;
  const Vec3 change = (1.0 / weightSum) * (stopped * slide - approach * n);
  for (int i = 0; i < 4; ++i) {
    const int k = stencil.nodes[i];
    positions.set(k, positions.at(k) + share[i] * shift);
    previous.set(k, previous.at(k) + share[i] * (shift + change));
    const double pushed = std::abs(share[i]) * (push / weightSum);
    moved_[k] += pushed;
    odometer_[k] += pushed;
    if (pushed >= kTolerance * thickness_) pushedAt_[k] = pushes_;
  }
  return push;
}
