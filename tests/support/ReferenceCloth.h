#pragma once

#include <vector>

#include "cloth/FixedNodes.h"
#include "linalg/Vector.h"

class Cloth;
class ParameterList;
class RandomGenerator;

// The time step written out in plain Vector operations, one heap vector per intermediate result,
// in exactly the order the algorithm states. It is the yardstick the cloth's own step must match
// bit for bit. It starts from a copy of a cloth's state, its fixed nodes among it, and reads that
// cloth's parameters.
class ReferenceCloth {
public:
  explicit ReferenceCloth(const Cloth& start);
  ReferenceCloth(const ReferenceCloth&) = delete;
  ReferenceCloth& operator=(const ReferenceCloth&) = delete;
  ~ReferenceCloth();

  void step(double dt, RandomGenerator& gusts);
  const Vector& position(int k) const { return *positions[k]; }
  const Vector& previousPosition(int k) const { return *previousPositions[k]; }

private:
  Vector nodeNormal(const std::vector<Vector*>& nodes, int c, int r) const;
  Vector springForce(int k, int n, double stiffness, double restLength) const;

  const ParameterList& parameters;
  int width, height;
  double spacing;
  double cDamping = 0, density = 0, kBend = 0, kShear = 0, kStretch = 0;
  double windMinimum = 0, windPressure = 0, windFrequency = 0, windPhase;
  Vector gravityVector, windDirection, windForce, gustCentre;
  std::vector<Vector*> positions, previousPositions, nextPositions;
  FixedNodes fixed;
};
