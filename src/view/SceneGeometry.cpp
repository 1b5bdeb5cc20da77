#include "view/SceneGeometry.h"

#include <utility>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"

const double unitCircleCos[37] = {
    1.0,    0.9848,  0.9397,  0.866,   0.766,   0.6428,  0.5,     0.342,   0.1736,  0.0,
    -0.1736, -0.342, -0.5,    -0.6428, -0.766,  -0.866,  -0.9397, -0.9848, -1.0,    -0.9848,
    -0.9397, -0.866, -0.766,  -0.6428, -0.5,    -0.342,  -0.1736, 0.0,     0.1736,  0.342,
    0.5,    0.6428,  0.766,   0.866,   0.9397,  0.9848,  1.0};
const double unitCircleSin[37] = {
    0.0,    0.1736,  0.342,   0.5,     0.6428,  0.766,   0.866,   0.9397,  0.9848,  1.0,
    0.9848, 0.9397,  0.866,   0.766,   0.6428,  0.5,     0.342,   0.1736,  0.0,     -0.1736,
    -0.342, -0.5,    -0.6428, -0.766,  -0.866,  -0.9397, -0.9848, -1.0,    -0.9848, -0.9397,
    -0.866, -0.766,  -0.6428, -0.5,    -0.342,  -0.1736, 0.0};

void frameAlong(const Vector& p, const Vector& d, Matrix& F) {
  // A helper vector off the direction: d with its first pair of unequal components swapped.
  Vector u(d);
  if (d[0] != d[1])
    std::swap(u[0], u[1]);
  else if (d[0] != d[2])
    std::swap(u[0], u[2]);
  else
    return;
  const Vector z = d.normalize();
  const Vector w = z.cross(u).normalize();
  const Vector x = w.cross(z).normalize();
  for (int r = 0; r < 3; ++r) {
    F(r, 0) = x[r];
    F(r, 1) = w[r];
    F(r, 2) = z[r];
    F(r, 3) = p[r];
  }
  F(3, 0) = F(3, 1) = F(3, 2) = 0.0;
  F(3, 3) = 1.0;
}
