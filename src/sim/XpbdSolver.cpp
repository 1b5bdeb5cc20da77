#include "sim/XpbdSolver.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cloth/Cloth.h"
#include "cloth/NodeWind.h"
#include "cloth/SheetCheck.h"
#include "cloth/StabilityEstimate.h"
#include "linalg/LinalgMessages.h"
#include "sim/VectorClones.h"

namespace {

// The predicted positions the sweep corrects in place, with each node's inverse mass (0 when fixed).
struct Sweep {
  double* x;
  double* y;
  double* z;
  const double* w;
};

// The runs below each take `count` springs that share no node, spring n joining slot a + n to slot
// b + n, both ends seen through pointers of their own, so that the compiler takes several springs
// at once: in the widest vectors the processor has, the same arithmetic in each.

// The two ends of a spring, as the run has them between loading and storing.
struct Ends {
  double ax, ay, az, bx, by, bz;
};

// Moves each end along d = b − a by its weight times s: a towards b, b towards a.
inline void pullEnds(Ends& e, double wa, double wb, double s, double dx, double dy, double dz) {
  e.ax += wa * s * dx;
  e.ay += wa * s * dy;
  e.az += wa * s * dz;
  e.bx -= wb * s * dx;
  e.by -= wb * s * dy;
  e.bz -= wb * s * dz;
}

// The first XPBD iteration (λ from 0) of C = |pj − pi| − rest with compliance α̃ = 1 / (k h²).
// Coincident nodes are left alone, as the explicit step's spring adds nothing there.
inline void stretch(Ends& e, double aw, double bw, double rest, double compliance) {
  const double dx = e.bx - e.ax, dy = e.by - e.ay, dz = e.bz - e.az;
  const double lengthSquared = dx * dx + dy * dy + dz * dz;
  const double length = std::sqrt(lengthSquared);
  // Selects rather than a branch, and a divisor that is never 0, so that the loop vectorises.
  const bool apart = lengthSquared > 0.0;
  const double s = (apart ? length - rest : 0.0) / ((aw + bw + compliance) * (apart ? length : 1.0));
  pullEnds(e, aw, bw, s, dx, dy, dz);
}

// A zero-length spring that pulls only the ends that are inner nodes of their row or column: the
// bend term of the explicit step, split over the node's two edges. Every free node weighs the same,
// so the spring's 1 / (wa + wb + compliance) is one of three, `shares[number of ends it pulls]`,
// worked out once rather than divided out for every spring.
inline void bend(Ends& e, double wa, double wb, double none, double one, double both) {
  const double s = wa != 0.0 ? (wb != 0.0 ? both : one) : (wb != 0.0 ? one : none);
  const double dx = e.bx - e.ax, dy = e.by - e.ay, dz = e.bz - e.az;
  pullEnds(e, wa, wb, s, dx, dy, dz);
}

// What a run of springs pulls with: the stretch or shear spring's rest length and compliance, and
// for the bend, that the a end of spring n is inner from n = aInnerFrom on, the b end up to
// bInnerTo, and its shares.
struct Pull {
  double rest, compliance;
  int aInnerFrom, bInnerTo;
  const double* shares;
};

// A run of springs, and where kBend, the bend along the same edges just after each: both in one
// pass over the nodes, as the same arithmetic in the same order as one run after the other.
template <bool kStretch, bool kBend>
LOOMWISE_VECTOR_CLONES void springRun(int count, double* __restrict ax, double* __restrict ay, double* __restrict az,
                                      const double* aw, double* __restrict bx, double* __restrict by,
                                      double* __restrict bz, const double* bw, const Pull pull) {
  // Loaded once: a load under a select would keep the loop from vectorising.
  const double none = kBend ? pull.shares[0] : 0.0, one = kBend ? pull.shares[1] : 0.0,
               both = kBend ? pull.shares[2] : 0.0;
  for (int n = 0; n < count; ++n) {
    Ends e{ax[n], ay[n], az[n], bx[n], by[n], bz[n]};
    if (kStretch) stretch(e, aw[n], bw[n], pull.rest, pull.compliance);
    if (kBend) bend(e, n >= pull.aInnerFrom ? aw[n] : 0.0, n < pull.bInnerTo ? bw[n] : 0.0, none, one, both);
    ax[n] = e.ax, ay[n] = e.ay, az[n] = e.az;
    bx[n] = e.bx, by[n] = e.by, bz[n] = e.bz;
  }
}

template <bool kStretch, bool kBend>
void run(const Sweep& p, int count, int a, int b, const Pull& pull) {
  springRun<kStretch, kBend>(count, p.x + a, p.y + a, p.z + a, p.w + a, p.x + b, p.y + b, p.z + b, p.w + b, pull);
}

// The springs (stretch or shear, when `stretching`) and bends (when `bending`) joining a + n to b + n.
void springs(const Sweep& p, int count, int a, int b, bool stretching, bool bending, const Pull& pull) {
  if (stretching && bending)
    run<true, true>(p, count, a, b, pull);
  else if (stretching)
    run<true, false>(p, count, a, b, pull);
  else if (bending)
    run<false, true>(p, count, a, b, pull);
}

// The sweep's layout: each row's even columns first, then its odd ones. Every run of springs that
// share no node then joins neighbouring slots to neighbouring slots, which the vector loads take
// whole, where the grid's own order would have the runs along a row take every other node.
int evenColumns(int width) { return (width + 1) / 2; }

// Row by row, `from` in the grid's order to `to` in the sweep's, or back when `back`.
LOOMWISE_VECTOR_CLONES void reorder(const double* __restrict from, double* __restrict to, int width, int height, bool back) {
  const int evens = evenColumns(width), odds = width / 2;
  for (int row = 0; row < width * height; row += width) {
    const double* in = from + row;
    double* out = to + row;
    if (back) {
      for (int i = 0; i < evens; ++i) out[2 * i] = in[i];
      for (int i = 0; i < odds; ++i) out[2 * i + 1] = in[evens + i];
    } else {
      for (int i = 0; i < evens; ++i) out[i] = in[2 * i];
      for (int i = 0; i < odds; ++i) out[evens + i] = in[2 * i + 1];
    }
  }
}

// The force on nodes 1 to `count` of a row below the top, as XpbdSolver::forceAt gives it, with the
// normal nodeNormalAt gives there (from the left and upper neighbours). Returns how many free nodes
// had a zero normal, for the caller to report.
LOOMWISE_VECTOR_CLONES int forceRun(int count, int width, const double* x, const double* y, const double* z,
                                    const double* w, double* __restrict fx, double* __restrict fy, double* __restrict fz,
                                    const XpbdSolver::StepForces& f) {
  int zeroNormals = 0;
  for (int n = 0; n < count; ++n) {
    const double gx = x[n] - f.gustCentre.x, gy = y[n] - f.gustCentre.y, gz = z[n] - f.gustCentre.z;
    const double distance = std::sqrt(gx * gx + gy * gy + gz * gz);
    const double ax = x[n - 1] - x[n], ay = y[n - 1] - y[n], az = z[n - 1] - z[n];
    const double bx = x[n - width] - x[n], by = y[n - width] - y[n], bz = z[n - width] - z[n];
    const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
    const double length = std::sqrt(cx * cx + cy * cy + cz * cz);
    const bool zero = length == 0.0;
    const double scale = zero ? 0.0 : 1.0 / (zero ? 1.0 : length);
    double facing = 0.0;
    facing += f.windDirection.x * (scale * cx);
    facing += f.windDirection.y * (scale * cy);
    facing += f.windDirection.z * (scale * cz);
    const double factor = std::fabs(facing) * distance;
    fx[n] = f.gravity.x + factor * f.windForce.x;
    fy[n] = f.gravity.y + factor * f.windForce.y;
    fz[n] = f.gravity.z + factor * f.windForce.z;
    zeroNormals += static_cast<int>(w[n] != 0.0) & static_cast<int>(zero);
  }
  return zeroNormals;
}

// Every other node of a row over a substep of h: m (v⁺ − v) / h = F − cDamping × v⁺,
// v = (x − x⁻) / h, with `reciprocal` 1 / (m + h × cDamping) and h2 h², so that the damping is
// implicit and stable for any cDamping. The nodes are read from the grid's order, n-th at 2n, and
// written one after another, into the sweep's layout. A fixed node stays; every value is worked
// out and loaded for it too, so that the loop vectorises.
LOOMWISE_VECTOR_CLONES void moveRun(int count, const double* x, const double* y, const double* z, const double* px,
                                    const double* py, const double* pz, const double* w, const double* fx,
                                    const double* fy, const double* fz, double* __restrict nx, double* __restrict ny,
                                    double* __restrict nz, double mass, double reciprocal, double h2) {
  for (int n = 0; n < count; ++n) {
    const int k = 2 * n;
    const double movedX = x[k] + reciprocal * (mass * (x[k] - px[k]) + h2 * fx[k]);
    const double movedY = y[k] + reciprocal * (mass * (y[k] - py[k]) + h2 * fy[k]);
    const double movedZ = z[k] + reciprocal * (mass * (z[k] - pz[k]) + h2 * fz[k]);
    const bool free = w[k] != 0.0;
    nx[n] = free ? movedX : x[k];
    ny[n] = free ? movedY : y[k];
    nz[n] = free ? movedZ : z[k];
  }
}

bool sheetBroken(const Cloth& cloth) {
  const double limit = cloth.stretchLimit();
  for (int k = cloth.width; k < cloth.nodeCount(); ++k)
    if (columnSpringBroken(*cloth.nextPositions, k, cloth.width, limit * limit)) return true;
  return false;
}

}  // namespace

