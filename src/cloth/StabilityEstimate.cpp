#include "cloth/StabilityEstimate.h"

#include <algorithm>
#include <cmath>

#include "cloth/ParameterList.h"

namespace {

// K of the wave with phase steps qx along a row and qy down a column: the largest eigenvalue of
// its in-plane 2 × 2 stiffness, or the out-of-plane one (only bending resists that at rest).
double waveStiffness(double kStretch, double kShear, double kBend, double qx, double qy) {
  const double diagonal = 1.0 - std::cos(qx + qy);      // the (1, 1) shear springs
  const double antiDiagonal = 1.0 - std::cos(qx - qy);  // the (1, −1) ones
  const double bend = kBend * ((1.0 - std::cos(qx)) + (1.0 - std::cos(qy)));
  const double xx = 2.0 * kStretch * (1.0 - std::cos(qx)) + kShear * (diagonal + antiDiagonal) + bend;
  const double yy = 2.0 * kStretch * (1.0 - std::cos(qy)) + kShear * (diagonal + antiDiagonal) + bend;
  const double xy = kShear * (diagonal - antiDiagonal);
  const double mean = 0.5 * (xx + yy);
  const double spread = std::sqrt(0.25 * (xx - yy) * (xx - yy) + xy * xy);
  return std::max(mean + spread, bend);
}

}  // namespace

StabilityEstimate::StabilityEstimate(double kStretch, double kShear, double kBend, double density,
                                     double cDamping, double spacing, double dt)
    : stiffness_(stiffestWave(kStretch, kShear, kBend)), density_(density), cDamping_(cDamping), dt_(dt) {
  const double limit = 4.0 * density * spacing * spacing + 2.0 * cDamping * dt;
  ratio_ = limit > 0.0 ? dt * dt * stiffness_ / limit : INFINITY;
}

StabilityEstimate::StabilityEstimate(const ParameterList& p, double spacing, double dt)
    : StabilityEstimate(p.valueOf("kStretch"), p.valueOf("kShear"), p.valueOf("kBend"), p.valueOf("density"),
                        p.valueOf("cDamping"), spacing, dt) {}

// The waves of a finite grid are among those of the unbounded one, so its largest K bounds theirs.
// Sampled over the eighth of the phase plane that the others mirror. The peak lies at (π, 0), at
// (π, π) or inside the diagonal qx = qy; the sampling finds it to within 0.1 %.
double StabilityEstimate::stiffestWave(double kStretch, double kShear, double kBend) {
  constexpr int kSamples = 96;
  constexpr double kPi = 3.14159265358979323846;
  double stiffest = 0.0;
  for (int i = 0; i <= kSamples; ++i)
    for (int j = 0; j <= i; ++j)  // K is symmetric in qx and qy
      stiffest = std::max(stiffest, waveStiffness(kStretch, kShear, kBend, kPi * i / kSamples, kPi * j / kSamples));
  return stiffest;
}

double StabilityEstimate::minimumSpacing() const {
  const double needed = dt_ * dt_ * stiffness_ - 2.0 * cDamping_ * dt_;
  return needed > 0.0 ? std::sqrt(needed / (4.0 * density_)) : 0.0;
}
