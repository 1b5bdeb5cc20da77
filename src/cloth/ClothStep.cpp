// The time step: parameters, wind and gusts, then the node loop and the buffer rotation.
#include <emmintrin.h>

#include <algorithm>
#include <cmath>

#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"

void Cloth::step(double dt) {
  if (!hasGrid()) return;
  readParameters();
  advanceWind(dt);
  moveGustCentre();

  StepInputs in;
  in.positions = positions.get();
  in.previous = previousPositions.get();
  in.next = nextPositions.get();
  in.width = width;
  in.height = height;
  in.dt = dt;
  in.kStretch = kStretch;
  in.kShear = kShear;
  in.kBend = kBend;
  in.cDamping = cDamping;
  in.mass = spacing * spacing * density;
  in.rest = spacing;
  in.diagonalRest = std::sqrt(2.0) * spacing;
  in.gravity = gravityVector;
  in.windForce = windForce;
  in.windDirection = windDirection;
  in.gustCentre = gustCentre;
  runStepKernel(stepKernel, in, *rowScratch);

  // previous ← positions ← next ← previous: the old previous buffer becomes the next scratch.
  previousPositions.swap(positions);
  positions.swap(nextPositions);
  if (!diverged) diverged = !withinReach();
}

// Every rest position lies within `corner` of the sheet's laid-out centre, so a node within
// reachLimit() − corner of that centre is within reachLimit() of its rest position; checking against
// the centre reads only the new positions. Two nodes at a time; an odd last node is loaded with its
// neighbour before it. A NaN fails the comparison, so it counts as outside.
bool Cloth::withinReach() const {
  const NodeBuffer& rest = *restPositions;
  const int n = nodeCount();  // at least 3
  const Vec3 first = rest.at(0), last = rest.at(n - 1), topRight = rest.at(width - 1);
  const Vec3 centre = 0.5 * (first + last);
  const double corner = std::max(norm(first - centre), norm(topRight - centre));
  const double radius = reachLimit() - corner;
  const __m128d radiusSquared = _mm_set1_pd(radius * radius);
  const __m128d cx = _mm_set1_pd(centre.x), cy = _mm_set1_pd(centre.y), cz = _mm_set1_pd(centre.z);
  const NodeBuffer& p = *positions;
  __m128d inside = _mm_castsi128_pd(_mm_set1_epi64x(-1));
  for (int pair = 0; pair < n; pair += 2) {
    const int k = pair + 1 < n ? pair : n - 2;
    const __m128d dx = _mm_sub_pd(_mm_loadu_pd(p.x + k), cx);
    const __m128d dy = _mm_sub_pd(_mm_loadu_pd(p.y + k), cy);
    const __m128d dz = _mm_sub_pd(_mm_loadu_pd(p.z + k), cz);
    const __m128d squared = _mm_add_pd(_mm_add_pd(_mm_mul_pd(dx, dx), _mm_mul_pd(dy, dy)), _mm_mul_pd(dz, dz));
    inside = _mm_and_pd(inside, _mm_cmple_pd(squared, radiusSquared));
  }
  return _mm_movemask_pd(inside) == 0x3;
}

void Cloth::readParameters() {
  cDamping = parameters.valueOf("cDamping");
  density = parameters.valueOf("density");
  gravityVector.y = parameters.valueOf("gravity");
  kBend = parameters.valueOf("kBend");
  kShear = parameters.valueOf("kShear");
  kStretch = parameters.valueOf("kStretch");
  windMinimum = parameters.valueOf("windMinimum");
  windPressure = parameters.valueOf("windPressure");
  windFrequency = parameters.valueOf("windFrequency");
}

void Cloth::advanceWind(double dt) {
  windPhase += windFrequency * dt;
  const double gate = std::sin(windPhase) > 0.5 ? 1.0 : 0.0;
  const double magnitude = (windPressure * std::cos(windPhase) * gate + windMinimum) * spacing * spacing;
  windForce = magnitude * windDirection;
}

// About one step in twelve the gust centre jumps to a random point of the sheet's rectangle.
void Cloth::moveGustCentre() {
  constexpr int kMoveBelow = 2730;
  constexpr double kUnit = 1.0 / RandomGenerator::kMax;
  if (RandomGenerator::draw() >= kMoveBelow) return;
  gustCentre.x = (0.5 - RandomGenerator::draw() * kUnit) * width * spacing;
  gustCentre.y = (0.5 - RandomGenerator::draw() * kUnit) * height * spacing;
}
