#include "linalg/Matrix.h"

#include <algorithm>
#include <cmath>

#include "linalg/LinalgMessages.h"
#include "linalg/Vector.h"


Matrix::Matrix(int rows, int cols)
    : data(new double[static_cast<std::size_t>(rows) * cols]()), rows(rows), cols(cols) {}

Matrix::Matrix(const Matrix& other) : Matrix(other.rows, other.cols) {
  std::copy(other.data, other.data + rows * cols, data);
}

Matrix::~Matrix() { delete[] data; }

Matrix Matrix::identity(int n) {
  Matrix m(n, n);
  for (int i = 0; i < n; ++i) m(i, i) = 1.0;
  return m;
}

void Matrix::assign(const Matrix& other) {
  if (other.rows == rows && other.cols == cols) std::copy(other.data, other.data + rows * cols, data);
}

void Matrix::resize(int newRows, int newCols) {
  delete[] data;
  rows = std::max(newRows, 1);
  cols = std::max(newCols, 1);
  data = new double[static_cast<std::size_t>(rows) * cols]();
}

Matrix Matrix::multiply(const Matrix& other) const {
  Matrix result(rows, other.cols);
  if (cols != other.rows) {
    linalg::report(linalg::kMatrixProductMismatch);
    return result;
  }
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < other.cols; ++j)
      for (int k = 0; k < cols; ++k) result(i, j) += (*this)(i, k) * other(k, j);
  return result;
}

Vector Matrix::multiply(const Vector& v) const {
  Vector result(rows);
  if (cols != v.size) {
    linalg::report(linalg::kMatrixVectorMismatch);
    return result;
  }
  for (int i = 0; i < rows; ++i)
    for (int k = 0; k < cols; ++k) result[i] += (*this)(i, k) * v[k];
  return result;
}

Matrix Matrix::transpose() const {
  Matrix t(cols, rows);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) t(j, i) = (*this)(i, j);
  return t;
}

Matrix Matrix::inverse(double tolerance, bool& failed) const {
  failed = false;
  if (rows != cols) {
    failed = true;
    linalg::report(linalg::kInverseNotSquare);
    return Matrix(rows, cols);
  }
  const int n = rows;
  Matrix a(*this);
  Matrix b = identity(n);
  for (int i = 0; i < n; ++i) {
    if (std::fabs(a(i, i)) < tolerance) {
      int exchange = i + 1;
      while (exchange < n && !(std::fabs(a(exchange, i)) > tolerance)) ++exchange;
      if (exchange == n) {
        failed = true;
        return a;
      }
      a.swapRows(i, exchange);
      b.swapRows(i, exchange);
    }
    const double pivot = a(i, i);
    for (int j = 0; j < n; ++j) {
      if (j == i || !(std::fabs(a(j, i)) > tolerance)) continue;
      const double f = a(j, i) / pivot;
      a.subtractRowMultiple(f, i, j);
      b.subtractRowMultiple(f, i, j);
    }
  }
  for (int i = 0; i < n; ++i) b.scaleRow(i, 1.0 / a(i, i));
  return b;
}

void Matrix::swapRows(int a, int b) {
  std::swap_ranges(data + a * cols, data + (a + 1) * cols, data + b * cols);
}

void Matrix::subtractRowMultiple(double factor, int a, int b) {
  for (int j = 0; j < cols; ++j) (*this)(b, j) -= factor * (*this)(a, j);
}

void Matrix::scaleRow(int a, double factor) {
  for (int j = 0; j < cols; ++j) (*this)(a, j) *= factor;
}
