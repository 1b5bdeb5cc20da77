#include <gtest/gtest.h>

#include <algorithm>

#include "LinalgAssertions.h"
#include "QuietOutput.h"
#include "linalg/Matrix.h"
#include "linalg/Vector.h"

namespace {

const char* const kProductMessage = "Matrix dimensions must agree for multiplication.\n";
const char* const kVectorProductMessage = "Matrix and vector dimensions must agree for multiplication.\n";
const char* const kSquareMessage = "Matrix must be square for inversion.\n";
constexpr double kTolerance = 1e-12;  // what the view passes

// A rows × cols matrix with the given elements, row by row.
Matrix mat(int rows, int cols, std::initializer_list<double> values) {
  Matrix m(rows, cols);
  std::copy(values.begin(), values.end(), m.data);
  return m;
}

Vector vec(std::initializer_list<double> values) {
  return Vector(static_cast<int>(values.size()), values.begin());
}

// Every case runs under QuietOutput: a message that is not announced fails the test.
class MatrixConstruction : public QuietOutput {};
class MatrixMultiply : public QuietOutput {};
class MatrixRowOperations : public QuietOutput {};
class MatrixInverse : public QuietOutput {
protected:
  bool failed = false;
};

TEST_F(MatrixConstruction, NewMatrixIsZeroAndRowMajor) {
  Matrix m(2, 3);
  EXPECT_TRUE(matrixIs(m, 2, 3, {0, 0, 0, 0, 0, 0}));
  m(1, 2) = 7.0;
  m(0, 1) = 5.0;
  EXPECT_EQ(m.data[5], 7.0);
  EXPECT_EQ(m.data[1], 5.0);
}

TEST_F(MatrixConstruction, ZeroDimensionsMakeAnEmptyMatrix) {
  const Matrix empty(0, 0);
  EXPECT_EQ(empty.rows, 0);
  EXPECT_EQ(empty.cols, 0);
  const Matrix copy(empty);
  EXPECT_EQ(copy.rows, 0);
  EXPECT_EQ(copy.cols, 0);
}

TEST_F(MatrixConstruction, CopyIsDeep) {
  const Matrix source = mat(2, 2, {1, 2, 3, 4});
  Matrix copy(source);
  copy(0, 0) = -1.0;
  EXPECT_TRUE(matrixIs(source, 2, 2, {1, 2, 3, 4}));
  EXPECT_TRUE(matrixIs(copy, 2, 2, {-1, 2, 3, 4}));
}

// No caller assigns between other dimensions; doing nothing keeps the target well formed.
TEST_F(MatrixConstruction, AssignCopiesBetweenEqualDimensionsOnly) {
  Matrix target(2, 3);
  target.assign(mat(2, 3, {1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(matrixIs(target, 2, 3, {1, 2, 3, 4, 5, 6}));
  target.assign(mat(3, 2, {9, 9, 9, 9, 9, 9}));
  target.assign(Matrix(4, 4));
  EXPECT_TRUE(matrixIs(target, 2, 3, {1, 2, 3, 4, 5, 6}));
}

TEST_F(MatrixConstruction, ResizeDiscardsContentsAndRaisesDimensionsToOne) {
  Matrix m = mat(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  m.resize(4, 4);
  EXPECT_TRUE(matrixIs(m, 4, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  m(2, 2) = 3.0;
  m.resize(4, 4);  // even to the same size
  EXPECT_EQ(m(2, 2), 0.0);
  m.resize(0, -1);
  EXPECT_TRUE(matrixIs(m, 1, 1, {0.0}));
  m.resize(-3, 2);
  EXPECT_TRUE(matrixIs(m, 1, 2, {0.0, 0.0}));
}

TEST_F(MatrixConstruction, TransposeSwapsRowsAndColumns) {
  const Matrix m = mat(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(matrixIs(m.transpose(), 3, 2, {1, 4, 2, 5, 3, 6}));
  EXPECT_TRUE(matrixIs(m, 2, 3, {1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(matrixIs(mat(1, 1, {-2}).transpose(), 1, 1, {-2}));
}

TEST_F(MatrixMultiply, ProductOfAgreeingMatrices) {
  const Matrix a = mat(2, 3, {1, 2, 3, 4, 5, 6});
  const Matrix b = mat(3, 4, {1, 0, 0, 1,  //
                              0, 1, 0, 1,  //
                              0, 0, 1, 2});
  EXPECT_TRUE(matrixIs(a.multiply(b), 2, 4, {1, 2, 3, 9, 4, 5, 6, 21}));
  EXPECT_TRUE(matrixIs(a, 2, 3, {1, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(matrixIs(b.transpose().multiply(a.transpose()), 4, 2, {1, 4, 2, 5, 3, 6, 9, 21}));
}

// The zero result is rows × other.cols, whatever the inner dimensions.
TEST_F(MatrixMultiply, DisagreeingMatricesReportAndGiveZero) {
  const Matrix a = mat(2, 3, {1, 2, 3, 4, 5, 6});
  expectOutput(kProductMessage);
  EXPECT_TRUE(matrixIs(a.multiply(a), 2, 3, {0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(outputSoFar(), kProductMessage);
  expectOutput(kProductMessage);
  EXPECT_TRUE(matrixIs(a.multiply(Matrix(2, 5)), 2, 5, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

// A translation in the last column moves a homogeneous point (x, y, z, 1).
TEST_F(MatrixMultiply, TranslationActsOnColumnVectors) {
  Matrix t = Matrix::identity(4);
  t(0, 3) = 5.0;
  t(1, 3) = 6.0;
  t(2, 3) = 7.0;
  EXPECT_TRUE(vectorIs(t.multiply(vec({1, 2, 3, 1})), {6, 8, 10, 1}));
  EXPECT_TRUE(vectorIs(t.multiply(vec({1, 2, 3, 0})), {1, 2, 3, 0})) << "a direction is not moved";
}

TEST_F(MatrixMultiply, VectorOfAgreeingSizeGivesOneElementPerRow) {
  const Matrix a = mat(2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(vectorIs(a.multiply(vec({1, 0, -1})), {-2, -2}));
  EXPECT_TRUE(vectorIs(a.transpose().multiply(vec({1, 1})), {5, 7, 9}));
}

TEST_F(MatrixMultiply, VectorOfOtherSizeReportsAndGivesZeroOfRowCount) {
  const Matrix a = mat(2, 3, {1, 2, 3, 4, 5, 6});
  expectOutput(kVectorProductMessage);
  EXPECT_TRUE(vectorIs(a.multiply(vec({1, 2})), {0, 0}));
  EXPECT_EQ(outputSoFar(), kVectorProductMessage);
  expectOutput(kVectorProductMessage);
  EXPECT_TRUE(vectorIs(Matrix(4, 4).multiply(vec({1, 2, 3})), {0, 0, 0, 0}));
}

TEST_F(MatrixRowOperations, ActInPlaceOnWholeRows) {
  Matrix m = mat(3, 2, {1, 2, 3, 4, 5, 6});
  m.swapRows(0, 2);
  EXPECT_TRUE(matrixIs(m, 3, 2, {5, 6, 3, 4, 1, 2}));
  m.subtractRowMultiple(2.0, 2, 1);  // row 1 −= 2 × row 2
  EXPECT_TRUE(matrixIs(m, 3, 2, {5, 6, 1, 0, 1, 2}));
  m.scaleRow(0, -0.5);
  EXPECT_TRUE(matrixIs(m, 3, 2, {-2.5, -3, 1, 0, 1, 2}));
}

TEST_F(MatrixInverse, DiagonalMatrix) {
  EXPECT_TRUE(matrixIs(mat(2, 2, {2, 0, 0, 4}).inverse(kTolerance, failed), 2, 2, {0.5, 0, 0, 0.25}));
  EXPECT_FALSE(failed);
}

TEST_F(MatrixInverse, GeneralMatrices) {
  // [[4, 7], [2, 6]]⁻¹ = [[6, −7], [−2, 4]] / 10
  EXPECT_TRUE(matrixIs(mat(2, 2, {4, 7, 2, 6}).inverse(kTolerance, failed), 2, 2, {0.6, -0.7, -0.2, 0.4}, 1e-15));
  EXPECT_FALSE(failed);
  // Needs a row exchange in the second column: A(1, 1) becomes 0 after the first elimination.
  const Matrix a = mat(3, 3, {1, 2, 3, 2, 4, 7, 1, 3, 4});
  const Matrix product = a.multiply(a.inverse(kTolerance, failed));
  EXPECT_FALSE(failed);
  EXPECT_TRUE(matrixIs(product, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1}, 1e-14));
}

TEST_F(MatrixInverse, ZeroPivotExchangesRows) {
  EXPECT_TRUE(matrixIs(mat(2, 2, {0, 1, 1, 0}).inverse(kTolerance, failed), 2, 2, {0, 1, 1, 0}));
  EXPECT_FALSE(failed);
}

// The exchange takes the first row above tolerance, not the largest: the partly reduced result of
// this singular matrix shows which row became the pivot (row 2 would leave 2 in the corner).
TEST_F(MatrixInverse, ExchangeTakesTheFirstUsableRow) {
  EXPECT_TRUE(matrixIs(mat(3, 3, {0, 0, 0, 1, 0, 0, 2, 0, 0}).inverse(kTolerance, failed), 3, 3,
                       {1, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(failed);
}

// Magnitudes within tolerance count as zero: a tiny pivot is exchanged away, and a tiny entry
// below a pivot is left in place rather than eliminated, so neither result is the exact inverse.
TEST_F(MatrixInverse, EntriesWithinToleranceCountAsZero) {
  EXPECT_TRUE(matrixIs(mat(2, 2, {1e-13, 1, 1, 0}).inverse(kTolerance, failed), 2, 2, {0, 1, 1, 0}));
  EXPECT_FALSE(failed);
  EXPECT_TRUE(matrixIs(mat(2, 2, {1, 0, 1e-13, 1}).inverse(kTolerance, failed), 2, 2, {1, 0, 0, 1}));
  EXPECT_FALSE(failed);
}

// Singular: the caller gets the working copy as it stood, and no message.
TEST_F(MatrixInverse, SingularMatrixGivesPartlyReducedCopySilently) {
  EXPECT_TRUE(matrixIs(mat(2, 2, {1, 2, 2, 4}).inverse(kTolerance, failed), 2, 2, {1, 2, 0, 0}));
  EXPECT_TRUE(failed);
  // Fails at the last column, where no row is left to exchange with.
  EXPECT_TRUE(matrixIs(mat(2, 2, {3, 0, 0, 0}).inverse(kTolerance, failed), 2, 2, {3, 0, 0, 0}));
  EXPECT_TRUE(failed);
  EXPECT_TRUE(matrixIs(mat(1, 1, {0}).inverse(kTolerance, failed), 1, 1, {0}));
  EXPECT_TRUE(failed);
}

TEST_F(MatrixInverse, NonSquareMatrixReportsAndGivesZeroOfItsDimensions) {
  expectOutput(kSquareMessage);
  EXPECT_TRUE(matrixIs(mat(2, 3, {1, 2, 3, 4, 5, 6}).inverse(kTolerance, failed), 2, 3, {0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(failed);
}

TEST_F(MatrixInverse, SuccessAfterFailureClearsTheFlag) {
  mat(2, 2, {1, 2, 2, 4}).inverse(kTolerance, failed);
  ASSERT_TRUE(failed);
  mat(2, 2, {2, 0, 0, 4}).inverse(kTolerance, failed);
  EXPECT_FALSE(failed);
}

TEST_F(MatrixInverse, LeavesTheOperandUnchanged) {
  const Matrix a = mat(2, 2, {0, 2, 4, 0});
  EXPECT_TRUE(matrixIs(a.inverse(kTolerance, failed), 2, 2, {0, 0.25, 0.5, 0}));
  EXPECT_TRUE(matrixIs(a, 2, 2, {0, 2, 4, 0}));
}

}  // namespace
