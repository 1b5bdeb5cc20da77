#pragma once

#include <cstddef>

#include "cloth/Vec3.h"

// The positions of every node of a grid, stored as three coordinate arrays (x, y, z) so that rows
// can be processed across nodes. Each array starts 64-byte aligned behind kGuard zero elements and
// has at least kGuard zeros after its last node: the step's vector kernels load whole rows shifted
// by one node or by a row and a node, and those loads must never leave the allocation.
class NodeBuffer {
public:
  static constexpr int kGuard = 8;  // elements; one 64-byte line, the widest vector

  explicit NodeBuffer(int count);
  NodeBuffer(const NodeBuffer&) = delete;
  NodeBuffer& operator=(const NodeBuffer&) = delete;
  ~NodeBuffer();

  int count() const { return count_; }
  // The memory the buffer holds, guards included.
  std::size_t bytes() const;
  // Takes the positions of `other`, a buffer of as many nodes.
  void assign(const NodeBuffer& other);

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
