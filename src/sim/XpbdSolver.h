#pragma once

#include <vector>

#include "cloth/Vec3.h"

class Cloth;
class RandomGenerator;

// Steps a cloth by extended position-based dynamics (XPBD): the gravity, wind and damping of the
// explicit step (the forces worked out once per step, where it starts) move every free node to a
// predicted position, then one Gauss–Seidel sweep over the springs pulls the prediction back,
// each spring with compliance 1 / stiffness. With one sweep per short substep rather than many
// sweeps per long step, the springs converge on their stiffness as the substep shrinks, and no
// setting can make the positions run away: a spring's correction never overshoots its rest length.
// A step takes one substep at the default settings and more, up to kMaxSubsteps, where the
// explicit step would be near or past its limit.
//
// The same springs as the explicit step: stretch along rows and columns, shear along both
// diagonals, and bend as a zero-length spring of half kBend along each row and column edge, which
// gives an inner node exactly kBend × (midpoint of its two neighbours − itself) and the edge's
// outer node nothing.
class XpbdSolver {
public:
  // Substeps per step, at most: beyond it, at the lightest and stiffest settings on the narrowest
  // spacings, the springs give a little more than their stiffness says, and stay stable.
  static constexpr int kMaxSubsteps = 16;

  // One step of h seconds: the gusts draw and the wind advances once, as in the explicit step, and
  // the substeps share them. The new positions are checked for divergence when `checkSheet`.
  void step(Cloth& cloth, double h, RandomGenerator& gusts, bool checkSheet);
  // How many substeps a step of h takes with the cloth's current settings.
  int substepsFor(const Cloth& cloth, double h);

  // What the step's force on a free node is made of, the same for all its substeps.
  struct StepForces {
    Vec3 gravity;
    Vec3 windForce;
    Vec3 windDirection;
    Vec3 gustCentre;
  };

private:
  void weighNodes(const Cloth& cloth);
  void computeForces(const Cloth& cloth);
  void forceAt(const Cloth& cloth, int k, const StepForces& forces);
  void predict(const Cloth& cloth, double h);
  void projectSprings(Cloth& cloth, double h);

  double freeInverseMass_ = 0.0;     // 1 / mass of every free node
  std::vector<double> inverseMass_;  // per node: 0 for a fixed node, freeInverseMass_ for a free one
  std::vector<double> force_;        // x, y and z of every node's force, one after another
  std::vector<double> sweep_;        // x, y, z and inverse mass of every node, in the sweep's layout
  double substepSettings_[7] = {};   // what substeps_ was worked out from
  int substeps_ = 1;
};
