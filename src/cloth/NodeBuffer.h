#pragma once

#include <cstddef>

#include "cloth/Vec3.h"

// The positions of every node of a grid, stored as three coordinate arrays (x, y, z) so that rows
// can be processed across nodes. Each array is 64-byte aligned and padded with zeros to a multiple
// of 8 elements, so vector loads of a whole row never leave the allocation.
class NodeBuffer {
public:
  explicit NodeBuffer(int count);
  NodeBuffer(const NodeBuffer&) = delete;
  NodeBuffer& operator=(const NodeBuffer&) = delete;
  ~NodeBuffer();

  int count() const { return count_; }

  Vec3 at(int k) const { return {x[k], y[k], z[k]}; }
  void set(int k, const Vec3& p) {
    x[k] = p.x;
    y[k] = p.y;
    z[k] = p.z;
  }

  double* const x;
  double* const y;
  double* const z;

private:
  int count_;
};
