#include <gtest/gtest.h>

#include "LinalgAssertions.h"
#include "QuietOutput.h"
#include "cloth/Cloth.h"
#include "cloth/ClothShape.h"

namespace {

class ClothShapePlacement : public QuietOutput {};
class ClothShapeLayOut : public QuietOutput {};

TEST_F(ClothShapePlacement, DefaultShapeCentresTheSheet) {
  const ClothShape shape;
  EXPECT_EQ(shape.clothWidth, 17);
  EXPECT_EQ(shape.clothHeight, 10);
  EXPECT_EQ(shape.nodeSpacing, 0.25f);
  // −17 × 0.25 / 2 and 10 × 0.25 / 2, both exact.
  EXPECT_TRUE(matrixIs(shape.placement(), 4, 4,
                       {1, 0, 0, -2.125,  //
                        0, -1, 0, 1.25,   //
                        0, 0, -1, 0,      //
                        0, 0, 0, 1}));
}

// 0.01f is 0x1.47ae14p-7; three times it is 0x1.eb851ep-6, exact in single precision, so the
// translation is half of that, not the double −0.015.
TEST_F(ClothShapePlacement, TranslationUsesTheSinglePrecisionSpacing) {
  const Matrix m = ClothShape{0.01f, 3, 3}.placement();
  EXPECT_EQ(m(0, 3), -0x1.eb851ep-7);
  EXPECT_EQ(m(1, 3), 0x1.eb851ep-7);
  EXPECT_NE(m(0, 3), -0.015);
}

// 0.1f is 0x1.99999ap-4; 3 × 0.1f is 0x1.3333338p-2 exactly, which single precision rounds to
// 0x1.333334p-2. The product is rounded as a float before it is widened and halved.
TEST_F(ClothShapePlacement, WidthTimesSpacingIsRoundedToSinglePrecision) {
  const Matrix m = ClothShape{0.1f, 3, 3}.placement();
  EXPECT_EQ(m(0, 3), -0x1.333334p-3);
  EXPECT_EQ(m(1, 3), 0x1.333334p-3);
  EXPECT_NE(m(0, 3), -0x1.3333338p-3) << "the product was formed in double precision";
}

TEST_F(ClothShapeLayOut, DefaultShapeGivesTheDocumentsGrid) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  EXPECT_EQ(cloth.width, 17);
  EXPECT_EQ(cloth.height, 10);
  EXPECT_EQ(cloth.spacing, 0.25);
  EXPECT_TRUE(matrixIs(cloth.placement, 4, 4, {1, 0, 0, -2.125, 0, -1, 0, 1.25, 0, 0, -1, 0, 0, 0, 0, 1}));
  const Vec3 first = cloth.positions->at(0);
  const Vec3 last = cloth.positions->at(169);
  EXPECT_EQ(first.x, -2.125);
  EXPECT_EQ(first.y, 1.25);
  EXPECT_EQ(last.x, 1.875);  // 16 × 0.25 − 2.125
  EXPECT_EQ(last.y, -1.0);   // 1.25 − 9 × 0.25
  EXPECT_EQ(last.z, 0.0);
}

// The cloth gets the float spacing widened, not the decimal 0.01.
TEST_F(ClothShapeLayOut, SpacingIsTheWidenedFloat) {
  Cloth cloth;
  ASSERT_EQ((ClothShape{0.01f, 3, 3}.layOut(cloth)), 0);
  EXPECT_EQ(cloth.spacing, 0x1.47ae14p-7);
  EXPECT_NE(cloth.spacing, 0.01);
}

TEST_F(ClothShapeLayOut, PassesOnTheRefusalOfInitialize) {
  Cloth cloth;
  EXPECT_EQ((ClothShape{0.25f, 1, 5}.layOut(cloth)), -1);
  EXPECT_EQ((ClothShape{-0.25f, 5, 5}.layOut(cloth)), -1);
  EXPECT_FALSE(cloth.hasGrid());
}

}  // namespace
