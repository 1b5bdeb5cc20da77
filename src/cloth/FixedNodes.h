#pragma once

#include <cstdint>
#include <vector>

// Which nodes of a grid stay where they are laid out: one bit per node, node k at bit k % 64 of
// word k / 64. The vector kernels read the words directly, a register's worth of bits at a time,
// so the words run on past the last node with zeros far enough for any register.
class FixedNodes {
public:
  FixedNodes() = default;
  explicit FixedNodes(int nodeCount);  // none fixed

  // The grid's own rule: the nodes of row 0 in columns 0, 8, 16, …
  static FixedNodes standard(int width, int height);

  bool contains(int k) const { return (words_[static_cast<unsigned>(k) >> 6] >> (k & 63)) & 1u; }
  void set(int k, bool fixed);
  int nodeCount() const { return nodeCount_; }
  int count() const;
  const std::uint64_t* words() const { return words_.data(); }

  bool operator==(const FixedNodes& other) const {
    return nodeCount_ == other.nodeCount_ && words_ == other.words_;
  }
  bool operator!=(const FixedNodes& other) const { return !(*this == other); }

private:
  std::vector<std::uint64_t> words_{0, 0};
  int nodeCount_ = 0;
};
