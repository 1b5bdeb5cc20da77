#pragma once

#include <cmath>

#include "linalg/LinalgMessages.h"
#include "linalg/Vector.h"

// A 3-element value for the hot paths. Each operation rounds exactly as the matching Vector
// operation does (same operations, same order), so results agree bit for bit.
struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;

  static Vec3 of(const Vector& v) { return {v[0], v[1], v[2]}; }
  Vector toVector() const {
    const double e[3] = {x, y, z};
    return Vector(3, e);
  }
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }

// Summed from 0.0 like Vector::dot, which decides the sign of an all-zero result.
inline double dot(const Vec3& a, const Vec3& b) {
  double sum = 0.0;
  sum += b.x * a.x;
  sum += b.y * a.y;
  sum += b.z * a.z;
  return sum;
}

inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double norm(const Vec3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

// Like Vector::normalize: the zero vector, with its message, when the length is exactly 0.
inline Vec3 normalize(const Vec3& a) {
  const double n = norm(a);
  if (n == 0.0) {
    linalg::report(linalg::kZeroNormalize);
    return {};
  }
  return (1.0 / n) * a;
}
