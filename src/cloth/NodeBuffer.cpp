#include "cloth/NodeBuffer.h"

#include <algorithm>
#include <new>

namespace {

constexpr std::align_val_t kAlignment{64};

std::size_t paddedCount(int count) { return (static_cast<std::size_t>(count) + 7) / 8 * 8; }

// One zeroed block for all three coordinate arrays: x, then y, then z.
double* allocateCoordinates(int count) {
  const std::size_t n = 3 * paddedCount(count);
  auto* p = static_cast<double*>(::operator new(n * sizeof(double), kAlignment));
  std::fill(p, p + n, 0.0);
  return p;
}

}  // namespace

NodeBuffer::NodeBuffer(int count)
    : x(allocateCoordinates(count)), y(x + paddedCount(count)), z(y + paddedCount(count)),
      count_(count) {}

NodeBuffer::~NodeBuffer() { ::operator delete(x, kAlignment); }
