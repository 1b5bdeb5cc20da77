#include "scene/Shapes.h"

#include <cmath>

bool unitOf(const Vec3& v, Vec3& unit) {
  const double n = norm(v);
  if (!(n > 0.0) || !std::isfinite(n)) return false;
  unit = (1.0 / n) * v;
  return true;
}
