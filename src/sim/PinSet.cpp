#include "sim/PinSet.h"

#include <algorithm>
#include <utility>

namespace {

struct PresetName {
  PinSet::Preset preset;
  const char* name;
};

constexpr PresetName kPresetNames[] = {
    {PinSet::Preset::Standard, "default"},       {PinSet::Preset::TopEdge, "top-edge"},
    {PinSet::Preset::TopCorners, "top-corners"}, {PinSet::Preset::LeftEdge, "left-edge"},
    {PinSet::Preset::None, "none"},
};

}  // namespace

PinSet::PinSet(std::vector<GridNode> nodes) : preset_(Preset::Custom), nodes_(std::move(nodes)) {
  std::sort(nodes_.begin(), nodes_.end());
  nodes_.erase(std::unique(nodes_.begin(), nodes_.end()), nodes_.end());
}

std::optional<PinSet::Preset> PinSet::presetNamed(const std::string& name) {
  for (const PresetName& entry : kPresetNames)
    if (name == entry.name) return entry.preset;
  return std::nullopt;
}

const char* PinSet::nameOf(Preset preset) {
  for (const PresetName& entry : kPresetNames)
    if (entry.preset == preset) return entry.name;
  return "custom";
}

FixedNodes PinSet::on(int width, int height) const {
  FixedNodes fixed(width * height);
  switch (preset_) {
    case Preset::Standard: return FixedNodes::standard(width, height);
    case Preset::TopEdge:
      for (int c = 0; c < width; ++c) fixed.set(c, true);
      break;
    case Preset::TopCorners:
      fixed.set(0, true);
      fixed.set(width - 1, true);
      break;
    case Preset::LeftEdge:
      for (int r = 0; r < height; ++r) fixed.set(r * width, true);
      break;
    case Preset::None: break;
    case Preset::Custom:
      for (const GridNode& node : nodes_)
        if (node.row >= 0 && node.row < height && node.column >= 0 && node.column < width)
          fixed.set(node.row * width + node.column, true);
      break;
  }
  return fixed;
}
