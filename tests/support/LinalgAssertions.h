#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <sstream>

#include "linalg/Matrix.h"
#include "linalg/Vector.h"

namespace detail {

inline std::string exactly(double x) {
  std::ostringstream out;
  out.precision(std::numeric_limits<double>::max_digits10);
  out << x;
  return out.str();
}

// Compares `count` elements with the expected ones, exactly or within `tolerance`; NaN never matches.
inline ::testing::AssertionResult elementsAre(const double* actual, std::initializer_list<double> expected,
                                              double tolerance) {
  int i = 0;
  for (double e : expected) {
    if (!(std::fabs(actual[i] - e) <= tolerance))
      return ::testing::AssertionFailure() << "element " << i << " is " << exactly(actual[i]) << ", expected "
                                           << exactly(e);
    ++i;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace detail

// The vector has exactly the expected size and elements (within `tolerance`, exact by default).
inline ::testing::AssertionResult vectorIs(const Vector& v, std::initializer_list<double> expected,
                                           double tolerance = 0.0) {
  if (v.size != static_cast<int>(expected.size()))
    return ::testing::AssertionFailure() << "size is " << v.size << ", expected " << expected.size();
  return detail::elementsAre(v.data, expected, tolerance);
}

// The matrix is rows × cols with the expected elements, given row by row.
inline ::testing::AssertionResult matrixIs(const Matrix& m, int rows, int cols, std::initializer_list<double> expected,
                                           double tolerance = 0.0) {
  if (m.rows != rows || m.cols != cols)
    return ::testing::AssertionFailure() << "is " << m.rows << " x " << m.cols << ", expected " << rows << " x "
                                         << cols;
  if (static_cast<int>(expected.size()) != rows * cols)
    return ::testing::AssertionFailure() << "the test gives " << expected.size() << " elements";
  return detail::elementsAre(m.data, expected, tolerance);
}
