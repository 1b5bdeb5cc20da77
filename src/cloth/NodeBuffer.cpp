#include "cloth/NodeBuffer.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace {

constexpr std::align_val_t kAlignment{64};

// Elements per coordinate array: a guard, the nodes rounded up to whole 64-byte lines, a guard.
std::size_t stride(int count) {
  return NodeBuffer::kGuard + (static_cast<std::size_t>(count) + 7) / 8 * 8 + NodeBuffer::kGuard;
}

// One zeroed block for all three coordinate arrays: x, then y, then z; returns the first node's x.
double* allocateCoordinates(int count) {
  const std::size_t n = 3 * stride(count);
  auto* p = static_cast<double*>(::operator new(n * sizeof(double), kAlignment));
  std::fill(p, p + n, 0.0);
  return p + NodeBuffer::kGuard;
}

}  // namespace

NodeBuffer::NodeBuffer(int count)
    : x(allocateCoordinates(count)), y(x + stride(count)), z(y + stride(count)), count_(count) {}

NodeBuffer::~NodeBuffer() { ::operator delete(x - kGuard, kAlignment); }

std::size_t NodeBuffer::bytes() const { return 3 * stride(count_) * sizeof(double); }

void NodeBuffer::assign(const NodeBuffer& other) {
  assert(other.count_ == count_);
  std::copy(other.x, other.x + count_, x);
  std::copy(other.y, other.y + count_, y);
  std::copy(other.z, other.z + count_, z);
}
