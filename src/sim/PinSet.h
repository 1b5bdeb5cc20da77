#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cloth/FixedNodes.h"
#include "sim/GridNode.h"

// Which nodes of the sheet the user pins: one of the presets, or nodes of their own choosing. A
// preset follows the grid it is laid out on; a list of nodes keeps the nodes it names.
class PinSet {
public:
  enum class Preset {
    Standard,    // row 0, columns 0, 8, 16, …: the sheet's own three pins at the default size
    TopEdge,     // every node of row 0
    TopCorners,  // (0, 0) and (0, W − 1)
    LeftEdge,    // every node of column 0
    None,        // nothing pinned: the cloth falls
    Custom,      // the nodes of `nodes()`
  };

  PinSet() = default;
  explicit PinSet(Preset preset) : preset_(preset) {}
  explicit PinSet(std::vector<GridNode> nodes);

  // The preset of a command-line name ("default", "top-edge", "top-corners", "left-edge", "none").
  static std::optional<Preset> presetNamed(const std::string& name);
  static const char* nameOf(Preset preset);

  Preset preset() const { return preset_; }
  const std::vector<GridNode>& nodes() const { return nodes_; }
  // The pinned nodes of a width × height grid; listed nodes outside it are left out.
  FixedNodes on(int width, int height) const;

  bool operator==(const PinSet& other) const { return preset_ == other.preset_ && nodes_ == other.nodes_; }

private:
  Preset preset_ = Preset::Standard;
  std::vector<GridNode> nodes_;  // sorted, for Custom only
};