void XpbdSolver::step(Cloth& cloth, double h, RandomGenerator& gusts, bool checkSheet) {
  if (!cloth.hasGrid()) return;
  // Parameters, wind and gusts exactly as the explicit step takes them, once per step.
  cloth.prepareStep(h, gusts);
  const int substeps = substepsFor(cloth, h);
  const double substep = h / substeps;
  weighNodes(cloth);
  // Gravity and wind from where the step starts, as the explicit step takes them, for every substep.
  computeForces(cloth);
  bool broken = false;
  for (int s = 1; s <= substeps; ++s) {
    // The forces and damping carry every free node to its predicted position.
    predict(cloth, substep);
    // The springs pull the prediction back; the velocity is what remains of the move.
    projectSprings(cloth, substep);
    broken = checkSheet && s == substeps && sheetBroken(cloth);
    cloth.rotateBuffers();
  }
  cloth.diverged = cloth.diverged || broken;
}

// One sweep converges on the springs' stiffness only while a substep would keep the explicit step
// well inside its limit; so many substeps that it is within a quarter of it (dt² × K scales with
// the square of the step). One at the default settings.
int XpbdSolver::substepsFor(const Cloth& cloth, double h) {
  const double settings[] = {cloth.kStretch, cloth.kShear, cloth.kBend, cloth.density, cloth.cDamping, cloth.spacing, h};
  if (!std::equal(std::begin(settings), std::end(settings), std::begin(substepSettings_))) {
    std::copy(std::begin(settings), std::end(settings), std::begin(substepSettings_));
    const StabilityEstimate estimate(cloth.kStretch, cloth.kShear, cloth.kBend, cloth.density, cloth.cDamping,
                                     cloth.spacing, h);
    substeps_ = std::clamp(static_cast<int>(std::ceil(2.0 * std::sqrt(estimate.ratio()))), 1, kMaxSubsteps);
  }
  return substeps_;
}

