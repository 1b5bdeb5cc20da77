#include <gtest/gtest.h>

#include <utility>

#include "LinalgAssertions.h"
#include "QuietOutput.h"
#include "linalg/Vector.h"

namespace {

const char* const kDotMessage = "Vector dimensions must agree for dot-product.\n";
const char* const kSumMessage = "Vector dimensions must agree for vector sum.\n";
const char* const kSubtractionMessage = "Vector dimensions must agree for vector subtraction.\n";
const char* const kCrossNotThreeMessage = "Vector dimensions must be 3 for cross-product.\n";
const char* const kCrossAgreeMessage = "Vector dimensions must agree for cross-product.\n";
const char* const kZeroMessage = "Zero vector cannot be normalized.\n";

Vector vec(std::initializer_list<double> values) {
  return Vector(static_cast<int>(values.size()), values.begin());
}

// Every case runs under QuietOutput: a message that is not announced fails the test.
class VectorConstruction : public QuietOutput {};
class VectorArithmetic : public QuietOutput {};
class VectorCross : public QuietOutput {};
class VectorNormalize : public QuietOutput {};

TEST_F(VectorConstruction, SizesBelowOneGiveOneZeroElement) {
  EXPECT_TRUE(vectorIs(Vector(0), {0.0}));
  EXPECT_TRUE(vectorIs(Vector(-5), {0.0}));
  const double values[] = {7.0, 8.0};
  EXPECT_TRUE(vectorIs(Vector(0, values), {0.0})) << "a size of 0 copies nothing";
  EXPECT_TRUE(vectorIs(Vector(-2, values), {0.0}));
}

TEST_F(VectorConstruction, FreshElementsAreZero) { EXPECT_TRUE(vectorIs(Vector(4), {0.0, 0.0, 0.0, 0.0})); }

TEST_F(VectorConstruction, CopiesOnlyTheRequestedLeadingValues) {
  double values[] = {1.0, 2.0, 3.0, 4.0};
  const Vector v(3, values);
  values[0] = 9.0;  // the vector keeps its own copy
  EXPECT_TRUE(vectorIs(v, {1.0, 2.0, 3.0}));
}

TEST_F(VectorConstruction, CopyIsDeep) {
  const Vector source = vec({1.0, 2.0, 3.0});
  Vector copy(source);
  copy[1] = -7.0;
  EXPECT_TRUE(vectorIs(source, {1.0, 2.0, 3.0}));
  EXPECT_TRUE(vectorIs(copy, {1.0, -7.0, 3.0}));
}

TEST_F(VectorConstruction, AssignCopiesOnlyBetweenEqualSizes) {
  Vector target = vec({1.0, 2.0, 3.0});
  target.assign(vec({4.0, 5.0, 6.0}));
  EXPECT_TRUE(vectorIs(target, {4.0, 5.0, 6.0}));
  // Another size: nothing copied, nothing written.
  target.assign(vec({7.0, 8.0}));
  target.assign(vec({7.0, 8.0, 9.0, 10.0}));
  EXPECT_TRUE(vectorIs(target, {4.0, 5.0, 6.0}));
}

TEST_F(VectorConstruction, ElementsAreWritableByIndex) {
  Vector v(2);
  v[1] = 2.5;
  EXPECT_EQ(v.data[1], 2.5);
  EXPECT_EQ(v[0], 0.0);
}

TEST_F(VectorArithmetic, DotOfEqualSizes) {
  EXPECT_EQ(vec({1.0, 2.0, 3.0}).dot(vec({4.0, 5.0, 6.0})), 32.0);
  EXPECT_EQ(vec({-2.0}).dot(vec({3.0})), -6.0);
}

// Added from index 0 upwards: 1 + 1e16 rounds back to 1e16 before −1e16 cancels it, so the sum
// is 0; any other order would give 1.
TEST_F(VectorArithmetic, DotAddsFromTheFirstElementUpwards) {
  EXPECT_EQ(vec({1.0, 1e16, -1e16}).dot(vec({1.0, 1.0, 1.0})), 0.0);
}

TEST_F(VectorArithmetic, DotOfDifferentSizesReportsAndGivesZero) {
  expectOutput(kDotMessage);
  EXPECT_EQ(vec({1.0, 2.0, 3.0}).dot(vec({1.0, 2.0, 3.0, 4.0})), 0.0);
  EXPECT_EQ(outputSoFar(), kDotMessage);
  expectOutput(kDotMessage);
  EXPECT_EQ(vec({1.0}).dot(vec({1.0, 2.0})), 0.0);
}

TEST_F(VectorArithmetic, AddAndSubtractElementWise) {
  const Vector a = vec({5.0, 7.0, 9.0});
  const Vector b = vec({4.0, 5.0, 6.0});
  EXPECT_TRUE(vectorIs(a.add(b), {9.0, 12.0, 15.0}));
  EXPECT_TRUE(vectorIs(a.subtract(b), {1.0, 2.0, 3.0}));
  EXPECT_TRUE(vectorIs(b.subtract(a), {-1.0, -2.0, -3.0}));
  EXPECT_TRUE(vectorIs(a, {5.0, 7.0, 9.0})) << "operands never change";
  EXPECT_TRUE(vectorIs(b, {4.0, 5.0, 6.0}));
}

// The zero result takes the size of the vector the operation is called on.
TEST_F(VectorArithmetic, SumAndDifferenceOfDifferentSizesReportAndGiveZeroOfOwnSize) {
  using Operation = Vector (Vector::*)(const Vector&) const;
  const std::pair<Operation, const char*> cases[] = {{&Vector::add, kSumMessage},
                                                     {&Vector::subtract, kSubtractionMessage}};
  for (const auto& [operation, message] : cases) {
    expectOutput(message);
    EXPECT_TRUE(vectorIs((vec({1.0, 2.0, 3.0}).*operation)(vec({1.0, 2.0})), {0.0, 0.0, 0.0}));
    EXPECT_EQ(outputSoFar(), message);
    expectOutput(message);
    EXPECT_TRUE(vectorIs((vec({1.0, 2.0}).*operation)(vec({1.0, 2.0, 3.0})), {0.0, 0.0}));
    EXPECT_EQ(outputSoFar(), message);
  }
}

TEST_F(VectorArithmetic, ScaleMultipliesEveryElementOfAnySize) {
  const Vector v = vec({1.0, -2.0, 0.5, 4.0});
  EXPECT_TRUE(vectorIs(v.scale(-2.0), {-2.0, 4.0, -1.0, -8.0}));
  EXPECT_TRUE(vectorIs(v.scale(0.0), {0.0, 0.0, 0.0, 0.0}));
  EXPECT_TRUE(vectorIs(v, {1.0, -2.0, 0.5, 4.0}));
}

TEST_F(VectorArithmetic, NormIsTheEuclideanLength) {
  EXPECT_EQ(vec({3.0, 4.0}).norm(), 5.0);
  EXPECT_EQ(vec({-2.0}).norm(), 2.0);
  EXPECT_EQ(vec({1.0, 2.0, 2.0, 4.0}).norm(), 5.0);
  EXPECT_EQ(Vector(3).norm(), 0.0);
}

TEST_F(VectorCross, RightHandedProductOfThreeVectors) {
  EXPECT_TRUE(vectorIs(vec({1.0, 0.0, 0.0}).cross(vec({0.0, 1.0, 0.0})), {0.0, 0.0, 1.0}));
  EXPECT_TRUE(vectorIs(vec({0.0, 1.0, 0.0}).cross(vec({1.0, 0.0, 0.0})), {0.0, 0.0, -1.0}));
  EXPECT_TRUE(vectorIs(vec({0.0, 1.0, 0.0}).cross(vec({0.0, 0.0, 1.0})), {1.0, 0.0, 0.0}));
  // (2·6 − 3·5, 3·4 − 1·6, 1·5 − 2·4)
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0, 3.0}).cross(vec({4.0, 5.0, 6.0})), {-3.0, 6.0, -3.0}));
}

