#include "linalg/Vector.h"

#include <algorithm>
#include <cmath>

#include "linalg/LinalgMessages.h"

Vector::Vector(int size, const double* values)
    : size(std::max(size, 1)), data(new double[std::max(size, 1)]()) {
  if (values != nullptr && size > 0) std::copy(values, values + size, data);
}

Vector::Vector(const Vector& other) : Vector(other.size, other.data) {}

Vector::~Vector() { delete[] data; }

void Vector::assign(const Vector& other) {
  if (other.size == size) std::copy(other.data, other.data + size, data);
}

double Vector::dot(const Vector& other) const {
  if (other.size != size) {
    linalg::report(linalg::kDotMismatch);
    return 0.0;
  }
  double sum = 0.0;
  for (int i = 0; i < size; ++i) sum += other[i] * data[i];
  return sum;
}

Vector Vector::scale(double s) const {
  Vector result(size);
  for (int i = 0; i < size; ++i) result[i] = s * data[i];
  return result;
}

Vector Vector::add(const Vector& other) const {
  Vector result(size);
  if (other.size != size) {
    linalg::report(linalg::kSumMismatch);
    return result;
  }
  for (int i = 0; i < size; ++i) result[i] = other[i] + data[i];
  return result;
}

Vector Vector::subtract(const Vector& other) const {
  Vector result(size);
  if (other.size != size) {
    linalg::report(linalg::kSubtractionMismatch);
    return result;
  }
  for (int i = 0; i < size; ++i) result[i] = data[i] - other[i];
  return result;
}

Vector Vector::cross(const Vector& other) const {
  if (size != 3) {
    linalg::report(linalg::kCrossNotThree);
    return Vector(size);
  }
  if (other.size != 3) {
    linalg::report(linalg::kCrossMismatch);
    return Vector(3);
  }
  const double a[3] = {data[1] * other[2] - data[2] * other[1], data[2] * other[0] - data[0] * other[2],
                       data[0] * other[1] - data[1] * other[0]};
  return Vector(3, a);
}

double Vector::norm() const {
  double sum = 0.0;
  for (int i = 0; i < size; ++i) sum += data[i] * data[i];
  return std::sqrt(sum);
}

Vector Vector::normalize() const {
  const double n = norm();
  if (n == 0.0) {
    linalg::report(linalg::kZeroNormalize);
    return Vector(size);
  }
  // Multiplying by the reciprocal, not dividing: the step's results depend on this rounding.
  return scale(1.0 / n);
}
