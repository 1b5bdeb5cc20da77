#pragma once

// Working memory of the vector step kernels, sized for one grid width and allocated with the grid
// so that a step allocates nothing: kArrays arrays of one double per column, each 64-byte aligned
// with kGuard elements on both sides that the kernels never write, because they read the arrays
// shifted by one column.
class RowScratch {
public:
  // Two rows' downward springs (three springs, three coordinates) and one row's springs along it.
  static constexpr int kArrays = 2 * 3 * 3 + 3;
  static constexpr int kGuard = 8;

  explicit RowScratch(int width);
  RowScratch(const RowScratch&) = delete;
  RowScratch& operator=(const RowScratch&) = delete;
  ~RowScratch();

  const int stride;   // elements from one array's column 0 to the next one's
  double* const data;  // column 0 of array 0
};
