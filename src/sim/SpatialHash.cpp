#include "sim/SpatialHash.h"

void SpatialHash::build(const std::vector<Vec3>& points, double cellSize) {
  inverseCell_ = 1.0 / cellSize;
  slots_ = 2 * points.size() + 1;
  // Count each slot's points, turn the counts into ends, then fill each slot from its end down.
  slotStart_.assign(slots_ + 1, 0);
  for (const Vec3& p : points) ++slotStart_[slotOf(cellOf(p))];
  for (std::size_t s = 1; s <= slots_; ++s) slotStart_[s] += slotStart_[s - 1];
  entries_.resize(points.size());
  for (int id = static_cast<int>(points.size()) - 1; id >= 0; --id) entries_[--slotStart_[slotOf(cellOf(points[id]))]] = id;
}
