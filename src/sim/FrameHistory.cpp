#include "sim/FrameHistory.h"

#include <algorithm>

#include "sim/Simulation.h"

FrameHistory::FrameHistory(Simulation& simulation, std::size_t maxFrames, std::size_t maxBytes)
    : simulation_(simulation), maxFrames_(maxFrames), maxBytes_(maxBytes) {
  laidOut(simulation);
  simulation.addListener(*this);
}

FrameHistory::~FrameHistory() { simulation_.removeListener(*this); }

void FrameHistory::laidOut(const Simulation& simulation) {
  frames_.clear();
  const Cloth& cloth = simulation.cloth();
  if (!cloth.hasGrid()) return;
  capacity_ = std::clamp<std::size_t>(maxBytes_ / cloth.positions->bytes(), 1, std::max<std::size_t>(maxFrames_, 1));
  keep(simulation, 0);
}

bool FrameHistory::frameDue(const Simulation& simulation) {
  if (!frames_.empty()) keep(simulation, frames_.back().number + 1);
  return true;
}

// At the bound the oldest frame's buffer takes the new positions: a long run allocates no more.
void FrameHistory::keep(const Simulation& simulation, std::int64_t number) {
  const NodeBuffer& positions = *simulation.cloth().positions;
  std::unique_ptr<NodeBuffer> buffer;
  if (frames_.size() < capacity_) {
    buffer = std::make_unique<NodeBuffer>(positions.count());
  } else {
    buffer = std::move(frames_.front().positions);
    frames_.pop_front();
  }
  buffer->assign(positions);
  frames_.push_back({number, simulation.stepCount(), std::move(buffer)});
}
