#include "sim/XpbdSolver.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cloth/Cloth.h"
#include "cloth/NodeWind.h"
#include "cloth/SheetCheck.h"
#include "cloth/StabilityEstimate.h"

namespace {

// The predicted positions the sweep corrects in place, with each node's inverse mass.
struct Sweep {
  double* x;
  double* y;
  double* z;
  const double* w;

  // A spring of `rest` length between nodes i and j: the first XPBD iteration (λ from 0) of
  // C = |pj − pi| − rest with compliance α̃ = 1 / (k h²). Coincident nodes are left alone, as the
  // explicit step's spring adds nothing there.
  void spring(int i, int j, double rest, double compliance) const {
    const double dx = x[j] - x[i], dy = y[j] - y[i], dz = z[j] - z[i];
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (length == 0.0) return;
    const double s = (length - rest) / ((w[i] + w[j] + compliance) * length);
    move(i, j, w[i] * s, w[j] * s, dx, dy, dz);
  }

  // A zero-length spring between nodes i and j that pulls only the ends that are inner nodes of
  // their row or column: the bend term of the explicit step, split over the node's two edges.
  void bend(int i, int j, bool innerI, bool innerJ, double compliance) const {
    const double wi = innerI ? w[i] : 0.0, wj = innerJ ? w[j] : 0.0;
    const double s = 1.0 / (wi + wj + compliance);
    move(i, j, wi * s, wj * s, x[j] - x[i], y[j] - y[i], z[j] - z[i]);
  }

  // i along d, j against it.
  void move(int i, int j, double si, double sj, double dx, double dy, double dz) const {
    x[i] += si * dx;
    y[i] += si * dy;
    z[i] += si * dz;
    x[j] -= sj * dx;
    y[j] -= sj * dy;
    z[j] -= sj * dz;
  }
};

// The compliance α̃ of a spring of stiffness k over a substep of h (infinite for k = 0: no spring).
double compliance(double k, double h) { return 1.0 / (k * h * h); }

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
// the sheet within the sweep.
void XpbdSolver::projectSprings(Cloth& cloth, double h) {
  NodeBuffer& next = *cloth.nextPositions;
  const Sweep sweep{next.x, next.y, next.z, inverseMass_.data()};
  const int width = cloth.width, height = cloth.height;
  const double rest = cloth.spacing, diagonalRest = std::sqrt(2.0) * cloth.spacing;
  const bool stretch = cloth.kStretch > 0.0, shear = cloth.kShear > 0.0, bend = cloth.kBend > 0.0;
  const double stretchCompliance = compliance(cloth.kStretch, h);
  const double shearCompliance = compliance(cloth.kShear, h);
  const double bendCompliance = compliance(0.5 * cloth.kBend, h);
  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      const int k = r * width + c;
      if (c + 1 < width) {
        if (stretch) sweep.spring(k, k + 1, rest, stretchCompliance);
        if (bend) sweep.bend(k, k + 1, c > 0, c + 2 < width, bendCompliance);
      }
      if (r + 1 == height) continue;
      if (stretch) sweep.spring(k, k + width, rest, stretchCompliance);
      if (bend) sweep.bend(k, k + width, r > 0, r + 2 < height, bendCompliance);
      if (!shear) continue;
      if (c + 1 < width) sweep.spring(k, k + width + 1, diagonalRest, shearCompliance);
      if (c > 0) sweep.spring(k, k + width - 1, diagonalRest, shearCompliance);
    }
  }
}
