#pragma once

class ParameterList;

// Whether the explicit step can stay stable for a sheet's current settings. Linearised about the
// laid-out grid, each wave of the sheet evolves on its own; the damped Verlet step keeps a wave of
// stiffness K (force per unit displacement of one node) bounded while
//   dt² × K < 4m + 2 × cDamping × dt,   m = density × spacing²,
// that is dt × √(K / m) < 2 without damping. The stiffest wave sets the limit.
class StabilityEstimate {
public:
  StabilityEstimate(double kStretch, double kShear, double kBend, double density, double cDamping,
                    double spacing, double dt);
  // From the values now in `parameters` (the cloth's ten names).
  StabilityEstimate(const ParameterList& parameters, double spacing, double dt);

  // The largest K over all waves of an unbounded grid: at least 4 × kStretch + 4 × kShear +
  // 2 × kBend, the wave alternating along a row and moving along it.
  static double stiffestWave(double kStretch, double kShear, double kBend);

  // dt² × K over its limit: the step is stable while this is below 1.
  double ratio() const { return ratio_; }
  bool stable() const { return ratio_ < 1.0; }
  // The narrowest spacing at which the other settings would be stable.
  double minimumSpacing() const;

private:
  double stiffness_;
  double density_;
  double cDamping_;
  double dt_;
  double ratio_;
};
