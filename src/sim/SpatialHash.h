#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "cloth/Vec3.h"

// An axis-aligned box, lower corner to upper corner.
struct Bounds {
  Vec3 lower;
  Vec3 upper;
};

// Boxes filed under every cubic cell they overlap, the cells hashed into a table of about twice as
// many slots as entries (a counting sort, so building allocates nothing once the table has grown).
// A query names the boxes filed under the cells a box overlaps: one box may be named once per cell,
// and a few more may come from cells that share a slot, so the caller tests what it is given.
class SpatialHash {
public:
  void build(const std::vector<Bounds>& boxes, double cellSize);

  // Calls visit(id) for the boxes filed under the cells from `lower` to `upper`.
  template <class Visit>
  void query(const Vec3& lower, const Vec3& upper, Visit&& visit) const;

private:
  struct Cell {
    std::int64_t i, j, k;
  };
  Cell cellOf(const Vec3& p) const {
    return {static_cast<std::int64_t>(std::floor(p.x * inverseCell_)), static_cast<std::int64_t>(std::floor(p.y * inverseCell_)),
            static_cast<std::int64_t>(std::floor(p.z * inverseCell_))};
  }
  std::size_t slotOf(std::int64_t i, std::int64_t j, std::int64_t k) const {
    // The primes of Teschner et al.'s spatial hashing for deformable bodies.
    const auto h = static_cast<std::uint64_t>(i * 73856093) ^ static_cast<std::uint64_t>(j * 19349663) ^
                   static_cast<std::uint64_t>(k * 83492791);
    return static_cast<std::size_t>(h % slots_);
  }
  template <class Visit>
  void forEachSlot(const Vec3& lower, const Vec3& upper, Visit&& visit) const {
    const Cell lo = cellOf(lower), hi = cellOf(upper);
    for (std::int64_t i = lo.i; i <= hi.i; ++i)
      for (std::int64_t j = lo.j; j <= hi.j; ++j)
        for (std::int64_t k = lo.k; k <= hi.k; ++k) visit(slotOf(i, j, k));
  }

  double inverseCell_ = 1.0;
  std::size_t slots_ = 1;
  std::vector<int> slotStart_{0, 0};  // the ids of slot s: entries_[slotStart_[s]] to before slotStart_[s + 1]
  std::vector<int> entries_;
};

template <class Visit>
void SpatialHash::query(const Vec3& lower, const Vec3& upper, Visit&& visit) const {
  forEachSlot(lower, upper, [&](std::size_t slot) {
    for (int e = slotStart_[slot]; e < slotStart_[slot + 1]; ++e) visit(entries_[e]);
  });
}
