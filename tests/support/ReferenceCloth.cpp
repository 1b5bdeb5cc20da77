#include "ReferenceCloth.h"

#include <cmath>

#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"

namespace {

Vector toVector(const Vec3& v) { return v.toVector(); }

std::vector<Vector*> copyNodes(const NodeBuffer& nodes) {
  std::vector<Vector*> copy;
  for (int k = 0; k < nodes.count(); ++k) copy.push_back(new Vector(nodes.at(k).toVector()));
  return copy;
}

}  // namespace

ReferenceCloth::ReferenceCloth(const Cloth& start)
    : parameters(start.parameters), width(start.width), height(start.height), spacing(start.spacing),
      windPhase(start.windPhase), gravityVector(toVector(start.gravityVector)),
      windDirection(toVector(start.windDirection)), windForce(toVector(start.windForce)),
      gustCentre(toVector(start.gustCentre)), positions(copyNodes(*start.positions)),
      previousPositions(copyNodes(*start.previousPositions)), nextPositions(copyNodes(*start.nextPositions)),
      fixed(start.fixedNodes) {}

ReferenceCloth::~ReferenceCloth() {
  for (auto* nodes : {&positions, &previousPositions, &nextPositions})
    for (Vector* v : *nodes) delete v;
}

Vector ReferenceCloth::nodeNormal(const std::vector<Vector*>& nodes, int c, int r) const {
  const int k = r * width + c;
  const Vector& p = *nodes[k];
  if (r == 0 && c == 0) return nodes[1]->subtract(p).cross(nodes[width]->subtract(p)).normalize();
  if (r == 0) return nodes[k + width]->subtract(p).cross(nodes[k - 1]->subtract(p)).normalize();
  if (c == 0) return nodes[k - width]->subtract(p).cross(nodes[k + 1]->subtract(p)).normalize();
  return nodes[k - 1]->subtract(p).cross(nodes[k - width]->subtract(p)).normalize();
}

Vector ReferenceCloth::springForce(int k, int n, double stiffness, double restLength) const {
  const Vector d = positions[n]->subtract(*positions[k]);
  return d.subtract(d.normalize().scale(restLength)).scale(stiffness);
}

void ReferenceCloth::step(double dt, RandomGenerator& gusts) {
  cDamping = parameters.valueOf("cDamping");
  density = parameters.valueOf("density");
  gravityVector[1] = parameters.valueOf("gravity");
  kBend = parameters.valueOf("kBend");
  kShear = parameters.valueOf("kShear");
  kStretch = parameters.valueOf("kStretch");
  windMinimum = parameters.valueOf("windMinimum");
  windPressure = parameters.valueOf("windPressure");
  windFrequency = parameters.valueOf("windFrequency");

  const double m = spacing * spacing * density;
  const double ld = std::sqrt(2.0) * spacing;
  windPhase += windFrequency * dt;
  const double gate = std::sin(windPhase) > 0.5 ? 1.0 : 0.0;
  const double magnitude = (windPressure * std::cos(windPhase) * gate + windMinimum) * spacing * spacing;
  windForce.assign(windDirection.scale(magnitude));

  if (gusts.draw() < 2730) {
    gustCentre[0] = (0.5 - gusts.draw() * (1.0 / 32767)) * width * spacing;
    gustCentre[1] = (0.5 - gusts.draw() * (1.0 / 32767)) * height * spacing;
  }

  for (int r = 0; r < height; ++r) {
    for (int c = 0; c < width; ++c) {
      const int k = r * width + c;
      if (fixed.contains(k)) continue;
      Vector f(gravityVector);
      const bool up = r > 0, down = r < height - 1, left = c > 0, right = c < width - 1;
      if (down && left) f.assign(f.add(springForce(k, k + width - 1, kShear, ld)));
      if (down) f.assign(f.add(springForce(k, k + width, kStretch, spacing)));
      if (down && right) f.assign(f.add(springForce(k, k + width + 1, kShear, ld)));
      if (up && left) f.assign(f.add(springForce(k, k - width - 1, kShear, ld)));
      if (up) f.assign(f.add(springForce(k, k - width, kStretch, spacing)));
      if (up && right) f.assign(f.add(springForce(k, k - width + 1, kShear, ld)));
      if (left) f.assign(f.add(springForce(k, k - 1, kStretch, spacing)));
      if (right) f.assign(f.add(springForce(k, k + 1, kStretch, spacing)));
      if (left && right)
        f.assign(f.add(positions[k + 1]->add(*positions[k - 1]).scale(0.5).subtract(*positions[k]).scale(kBend)));
      if (up && down)
        f.assign(f.add(
            positions[k + width]->add(*positions[k - width]).scale(0.5).subtract(*positions[k]).scale(kBend)));

      const double distance = positions[k]->subtract(gustCentre).norm();
      const Vector n = nodeNormal(positions, c, r);
      const double factor = std::fabs(n.dot(windDirection)) * distance;
      f.assign(f.add(windForce.scale(factor)));

      nextPositions[k]->assign(f.scale(dt * dt)
                                   .add(positions[k]->scale(dt * cDamping + 2 * m))
                                   .subtract(previousPositions[k]->scale(m))
                                   .scale(1 / (dt * cDamping + m)));
    }
  }
  std::vector<Vector*> oldPrevious = std::move(previousPositions);
  previousPositions = std::move(positions);
  positions = std::move(nextPositions);
  nextPositions = std::move(oldPrevious);
}
