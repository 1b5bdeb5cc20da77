#pragma once

// The node loop of the time step written once for any vector instruction set L (Avx2Lanes,
// Avx512Lanes): the nodes of a row side by side in the lanes of a register. Only the translation
// unit of each instruction set includes it, compiled for that set. Everything here has internal
// linkage and calls no inline function of a shared header, so that no copy built for a wider
// processor can be picked by the linker for the portable code (tests/cloth/check-kernel-symbols.sh
// checks the object files).
#include "cloth/StepInputs.h"

namespace {

template <class L>
struct Lanes3 {
  typename L::D x, y, z;
};

template <class L>
Lanes3<L> operator+(const Lanes3<L>& a, const Lanes3<L>& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}

template <class L>
Lanes3<L> operator-(const Lanes3<L>& a, const Lanes3<L>& b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}

template <class L>
Lanes3<L> operator*(typename L::D s, const Lanes3<L>& a) {
  return {s * a.x, s * a.y, s * a.z};
}

template <class L>
Lanes3<L> cross(const Lanes3<L>& a, const Lanes3<L>& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Summed like norm(): ((x² + y²) + z²); starting from 0.0 as Vector does changes nothing here,
// since a square is never −0.
template <class L>
typename L::D length(const Lanes3<L>& a) {
  return L::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

template <class L>
Lanes3<L> addWhere(typename L::M m, const Lanes3<L>& a, const Lanes3<L>& b) {
  return {L::addWhere(m, a.x, b.x), L::addWhere(m, a.y, b.y), L::addWhere(m, a.z, b.z)};
}

template <class L>
Lanes3<L> subtractWhere(typename L::M m, const Lanes3<L>& a, const Lanes3<L>& b) {
  return {L::subtractWhere(m, a.x, b.x), L::subtractWhere(m, a.y, b.y), L::subtractWhere(m, a.z, b.z)};
}

template <class L>
Lanes3<L> select(typename L::M m, const Lanes3<L>& a, const Lanes3<L>& b) {
  return {L::select(m, a.x, b.x), L::select(m, a.y, b.y), L::select(m, a.z, b.z)};
}

// Three coordinate arrays, read and written a register at a time from element k on.
template <class L>
struct Planes {
  double* x;
  double* y;
  double* z;

  Lanes3<L> at(int k) const { return {L::load(x + k), L::load(y + k), L::load(z + k)}; }
  void put(int k, const Lanes3<L>& v) const {
    L::store(x + k, v.x);
    L::store(y + k, v.y);
    L::store(z + k, v.z);
  }
};

// What the lanes of the register starting at column c0 of a row hold, one bit per lane.
struct LaneBits {
  unsigned valid;  // a node of the grid: column < width
  unsigned left;   // a node with a left neighbour
  unsigned right;  // a node with a right neighbour
  unsigned free;   // a node that moves
};

// One step's node loop, row by row. Each spring is evaluated once, from its upper or left end,
// into RowScratch; its other end adds the exact negation (−d gives the same squares, root and
// reciprocal, and every product and difference just changes sign). The force on a node is then
// summed in the same order as the scalar loop, so the results agree bit for bit.
template <class L>
class FastStepRows {
public:
  FastStepRows(const StepInputs& in, double* scratch, int stride)
      : width_(in.width), height_(in.height), fixed_(in.fixed), positions_(planes(*in.positions)),
        previous_(planes(*in.previous)), next_(planes(*in.next)), kStretch_(L::broadcast(in.kStretch)),
        kShear_(L::broadcast(in.kShear)), kBend_(L::broadcast(in.kBend)), rest_(L::broadcast(in.rest)),
        diagonalRest_(L::broadcast(in.diagonalRest)), dt2_(L::broadcast(in.dt * in.dt)),
        current_(L::broadcast(in.dt * in.cDamping + 2.0 * in.mass)), mass_(L::broadcast(in.mass)),
        reciprocal_(L::broadcast(1.0 / (in.dt * in.cDamping + in.mass))), gravity_(broadcast(in.gravity)),
        windForce_(broadcast(in.windForce)), windDirection_(broadcast(in.windDirection)),
        gustCentre_(broadcast(in.gustCentre)), checkSheet_(in.checkSheet),
        stretchLimitSquared_(L::broadcast(in.stretchLimitSquared)) {
    for (int row = 0; row < 2; ++row)
      for (int s = 0; s < 3; ++s) downward_[row][s] = scratchPlanes(scratch, stride, 9 * row + 3 * s);
    along_ = scratchPlanes(scratch, stride, 18);
  }

  // Runs the loop; returns how many normalizations of an exact zero vector it met and whether a
  // column spring of the new positions is overstretched or not finite.
  StepOutcome run() {
    for (int r = 0; r < height_; ++r) {
      springsOfRow(r);
      nodesOfRow(r);
      below_ = 1 - below_;  // this row's downward springs are the next row's upward ones
    }
    return {zeroNormalizations_, overstretched_ != 0};
  }

private:
  using D = typename L::D;
  using M = typename L::M;
  using V3 = Lanes3<L>;
  static constexpr int kWidth = L::kWidth;
  static constexpr unsigned kAllLanes = (1u << kWidth) - 1;

  static Planes<L> planes(const NodeBuffer& nodes) { return {nodes.x, nodes.y, nodes.z}; }
  static Planes<L> scratchPlanes(double* scratch, int stride, int first) {
    return {scratch + first * stride, scratch + (first + 1) * stride, scratch + (first + 2) * stride};
  }
  static V3 broadcast(const Vec3& v) { return {L::broadcast(v.x), L::broadcast(v.y), L::broadcast(v.z)}; }

  static unsigned lanesBelow(int n) { return n <= 0 ? 0u : n >= kWidth ? kAllLanes : (1u << n) - 1; }

  // The fixed nodes among nodes k … k + kWidth − 1, one bit per lane.
  unsigned fixedLanes(int k) const {
    const std::uint64_t* word = fixed_ + (static_cast<unsigned>(k) >> 6);
    const int shift = k & 63;
    std::uint64_t bits = word[0] >> shift;
    if (shift != 0) bits |= word[1] << (64 - shift);
    return static_cast<unsigned>(bits) & kAllLanes;
  }

  LaneBits lanes(int r, int c0) const {
    const unsigned valid = lanesBelow(width_ - c0);
    return {valid, c0 == 0 ? valid & ~1u : valid, lanesBelow(width_ - 1 - c0),
            valid & ~fixedLanes(r * width_ + c0)};
  }

  // The nodes at the far end of a vector, nodes farNode … farNode + kWidth − 1, among which the
  // lanes of `candidates` exist; only the free ones report a zero normalization.
  struct FarEnd {
    unsigned candidates;
    int farNode;
  };

  // v scaled by the reciprocal of its length, or the zero vector where the length is exactly 0;
  // each of those lanes writes the zero-normalization message once per set bit in nearFree and in
  // the free lanes of `far`, the lanes whose node asks for this vector.
  V3 normalized(const V3& v, unsigned nearFree, FarEnd far) {
    const D n = length(v);
    const V3 unit = (L::broadcast(1.0) / n) * v;
    const M zero = L::isZero(n);
    if (__builtin_expect(L::bits(zero) == 0, 1)) return unit;
    return zeroWhere(zero, unit, nearFree, far);
  }

  // Rare: the far end's fixed lanes are looked up only here, off the hot path.
  V3 zeroWhere(M zero, const V3& unit, unsigned nearFree, FarEnd far) {
    const unsigned lanes = L::bits(zero);
    const unsigned farFree = far.candidates == 0 ? 0u : far.candidates & ~fixedLanes(far.farNode);
    zeroNormalizations_ += __builtin_popcount(lanes & nearFree) + __builtin_popcount(lanes & farFree);
    const V3 none{L::broadcast(0.0), L::broadcast(0.0), L::broadcast(0.0)};
    return select(zero, none, unit);
  }

  // Hooke's law along the spring from p to q: k × (d − L × normalize(d)), d = q − p. The nodes at
  // its two ends that evaluate it in the scalar loop are the free ones of nearFree and of `far`.
  V3 spring(const V3& p, const V3& q, D k, D restLength, unsigned nearFree, FarEnd far) {
    const V3 d = q - p;
    return k * (d - restLength * normalized(d, nearFree, far));
  }

  // Pulls p towards the midpoint of its two opposite neighbours a and b.
  V3 bend(const V3& p, const V3& a, const V3& b) const { return kBend_ * (L::broadcast(0.5) * (b + a) - p); }

  // The springs from row r to its right-hand and lower neighbours.
  void springsOfRow(int r) {
    const bool down = r + 1 < height_;
    const Planes<L>* below = downward_[below_];
    for (int c0 = 0; c0 < width_; c0 += kWidth) {
      const int k = r * width_ + c0;
      const LaneBits lane = lanes(r, c0);
      const V3 p = positions_.at(k);
      along_.put(c0, spring(p, positions_.at(k + 1), kStretch_, rest_, lane.right & lane.free, {lane.right, k + 1}));
      if (!down) continue;
      const int lower = k + width_;
      below[0].put(c0, spring(p, positions_.at(lower - 1), kShear_, diagonalRest_, lane.left & lane.free,
                              {lane.left, lower - 1}));
      below[1].put(c0, spring(p, positions_.at(lower), kStretch_, rest_, lane.free, {lane.valid, lower}));
      below[2].put(c0, spring(p, positions_.at(lower + 1), kShear_, diagonalRest_, lane.right & lane.free,
                              {lane.right, lower + 1}));
    }
  }

  // Forces and integration for the free nodes of row r. Registers away from both ends of the row
  // have every neighbour in every lane and need no masks.
  void nodesOfRow(int r) {
    for (int c0 = 0; c0 < width_; c0 += kWidth) {
      if (c0 > 0 && c0 + kWidth < width_)
        nodesAt<true>(r, c0);
      else
        nodesAt<false>(r, c0);
    }
  }

  template <bool kInner>
  static V3 addAt(M m, const V3& a, const V3& b) {
    if constexpr (kInner) return a + b;
    return addWhere(m, a, b);
  }

  template <bool kInner>
  static V3 subtractAt(M m, const V3& a, const V3& b) {
    if constexpr (kInner) return a - b;
    return subtractWhere(m, a, b);
  }

  template <bool kInner>
  void nodesAt(int r, int c0) {
    const LaneBits lane = lanes(r, c0);
    const bool up = r > 0, down = r + 1 < height_;
    const int k = r * width_ + c0;
    if (lane.free == 0) {
      if (up && checkSheet_) checkStretch(k, lane.valid, next_.at(k));
      return;
    }
    const V3 p = positions_.at(k), left = positions_.at(k - 1), right = positions_.at(k + 1);
    const V3 upper = up ? positions_.at(k - width_) : V3{}, lower = down ? positions_.at(k + width_) : V3{};

    // The order of the sum decides its rounding: gravity and the springs, then bending and wind.
    V3 f = springForces<kInner>(up, down, c0, lane);
    f = addAt<kInner>(L::mask(lane.left & lane.right), f, bend(p, right, left));
    if (up && down) f = f + bend(p, lower, upper);
    // The node normal crosses the edges to the left and upper neighbours; along the top row to the
    // lower and left ones; in the first column to the upper and right ones, or on the corner to
    // the right and lower ones.
    V3 a = up ? left : lower, b = up ? upper : left;
    if (c0 == 0) {
      const M firstColumn = L::mask(1u);
      a = select(firstColumn, up ? upper : right, a);
      b = select(firstColumn, up ? right : lower, b);
    }
    f = f + wind(p, normalized(cross(a - p, b - p), lane.free, {0u, 0}));

    V3 moved = reciprocal_ * ((dt2_ * f + current_ * p) - mass_ * previous_.at(k));
    // Fixed lanes and those past the row's end keep what the buffer holds, read before the store:
    // a load right after it could not be forwarded from it.
    if (lane.free != kAllLanes) moved = select(L::mask(lane.free), moved, next_.at(k));
    next_.put(k, moved);
    if (up && checkSheet_) checkStretch(k, lane.valid, moved);
  }

  // The divergence check, folded into the pass that writes the new positions: the column spring
  // from each node of the register to the node above, whose new position the previous row wrote.
  // A NaN fails the comparison, so a non-finite coordinate counts as overstretched.
  void checkStretch(int k, unsigned valid, const V3& moved) {
    const V3 d = moved - next_.at(k - width_);
    const M within = L::lessEqual(d.x * d.x + d.y * d.y + d.z * d.z, stretchLimitSquared_);
    overstretched_ |= valid & ~L::bits(within);
  }

  // Gravity plus the springs to the neighbours below, above and along the row, in that order.
  // Springs above and to the left were evaluated from their other end: they are subtracted.
  template <bool kInner>
  V3 springForces(bool up, bool down, int c0, const LaneBits& lane) const {
    const M hasLeft = L::mask(lane.left), hasRight = L::mask(lane.right);
    const Planes<L>* below = downward_[below_];
    const Planes<L>* above = downward_[1 - below_];
    V3 f = gravity_;
    if (down) {
      f = addAt<kInner>(hasLeft, f, below[0].at(c0));
      f = f + below[1].at(c0);
      f = addAt<kInner>(hasRight, f, below[2].at(c0));
    }
    if (up) {
      f = subtractAt<kInner>(hasLeft, f, above[2].at(c0 - 1));
      f = f - above[1].at(c0);
      f = subtractAt<kInner>(hasRight, f, above[0].at(c0 + 1));
    }
    f = subtractAt<kInner>(hasLeft, f, along_.at(c0 - 1));
    return addAt<kInner>(hasRight, f, along_.at(c0));
  }

  // Wind grows with the distance from the gust centre and with how squarely the node faces it;
  // the dot product is summed from 0.0 as Vector's is, which fixes the sign of a zero.
  V3 wind(const V3& p, const V3& n) const {
    const D distance = length(p - gustCentre_);
    const V3& w = windDirection_;
    const D facing = ((L::broadcast(0.0) + w.x * n.x) + w.y * n.y) + w.z * n.z;
    return (L::abs(facing) * distance) * windForce_;
  }

  const int width_, height_;
  const std::uint64_t* const fixed_;
  const Planes<L> positions_, previous_, next_;
  const D kStretch_, kShear_, kBend_, rest_, diagonalRest_;
  const D dt2_, current_, mass_, reciprocal_;  // of the damped Verlet update
  const V3 gravity_, windForce_, windDirection_, gustCentre_;
  const bool checkSheet_;
  const D stretchLimitSquared_;
  Planes<L> downward_[2][3];  // per row set: to the lower-left, lower and lower-right neighbour
  Planes<L> along_;           // to the right-hand neighbour, this row
  int below_ = 0;             // which row set holds this row's downward springs
  int zeroNormalizations_ = 0;
  unsigned overstretched_ = 0;  // lanes that met a column spring past the limit
};

}  // namespace
