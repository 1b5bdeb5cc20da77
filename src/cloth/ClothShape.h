#pragma once

#include "linalg/Matrix.h"

class Cloth;

// The grid a document asks for, as the Cloth Initialization dialog gives it: the spacing is a
// single-precision number, widened to double only when the grid is laid out.
struct ClothShape {
  // Hanging: in the plane z = 0, rows running down −y. Flat: the same grid turned into the
  // horizontal plane at the top row's height, rows running along +z.
  enum class Lay { Hanging, Flat };

  float nodeSpacing = 0.25f;
  int clothWidth = 17;   // nodes per row
  int clothHeight = 10;  // rows
  Lay lay = Lay::Hanging;

  // Centres the sheet on the origin. Hanging: diagonal (1, −1, −1, 1), translation
  // (−width × spacing / 2, height × spacing / 2, 0). Flat: rows go along +z from −height × spacing / 2.
  Matrix placement() const;
  // Lays the grid out on `cloth`; the result of Cloth::initialize.
  int layOut(Cloth& cloth) const;
};
