#pragma once

// A node of the grid by row and column, both counted from 0 at the first laid-out node (row 0 is
// the top row).
struct GridNode {
  int row = 0;
  int column = 0;

  bool operator==(const GridNode& other) const { return row == other.row && column == other.column; }
  bool operator<(const GridNode& other) const {
    return row != other.row ? row < other.row : column < other.column;
  }
};
