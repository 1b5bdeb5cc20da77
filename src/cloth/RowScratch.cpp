#include "cloth/RowScratch.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace {

constexpr std::align_val_t kAlignment{64};

double* allocateArrays(int stride) {
  const std::size_t n = RowScratch::kGuard + static_cast<std::size_t>(RowScratch::kArrays) * stride;
  auto* p = static_cast<double*>(::operator new(n * sizeof(double), kAlignment));
  std::fill(p, p + n, 0.0);
  return p + RowScratch::kGuard;
}

}  // namespace

RowScratch::RowScratch(int width)
    : stride((width + 7) / 8 * 8 + kGuard), data(allocateArrays(stride)) {}

RowScratch::~RowScratch() { ::operator delete(data - kGuard, kAlignment); }
