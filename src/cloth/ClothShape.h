#pragma once

#include "linalg/Matrix.h"

class Cloth;

// The grid a document asks for, as the Cloth Initialization dialog gives it: the spacing is a
// single-precision number, widened to double only when the grid is laid out.
struct ClothShape {
  float nodeSpacing = 0.25f;
  int clothWidth = 17;   // nodes per row
  int clothHeight = 10;  // rows

  // Centres the sheet on the origin in the plane z = 0 with rows running down −y: diagonal
  // (1, −1, −1, 1), translation (−width × spacing / 2, height × spacing / 2, 0).
  Matrix placement() const;
  // Lays the grid out on `cloth`; the result of Cloth::initialize.
  int layOut(Cloth& cloth) const;
};
