// The time step: parameters, wind and gusts, then the node loop and the buffer rotation.
#include <cmath>

#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"

void Cloth::step(double dt, RandomGenerator& gusts, bool checkSheet) {
  if (!hasGrid()) return;
  prepareStep(dt, gusts);

  StepInputs in;
  in.positions = positions.get();
  in.previous = previousPositions.get();
  in.next = nextPositions.get();
  in.fixed = fixedNodes.words();
  in.width = width;
  in.height = height;
  in.dt = dt;
  in.kStretch = kStretch;
  in.kShear = kShear;
  in.kBend = kBend;
  in.cDamping = cDamping;
  in.mass = nodeMass();
  in.rest = spacing;
  in.diagonalRest = std::sqrt(2.0) * spacing;
  in.gravity = gravityVector;
  in.windForce = windForce;
  in.windDirection = windDirection;
  in.gustCentre = gustCentre;
  const double limit = stretchLimit();
  in.checkSheet = checkSheet;
  in.stretchLimitSquared = limit * limit;
  const bool overstretched = runStepKernel(stepKernel, in, *rowScratch);
  rotateBuffers();
  diverged = diverged || overstretched;
}

void Cloth::prepareStep(double dt, RandomGenerator& gusts) {
  readParameters();
  advanceWind(dt);
  moveGustCentre(gusts);
}

void Cloth::rotateBuffers() {
  previousPositions.swap(positions);
  positions.swap(nextPositions);
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
  windAngle = parameters.valueOf("windDirection");
}

void Cloth::advanceWind(double dt) {
  // sin 0 and cos 0 are exact, so the unturned wind keeps its direction to the bit.
  const double turn = windAngle * (M_PI / 180.0);
  windDirection = {std::sin(turn), 0.0, std::cos(turn)};
  windPhase += windFrequency * dt;
  const double gate = std::sin(windPhase) > 0.5 ? 1.0 : 0.0;
  const double magnitude = (windPressure * std::cos(windPhase) * gate + windMinimum) * spacing * spacing;
  windForce = magnitude * windDirection;
}

// About one step in twelve the gust centre jumps to a random point of the sheet's rectangle.
void Cloth::moveGustCentre(RandomGenerator& gusts) {
  constexpr int kMoveBelow = 2730;
  constexpr double kUnit = 1.0 / RandomGenerator::kMax;
  if (gusts.draw() >= kMoveBelow) return;
  gustCentre.x = (0.5 - gusts.draw() * kUnit) * width * spacing;
  gustCentre.y = (0.5 - gusts.draw() * kUnit) * height * spacing;
}
