#pragma once

#include "cloth/NodeBuffer.h"
#include "cloth/Vec3.h"

// Everything the node loop of one time step reads; fixed for the whole step. Forces are computed
// from `positions` only, so the loop may visit nodes in any order.
struct StepInputs {
  const NodeBuffer* positions;
  const NodeBuffer* previous;
  NodeBuffer* next;  // written for every free node, never for a fixed one
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
};