// The gravity and wind of the step on every free node.
void XpbdSolver::computeForces(const Cloth& cloth) {
  const int width = cloth.width, count = cloth.nodeCount();
  force_.resize(3 * static_cast<std::size_t>(count));
  double* const fx = force_.data();
  double* const fy = fx + count;
  double* const fz = fy + count;
  const StepForces forces{cloth.gravityVector, cloth.windForce, cloth.windDirection, cloth.gustCentre};
  // The top row and the first column, whose normals take other neighbours, one node at a time.
  for (int c = 0; c < width; ++c) forceAt(cloth, c, forces);
  for (int row = width; row < count; row += width) forceAt(cloth, row, forces);
  const NodeBuffer& x = *cloth.positions;
  int zeroNormals = 0;
  for (int row = width; row < count; row += width) {
    const int k = row + 1;
    zeroNormals += forceRun(width - 1, width, x.x + k, x.y + k, x.z + k, inverseMass_.data() + k, fx + k, fy + k,
                            fz + k, forces);
  }
  // Said as often as normalizing the node normals one by one says it.
  for (int n = 0; n < zeroNormals; ++n) linalg::report(linalg::kZeroNormalize);
}

// A fixed node has none: it does not move.
void XpbdSolver::forceAt(const Cloth& cloth, int k, const StepForces& f) {
  if (inverseMass_[k] == 0.0) return;
  const double wind = windFactor(*cloth.positions, cloth.width, k % cloth.width, k / cloth.width, f.gustCentre,
                                 f.windDirection);
  const Vec3 force = f.gravity + wind * f.windForce;
  const int count = cloth.nodeCount();
  force_[k] = force.x, force_[count + k] = force.y, force_[2 * count + k] = force.z;
}