// The own size is checked first, and then the other operand is not looked at: one message only.
TEST_F(VectorCross, OwnSizeOtherThanThreeReportsAndGivesZeroOfOwnSize) {
  expectOutput(kCrossNotThreeMessage);
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0}).cross(vec({1.0, 2.0, 3.0})), {0.0, 0.0}));
  EXPECT_EQ(outputSoFar(), kCrossNotThreeMessage);
  expectOutput(kCrossNotThreeMessage);
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0}).cross(vec({1.0, 2.0, 3.0, 4.0})), {0.0, 0.0}));
  EXPECT_EQ(outputSoFar(), kCrossNotThreeMessage);
  expectOutput(kCrossNotThreeMessage);
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0, 3.0, 4.0}).cross(vec({1.0, 2.0, 3.0})), {0.0, 0.0, 0.0, 0.0}));
}

TEST_F(VectorCross, OtherSizeOtherThanThreeReportsAndGivesZeroThreeVector) {
  expectOutput(kCrossAgreeMessage);
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0, 3.0}).cross(vec({1.0, 2.0, 3.0, 4.0})), {0.0, 0.0, 0.0}));
  EXPECT_EQ(outputSoFar(), kCrossAgreeMessage);
  expectOutput(kCrossAgreeMessage);
  EXPECT_TRUE(vectorIs(vec({1.0, 2.0, 3.0}).cross(vec({1.0})), {0.0, 0.0, 0.0}));
}

TEST_F(VectorNormalize, GivesUnitLengthTheSameWay) {
  EXPECT_TRUE(vectorIs(vec({0.0, 0.0, -2.0}).normalize(), {0.0, 0.0, -1.0}));
  EXPECT_TRUE(vectorIs(vec({0.0, 3.0, 4.0}).normalize(), {0.0, 0.6, 0.8}, 1e-15));
  const Vector v = vec({1.0, 1.0, 1.0, 1.0});
  EXPECT_TRUE(vectorIs(v.normalize(), {0.5, 0.5, 0.5, 0.5}));
  EXPECT_TRUE(vectorIs(v, {1.0, 1.0, 1.0, 1.0}));
}

// Each element is multiplied by the reciprocal 1/5 rather than divided by 5: 3 × 0.2 rounds to the
// double just above 0.6, while 3 / 5 would give 0.6 itself.
TEST_F(VectorNormalize, MultipliesByTheReciprocalOfTheNorm) {
  const Vector n = vec({0.0, 3.0, 4.0}).normalize();
  EXPECT_EQ(n[1], 0.6000000000000001);
  EXPECT_NE(n[1], 0.6);
  EXPECT_EQ(n[2], 0.8);
}

// No tolerance: only a norm of exactly 0 is refused.
TEST_F(VectorNormalize, TinyVectorIsStillNormalized) {
  EXPECT_TRUE(vectorIs(vec({0.0, 3e-150, 4e-150}).normalize(), {0.0, 0.6, 0.8}, 1e-15));
}

TEST_F(VectorNormalize, ZeroVectorReportsAndGivesZeroOfOwnSize) {
  expectOutput(kZeroMessage);
  EXPECT_TRUE(vectorIs(Vector(3).normalize(), {0.0, 0.0, 0.0}));
  EXPECT_EQ(outputSoFar(), kZeroMessage);
  expectOutput(kZeroMessage);
  EXPECT_TRUE(vectorIs(vec({0.0, -0.0}).normalize(), {0.0, 0.0}));
}

}  // namespace
