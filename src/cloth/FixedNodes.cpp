#include "cloth/FixedNodes.h"

#include <cassert>

namespace {

constexpr int kStandardColumnStride = 8;
// A kernel reads up to 8 bits from a node one row and one column past any node it visits.
constexpr int kSpareBits = 128;

}  // namespace

FixedNodes::FixedNodes(int nodeCount)
    : words_((static_cast<std::size_t>(nodeCount) + kSpareBits) / 64 + 1, 0), nodeCount_(nodeCount) {}

FixedNodes FixedNodes::standard(int width, int height) {
  FixedNodes fixed(width * height);
  if (height > 0)
    for (int c = 0; c < width; c += kStandardColumnStride) fixed.set(c, true);
  return fixed;
}

void FixedNodes::set(int k, bool fixed) {
  assert(k >= 0 && k < nodeCount_);
  const std::uint64_t bit = std::uint64_t{1} << (k & 63);
  std::uint64_t& word = words_[static_cast<unsigned>(k) >> 6];
  word = fixed ? word | bit : word & ~bit;
}

int FixedNodes::count() const {
  int n = 0;
  for (std::uint64_t word : words_) n += __builtin_popcountll(word);
  return n;
}
