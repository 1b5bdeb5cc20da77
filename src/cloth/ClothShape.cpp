#include "cloth/ClothShape.h"

#include "cloth/Cloth.h"

Matrix ClothShape::placement() const {
  Matrix m(4, 4);
  m(0, 0) = 1.0;
  m(3, 3) = 1.0;
  // Rounded through single precision exactly as the dialog's float spacing is: int × float is a
  // float, only then widened for the factor.
  m(0, 3) = clothWidth * nodeSpacing * (-0.5);
  m(1, 3) = clothHeight * nodeSpacing * 0.5;
  if (lay == Lay::Hanging) {
    m(1, 1) = -1.0;
    m(2, 2) = -1.0;
  } else {
    m(2, 1) = 1.0;  // grid rows along +z
    m(2, 3) = clothHeight * nodeSpacing * (-0.5);
  }
  return m;
}

int ClothShape::layOut(Cloth& cloth) const {
  const Matrix m = placement();
  return cloth.initialize(static_cast<double>(nodeSpacing), clothWidth, clothHeight, &m);
}
