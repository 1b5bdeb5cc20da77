#include "cloth/ScalarStepKernel.h"

#include "cloth/NodeWind.h"
#include "cloth/SheetCheck.h"

namespace {

// Hooke's law along the spring from p to its neighbour q: k × (d − L × normalize(d)), d = q − p.
Vec3 springForce(const Vec3& p, const Vec3& q, double k, double restLength) {
  const Vec3 d = q - p;
  return k * (d - restLength * normalize(d));
}

// Pulls p towards the midpoint of its two opposite neighbours a and b.
Vec3 bendForce(const Vec3& p, const Vec3& a, const Vec3& b, double kBend) {
  return kBend * (0.5 * (a + b) - p);
}

Vec3 nodeForce(const StepInputs& in, int r, int c) {
  const NodeBuffer& pos = *in.positions;
  const int w = in.width;
  const int k = r * w + c;
  const Vec3 p = pos.at(k);
  const bool up = r > 0, down = r < in.height - 1, left = c > 0, right = c < w - 1;

  // Neighbour order fixes the rounding of the sum: below, above, then along the row.
  Vec3 f = in.gravity;
  if (down && left) f = f + springForce(p, pos.at(k + w - 1), in.kShear, in.diagonalRest);
  if (down) f = f + springForce(p, pos.at(k + w), in.kStretch, in.rest);
  if (down && right) f = f + springForce(p, pos.at(k + w + 1), in.kShear, in.diagonalRest);
  if (up && left) f = f + springForce(p, pos.at(k - w - 1), in.kShear, in.diagonalRest);
  if (up) f = f + springForce(p, pos.at(k - w), in.kStretch, in.rest);
  if (up && right) f = f + springForce(p, pos.at(k - w + 1), in.kShear, in.diagonalRest);
  if (left) f = f + springForce(p, pos.at(k - 1), in.kStretch, in.rest);
  if (right) f = f + springForce(p, pos.at(k + 1), in.kStretch, in.rest);
  if (left && right) f = f + bendForce(p, pos.at(k + 1), pos.at(k - 1), in.kBend);
  if (up && down) f = f + bendForce(p, pos.at(k + w), pos.at(k - w), in.kBend);

  return f + windFactor(pos, w, c, r, in.gustCentre, in.windDirection) * in.windForce;
}

bool isFixed(const StepInputs& in, int k) { return (in.fixed[k >> 6] >> (k & 63)) & 1u; }

}  // namespace

bool scalarStepKernel(const StepInputs& in) {
  // Damped position Verlet: x⁺ = (F dt² + x (dt c + 2m) − x⁻ m) / (dt c + m), the division
  // taken as a multiplication by the reciprocal.
  const double dt2 = in.dt * in.dt;
  const double current = in.dt * in.cDamping + 2.0 * in.mass;
  const double reciprocal = 1.0 / (in.dt * in.cDamping + in.mass);
  bool diverged = false;
  for (int r = 0; r < in.height; ++r) {
    for (int c = 0; c < in.width; ++c) {
      const int k = r * in.width + c;
      if (!isFixed(in, k)) {
        const Vec3 f = nodeForce(in, r, c);
        const Vec3 x = in.positions->at(k);
        const Vec3 previous = in.previous->at(k);
        in.next->set(k, reciprocal * ((dt2 * f + current * x) - in.mass * previous));
      }
      if (in.checkSheet && r > 0 && columnSpringBroken(*in.next, k, in.width, in.stretchLimitSquared)) diverged = true;
    }
  }
  return diverged;
}
