#pragma once

class Vector;

// A dense row-major matrix of doubles. 4 × 4 transforms act on column vectors with the translation
// in the last column; OpenGL, which reads column-major, is handed the data of the transpose.
// Dimension errors are reported on standard output and give a zero result.
class Matrix {
public:
  Matrix(int rows, int cols);  // all zeros; 0 makes an empty matrix
  Matrix(const Matrix& other);
  Matrix& operator=(const Matrix&) = delete;  // use assign
  virtual ~Matrix();

  static Matrix identity(int n);

  double& operator()(int i, int j) { return data[i * cols + j]; }
  double operator()(int i, int j) const { return data[i * cols + j]; }

  void assign(const Matrix& other);  // same dimensions only
  void resize(int rows, int cols);   // discards the contents; dimensions below 1 become 1

  Matrix multiply(const Matrix& other) const;
  Vector multiply(const Vector& v) const;
  Matrix transpose() const;
  // Gauss-Jordan elimination; on a singular matrix gives the partly reduced working copy. `failed`
  // says which it was.
  Matrix inverse(double tolerance, bool& failed) const;

  void swapRows(int a, int b);
  void subtractRowMultiple(double factor, int a, int b);  // row b -= factor × row a
  void scaleRow(int a, double factor);

  double* data;  // rows × cols elements, owned
  int rows;
  int cols;
};
