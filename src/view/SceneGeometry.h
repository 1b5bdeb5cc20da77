#pragma once

class Matrix;
class Vector;

// cos and sin of 10 × i degrees for i = 0 to 36, rounded to 4 decimals; the cones use every
// fourth entry.
extern const double unitCircleCos[37];
extern const double unitCircleSin[37];

// Fills the 4 × 4 row-major F with a frame whose origin is p and whose z axis points along d, so
// that F maps frame coordinates (x, y, z, 1) to model coordinates. A direction with three equal
// components (the zero vector among them) has no helper axis to swap in: F is left unchanged.
void frameAlong(const Vector& p, const Vector& d, Matrix& F);
