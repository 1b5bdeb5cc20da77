#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "cloth/Vec3.h"

// Points filed by the cubic cell they fall in, the cells hashed into a table of about twice as many
// slots as points (a counting sort, so building allocates nothing once the table has grown). A
// query names every point of the cells a box overlaps, and may name a few more from cells that
// share their slot: the caller tests what it is given.
class SpatialHash {
public:
  void build(const std::vector<Vec3>& points, double cellSize);

  // Calls visit(id) for the points in the cells from `lower` to `upper`.
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
  std::size_t slotOf(const Cell& c) const {
    // The primes of Teschner et al.'s spatial hashing for deformable bodies.
    const auto h = static_cast<std::uint64_t>(c.i * 73856093) ^ static_cast<std::uint64_t>(c.j * 19349663) ^
                   static_cast<std::uint64_t>(c.k * 83492791);
    return static_cast<std::size_t>(h % slots_);
  }

  double inverseCell_ = 1.0;
  std::size_t slots_ = 1;
  std::vector<int> slotStart_{0, 0};  // the points of slot s: entries_[slotStart_[s]] to before slotStart_[s + 1]
  std::vector<int> entries_;
};

template <class Visit>
void SpatialHash::query(const Vec3& lower, const Vec3& upper, Visit&& visit) const {
  const Cell lo = cellOf(lower), hi = cellOf(upper);
  for (std::int64_t i = lo.i; i <= hi.i; ++i)
    for (std::int64_t j = lo.j; j <= hi.j; ++j)
      for (std::int64_t k = lo.k; k <= hi.k; ++k) {
        const std::size_t slot = slotOf({i, j, k});
        for (int e = slotStart_[slot]; e < slotStart_[slot + 1]; ++e) visit(entries_[e]);
      }
}
