#include "view/SceneGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"

namespace {

Vector v3(double x, double y, double z) {
  const double d[3] = {x, y, z};
  return Vector(3, d);
}

// The columns of F as (U', W, Z, p) and its last row.
void expectFrame(const Matrix& F, const Vector& u, const Vector& w, const Vector& z, const Vector& p) {
  for (int r = 0; r < 3; ++r) {
    EXPECT_DOUBLE_EQ(F(r, 0), u[r]) << "row " << r;
    EXPECT_DOUBLE_EQ(F(r, 1), w[r]) << "row " << r;
    EXPECT_DOUBLE_EQ(F(r, 2), z[r]) << "row " << r;
    EXPECT_DOUBLE_EQ(F(r, 3), p[r]) << "row " << r;
  }
  EXPECT_EQ(F(3, 0), 0.0);
  EXPECT_EQ(F(3, 1), 0.0);
  EXPECT_EQ(F(3, 2), 0.0);
  EXPECT_EQ(F(3, 3), 1.0);
}

}  // namespace

TEST(UnitCircle, HoldsTenDegreeStepsToFourDecimals) {
  for (int i = 0; i <= 36; ++i) {
    const double a = 10.0 * i * M_PI / 180.0;
    EXPECT_NEAR(unitCircleCos[i], std::cos(a), 0.00005) << i;
    EXPECT_NEAR(unitCircleSin[i], std::sin(a), 0.00005) << i;
    EXPECT_EQ(unitCircleCos[i], std::round(unitCircleCos[i] * 10000) / 10000) << i;
  }
  EXPECT_EQ(unitCircleCos[4], 0.766);
  EXPECT_EQ(unitCircleSin[4], 0.6428);
  EXPECT_EQ(unitCircleCos[8], 0.1736);
  EXPECT_EQ(unitCircleSin[8], 0.9848);
  EXPECT_EQ(unitCircleCos[0], 1.0);
  EXPECT_EQ(unitCircleSin[0], 0.0);
  EXPECT_EQ(unitCircleCos[36], 1.0);
  EXPECT_EQ(unitCircleSin[36], 0.0);
}

// The z arrowhead: components 0 and 1 are equal, so 0 and 2 are swapped: F is a pure translation.
TEST(FrameAlong, AlongZIsAPureTranslation) {
  Matrix F(4, 4);
  frameAlong(v3(0, 0, 2), v3(0, 0, 2), F);
  expectFrame(F, v3(1, 0, 0), v3(0, 1, 0), v3(0, 0, 1), v3(0, 0, 2));
}

// The x arrowhead: U = (0, 0.4, 0), Z = x, W = z, U' = y.
TEST(FrameAlong, AlongXTurnsZOntoX) {
  Matrix F(4, 4);
  frameAlong(v3(2, 0, 0), v3(0.4, 0, 0), F);
  expectFrame(F, v3(0, 1, 0), v3(0, 0, 1), v3(1, 0, 0), v3(2, 0, 0));
}

TEST(FrameAlong, AlongYTurnsZOntoY) {
  Matrix F(4, 4);
  frameAlong(v3(0, 2, 0), v3(0, 0.5, 0), F);
  // U = (0.5, 0, 0), W = normalize(y × U) = -z, U' = W × y = x.
  expectFrame(F, v3(1, 0, 0), v3(0, 0, -1), v3(0, 1, 0), v3(0, 2, 0));
}

TEST(FrameAlong, GivesARightHandedOrthonormalFrame) {
  Matrix F(4, 4);
  frameAlong(v3(1, 2, 3), v3(0.3, -1.2, 2.5), F);
  const Vector x = v3(F(0, 0), F(1, 0), F(2, 0));
  const Vector y = v3(F(0, 1), F(1, 1), F(2, 1));
  const Vector z = v3(F(0, 2), F(1, 2), F(2, 2));
  EXPECT_NEAR(x.norm(), 1.0, 1e-12);
  EXPECT_NEAR(y.norm(), 1.0, 1e-12);
  EXPECT_NEAR(x.dot(y), 0.0, 1e-12);
  EXPECT_NEAR(y.dot(z), 0.0, 1e-12);
  const Vector xy = x.cross(y);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(xy[i], z[i], 1e-12);
  EXPECT_NEAR(z[2] * std::sqrt(0.09 + 1.44 + 6.25), 2.5, 1e-12);
}

// With three equal components no helper axis exists: F keeps what the caller put there.
TEST(FrameAlong, EqualComponentsLeaveTheMatrixUnchanged) {
  for (const Vector& d : {v3(1, 1, 1), v3(0, 0, 0)}) {
    Matrix F(4, 4);
    F(1, 2) = 7.0;
    frameAlong(v3(5, 5, 5), d, F);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) EXPECT_EQ(F(r, c), r == 1 && c == 2 ? 7.0 : 0.0);
  }
}
