#pragma once

#include <cstdint>

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"

// Everything the node loop of one time step reads; fixed for the whole step. Forces are computed
// from `positions` only, so the loop may visit nodes in any order.
struct StepInputs {
  const NodeBuffer* positions;
  const NodeBuffer* previous;
  NodeBuffer* next;  // written for every free node, never for a fixed one
  const std::uint64_t* fixed;  // FixedNodes::words(): one bit per node, set where it stays put
  int width;
  int height;
  double dt;
  double kStretch;
  double kShear;
  double kBend;
  double cDamping;
  double mass;          // per node: spacing² × density
  double rest;          // rest length of row and column springs: the spacing
  double diagonalRest;  // rest length of the shear springs: √2 × spacing
  Vec3 gravity;         // a force, the same on every node (not scaled by the mass)
  Vec3 windForce;
  Vec3 windDirection;
  Vec3 gustCentre;
  // Whether to check the new positions for divergence: the square of the longest a column spring
  // may be before the sheet counts as diverged; a non-finite coordinate always counts.
  bool checkSheet;
  double stretchLimitSquared;
};

// What a vector node loop reports beside the new positions.
struct StepOutcome {
  int zeroNormalizations;  // exact zero vectors it normalized, for the caller to report
  bool overstretched;      // a column spring of the new positions past the limit, or not finite
};