// The explicit step without its springs, over a substep of h, straight into the sweep's layout:
// each row's even columns, then its odd ones.
void XpbdSolver::predict(const Cloth& cloth, double h) {
  const NodeBuffer& x = *cloth.positions;
  const NodeBuffer& p = *cloth.previousPositions;
  const int width = cloth.width, count = cloth.nodeCount(), evens = evenColumns(width);
  const double* const f = force_.data();
  const double* const w = inverseMass_.data();
  double* const n = sweep_.data();
  const double mass = cloth.nodeMass(), reciprocal = 1.0 / (mass + h * cloth.cDamping);
  for (int row = 0; row < count; row += width)
    for (const int odd : {0, 1}) {
      const int k = row + odd, to = row + (odd != 0 ? evens : 0);
      moveRun(odd != 0 ? width / 2 : evens, x.x + k, x.y + k, x.z + k, p.x + k, p.y + k, p.z + k, w + k, f + k,
              f + count + k, f + 2 * count + k, n + to, n + count + to, n + 2 * count + to, mass, reciprocal, h * h);
    }
}

// The inverse masses of the step, in the grid's order for the prediction and in the sweep's.
void XpbdSolver::weighNodes(const Cloth& cloth) {
  const int count = cloth.nodeCount();
  freeInverseMass_ = 1.0 / cloth.nodeMass();
  inverseMass_.resize(count);
  for (int k = 0; k < count; ++k) inverseMass_[k] = cloth.fixedNodes.contains(k) ? 0.0 : freeInverseMass_;
  sweep_.resize(4 * static_cast<std::size_t>(count));
  reorder(inverseMass_.data(), sweep_.data() + 3 * count, cloth.width, cloth.height, false);
}

// One sweep, row by row from the top, where the pins usually are, so that their hold travels down
// the sheet within the sweep. Each run of the loop below takes springs that share no node (every
// other one along a row; all of one kind between two rows, the even columns' then the odd ones'),
// so their corrections overlap in the processor instead of waiting on each other; the order within
// a run changes nothing. The sweep works in its own layout (see evenColumns), where the prediction
// put the nodes; the next positions take the result.
void XpbdSolver::projectSprings(Cloth& cloth, double h) {
  NodeBuffer& next = *cloth.nextPositions;
  const int width = cloth.width, height = cloth.height, count = cloth.nodeCount();
  double* const slots = sweep_.data();
  double* const coordinates[3] = {next.x, next.y, next.z};
  const Sweep sweep{slots, slots + count, slots + 2 * count, slots + 3 * count};
  const bool stretching = cloth.kStretch > 0.0, shearing = cloth.kShear > 0.0, bending = cloth.kBend > 0.0;
  const double stretchCompliance = 1.0 / (cloth.kStretch * h * h);
  const double shearCompliance = 1.0 / (cloth.kShear * h * h);
  const double bendCompliance = 1.0 / (0.5 * cloth.kBend * h * h);
  const double w = freeInverseMass_;
  const double bendShares[] = {1.0 / (0.0 + 0.0 + bendCompliance), 1.0 / (w + 0.0 + bendCompliance),
                               1.0 / (w + w + bendCompliance)};
  const double diagonalRest = std::sqrt(2.0) * cloth.spacing;
  const Pull shear{diagonalRest, shearCompliance, 0, 0, nullptr};
  // Along a row: from each even column to the next, then from each odd one; the bend's row ends
  // are not inner.
  const int evens = evenColumns(width), fromEven = width / 2, fromOdd = (width - 1) / 2;
  for (int r = 0; r < height; ++r) {
    const int row = r * width;
    const Pull fromEvenColumns{cloth.spacing, stretchCompliance, 1, (width - 1) / 2, bendShares};
    const Pull fromOddColumns{cloth.spacing, stretchCompliance, 0, (width - 2) / 2, bendShares};
    springs(sweep, fromEven, row, row + evens, stretching, bending, fromEvenColumns);
    springs(sweep, fromOdd, row + evens, row + 1, stretching, bending, fromOddColumns);
    if (r + 1 == height) break;
    const int below = row + width;
    const Pull down{cloth.spacing, stretchCompliance, r > 0 ? 0 : width, r + 2 < height ? width : 0, bendShares};
    springs(sweep, width, row, below, stretching, bending, down);
    if (!shearing) continue;
    // Down and right from each column but the last, then down and left to each.
    springs(sweep, fromEven, row, below + evens, true, false, shear);
    springs(sweep, fromOdd, row + evens, below + 1, true, false, shear);
    springs(sweep, fromEven, row + evens, below, true, false, shear);
    springs(sweep, fromOdd, row + 1, below + evens, true, false, shear);
  }
  for (int c = 0; c < 3; ++c) reorder(slots + c * count, coordinates[c], width, height, true);
}
