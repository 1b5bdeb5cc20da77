#pragma once

#include <string>

// Where a recording goes and what its frames mean, as every format needs it.
struct RecordingTarget {
  std::string path;       // as chosen: the directory and the name of every file
  std::string directory;  // up to and including the path's last '/'
  std::string name;       // the file name up to its first '.'
  int patchesU = 5;       // the MEL surface's patches
  int patchesV = 5;
  double secondsPerFrame = 0.033;  // frame N is at N × secondsPerFrame simulated seconds

  static RecordingTarget of(const std::string& path);
  // The name as every format writes it inside its files (the MEL surface, the OBJ object, the glTF
  // node): letters, digits and '_', every other byte '_', and '_' before a leading digit, so that
  // no name can break out of its line or its string. Empty for an empty name.
  static std::string safeName(const std::string& name);
  // directory + name + suffix
  std::string file(const std::string& suffix) const { return directory + name + suffix; }
};
