#include "sim/SpatialHash.h"

void SpatialHash::build(const std::vector<Bounds>& boxes, double cellSize) {
  inverseCell_ = 1.0 / cellSize;
  // Count each slot's entries, turn the counts into ends, then fill each slot from its end down.
  std::size_t entries = 0;
  for (const Bounds& box : boxes) {
    const Cell lo = cellOf(box.lower), hi = cellOf(box.upper);
    entries += static_cast<std::size_t>((hi.i - lo.i + 1) * (hi.j - lo.j + 1) * (hi.k - lo.k + 1));
  }
  slots_ = 2 * entries + 1;
  slotStart_.assign(slots_ + 1, 0);
  for (const Bounds& box : boxes) forEachSlot(box.lower, box.upper, [&](std::size_t slot) { ++slotStart_[slot]; });
  for (std::size_t s = 1; s <= slots_; ++s) slotStart_[s] += slotStart_[s - 1];
  entries_.resize(entries);
  for (int id = static_cast<int>(boxes.size()) - 1; id >= 0; --id)
    forEachSlot(boxes[id].lower, boxes[id].upper, [&](std::size_t slot) { entries_[--slotStart_[slot]] = id; });
}
