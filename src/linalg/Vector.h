#pragma once

// A run-time-sized array of doubles with value semantics: every operation returns a new vector and
// leaves its operands alone. Dimension errors are reported on standard output and give a zero
// result, so a caller always gets a usable object back.
class Vector {
public:
  // Sizes below 1 give a one-element vector; `values`, when given, supplies the first `size` elements.
  explicit Vector(int size, const double* values = nullptr);
  Vector(const Vector& other);
  Vector& operator=(const Vector&) = delete;  // sizes never change: use assign
  virtual ~Vector();

  double& operator[](int i) { return data[i]; }
  double operator[](int i) const { return data[i]; }

  // Copies the other's elements when both have the same size; otherwise does nothing.
  void assign(const Vector& other);

  double dot(const Vector& other) const;
  Vector scale(double s) const;
  Vector add(const Vector& other) const;
  Vector subtract(const Vector& other) const;  // this minus other
  Vector cross(const Vector& other) const;     // this × other, right-handed
  double norm() const;
  Vector normalize() const;

  const int size;       // at least 1
  double* const data;   // owned
};
