#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "cloth/NodeBuffer.h"
#include "sim/SimulationListener.h"

class Simulation;

// The frames of a simulation since its last lay-out, kept in memory so that a timeline can show
// them again: the positions as laid out (frame 0), then those of every step a frame is due on (the
// simulation's stepsPerFrame). It only reads the positions, so the run is the same with it or
// without. Beyond kMaxFrames or kMaxBytes the oldest frames are dropped.
class FrameHistory : public SimulationListener {
public:
  // 60 s at 30 frames per second.
  static constexpr std::size_t kMaxFrames = 1800;
  // A 100 × 100 cloth takes 240 KB a frame: about 1100 frames of it fit.
  static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;

  struct Frame {
    std::int64_t number;  // frames since the lay-out, the dropped ones included
    std::int64_t step;    // the simulation's step count then
    std::unique_ptr<NodeBuffer> positions;
  };

  // Keeps the simulation's positions as they are now as frame 0, and at most `maxFrames` frames
  // of at most `maxBytes` together (one frame at least).
  explicit FrameHistory(Simulation& simulation, std::size_t maxFrames = kMaxFrames, std::size_t maxBytes = kMaxBytes);
  ~FrameHistory() override;
  FrameHistory(const FrameHistory&) = delete;
  FrameHistory& operator=(const FrameHistory&) = delete;

  // Kept frames, oldest first; empty only for a cloth without a grid.
  std::size_t size() const { return frames_.size(); }
  const Frame& at(std::size_t index) const { return frames_[index]; }
  const Frame& newest() const { return frames_.back(); }
  // How many frames of this cloth the bounds let it keep.
  std::size_t capacity() const { return capacity_; }

  bool frameDue(const Simulation& simulation) override;
  void laidOut(const Simulation& simulation) override;

private:
  void keep(const Simulation& simulation, std::int64_t number);

  Simulation& simulation_;
  const std::size_t maxFrames_;
  const std::size_t maxBytes_;
  std::deque<Frame> frames_;
  std::size_t capacity_ = 0;
};
