#include "sim/XpbdSolver.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cloth/Cloth.h"
#include "cloth/NodeWind.h"
#include "cloth/SheetCheck.h"
#include "cloth/StabilityEstimate.h"

namespace {

// The predicted positions the sweep corrects in place, with each node's inverse mass (0 when fixed).
struct Sweep {
  double* x;
  double* y;
  double* z;
  const double* w;

  // A zero-length spring between nodes i and j that pulls only the ends that are inner nodes of
  // their row or column: the bend term of the explicit step, split over the node's two edges. Its
  // ends weigh w_i + w_j, one of 0, w and 2w: `reciprocal` holds 1 / (w_i + w_j + α̃) for each.
  void bend(int i, int j, bool innerI, bool innerJ, const double (&reciprocal)[3]) const {
    const double wi = innerI ? w[i] : 0.0, wj = innerJ ? w[j] : 0.0;
    const double s = reciprocal[(wi != 0.0) + (wj != 0.0)];
    const double dx = x[j] - x[i], dy = y[j] - y[i], dz = z[j] - z[i];
    x[i] += wi * s * dx;
    y[i] += wi * s * dy;
    z[i] += wi * s * dz;
    x[j] -= wj * s * dx;
    y[j] -= wj * s * dy;
    z[j] -= wj * s * dz;
  }
};

// A run of `count` springs of `rest` length that share no node, spring n joining node a + n × Stride
// to node b + n × Stride: the first XPBD iteration (λ from 0) of C = |pj − pi| − rest with
// compliance α̃ = 1 / (k h²). Coincident nodes are left alone, as the explicit step's spring adds
// nothing there. No node is reached through two of the pointers, so the compiler may take several
// springs at once.
template <int Stride>
void springRun(int count, Sweep sweep, int a, int b, double rest, double compliance) {
  double* __restrict ax = sweep.x + a;
  double* __restrict ay = sweep.y + a;
  double* __restrict az = sweep.z + a;
  double* __restrict bx = sweep.x + b;
  double* __restrict by = sweep.y + b;
  double* __restrict bz = sweep.z + b;
  const double* aw = sweep.w + a;
  const double* bw = sweep.w + b;
  for (int n = 0; n < count * Stride; n += Stride) {
    const double dx = bx[n] - ax[n], dy = by[n] - ay[n], dz = bz[n] - az[n];
    const double lengthSquared = dx * dx + dy * dy + dz * dz;
    const double length = std::sqrt(lengthSquared);
    const double s = lengthSquared > 0.0 ? (length - rest) / ((aw[n] + bw[n] + compliance) * length) : 0.0;
    ax[n] += aw[n] * s * dx;
    ay[n] += aw[n] * s * dy;
    az[n] += aw[n] * s * dz;
    bx[n] -= bw[n] * s * dx;
    by[n] -= bw[n] * s * dy;
    bz[n] -= bw[n] * s * dz;
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
  bool broken = false;
  for (int s = 1; s <= substeps; ++s) {
    // Gravity, wind and damping carry every free node to its predicted position.
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

// The explicit step without its springs: m (v⁺ − v) / h = F − cDamping × v⁺, v = (x − x⁻) / h,
// so the damping is implicit and stable for any cDamping.
void XpbdSolver::predict(Cloth& cloth, double h) {
  const NodeBuffer& x = *cloth.positions;
  const NodeBuffer& previous = *cloth.previousPositions;
  NodeBuffer& next = *cloth.nextPositions;
  const double m = cloth.nodeMass();
  const double reciprocal = 1.0 / (m + h * cloth.cDamping);
  inverseMass_.resize(cloth.nodeCount());
  for (int r = 0; r < cloth.height; ++r) {
    for (int c = 0; c < cloth.width; ++c) {
      const int k = r * cloth.width + c;
      const Vec3 p = x.at(k);
      if (cloth.fixedNodes.contains(k)) {
        inverseMass_[k] = 0.0;
        next.set(k, p);
        continue;
      }
      inverseMass_[k] = 1.0 / m;
      const double wind = windFactor(x, cloth.width, c, r, cloth.gustCentre, cloth.windDirection);
      const Vec3 force = cloth.gravityVector + wind * cloth.windForce;
      next.set(k, p + reciprocal * (m * (p - previous.at(k)) + (h * h) * force));
    }
  }
}

// One sweep, row by row from the top, where the pins usually are, so that their hold travels down
// the sheet within the sweep. Each run of the loop below takes springs that share no node (every
// other one along a row; all of one kind between two rows), so their corrections overlap in the
// processor instead of waiting on each other.
void XpbdSolver::projectSprings(Cloth& cloth, double h) {
  NodeBuffer& next = *cloth.nextPositions;
  const Sweep sweep{next.x, next.y, next.z, inverseMass_.data()};
  const int width = cloth.width, height = cloth.height;
  const bool stretch = cloth.kStretch > 0.0, shear = cloth.kShear > 0.0, bend = cloth.kBend > 0.0;
  const double bendCompliance = 1.0 / (0.5 * cloth.kBend * h * h), w = 1.0 / cloth.nodeMass();
  const double bendReciprocal[3] = {1.0 / bendCompliance, 1.0 / (w + bendCompliance), 1.0 / (2.0 * w + bendCompliance)};
  const double stretchCompliance = 1.0 / (cloth.kStretch * h * h);
  const double shearCompliance = 1.0 / (cloth.kShear * h * h);
  const double diagonalRest = std::sqrt(2.0) * cloth.spacing;
  for (int r = 0; r < height; ++r) {
    const int row = r * width;
    for (int first : {0, 1}) {
      if (stretch) springRun<2>((width - first) / 2, sweep, row + first, row + first + 1, cloth.spacing, stretchCompliance);
      if (bend)
        for (int c = first; c + 1 < width; c += 2) sweep.bend(row + c, row + c + 1, c > 0, c + 2 < width, bendReciprocal);
    }
    if (r + 1 == height) break;
    const int below = row + width;
    if (stretch) springRun<1>(width, sweep, row, below, cloth.spacing, stretchCompliance);
    if (bend)
      for (int c = 0; c < width; ++c) sweep.bend(row + c, below + c, r > 0, r + 2 < height, bendReciprocal);
    if (!shear) continue;
    springRun<1>(width - 1, sweep, row, below + 1, diagonalRest, shearCompliance);
    springRun<1>(width - 1, sweep, row + 1, below, diagonalRest, shearCompliance);
  }
}
