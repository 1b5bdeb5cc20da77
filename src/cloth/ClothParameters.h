#pragma once

#include <string>

// The cloth's nine tunables with their slider ranges and defaults, in the order the cloth inserts
// them (the parameter table's layout depends on it).
struct ClothParameter {
  const char* name;
  double minimum;
  double maximum;
  double value;
};

inline constexpr ClothParameter kClothParameters[] = {
    {"cDamping", 0.0, 5.0, 0.15},         {"density", 0.05, 5.0, 0.3},
    {"gravity", -20.0, 20.0, -9.8},       {"kBend", 0.0, 2000.0, 150.0},
    {"kShear", 0.0, 8000.0, 4000.0},      {"kStretch", 0.0, 16000.0, 8000.0},
    {"windMinimum", -500.0, 500.0, 40.0}, {"windPressure", -500.0, 500.0, 20.0},
    {"windFrequency", 0.0, 50.0, 6.0},
};

// The tunable called `name` (exactly, case-sensitive), or none.
inline const ClothParameter* findClothParameter(const std::string& name) {
  for (const ClothParameter& p : kClothParameters)
    if (name == p.name) return &p;
  return nullptr;
}
