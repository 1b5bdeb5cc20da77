#pragma once

#include <string>
#include <string_view>

// The cloth's ten tunables: the one place that gives each its name, slider range, default, unit
// and meaning. The order is the order the cloth inserts them (the parameter table's layout depends
// on it). A new tunable is a row here plus its use in the step.
struct ClothParameter {
  const char* name;
  double minimum;
  double maximum;
  double value;
  const char* unit;
  const char* meaning;
};

inline constexpr ClothParameter kClothParameters[] = {
    {"cDamping", 0.0, 5.0, 0.15, "mass/s", "damping against each node's velocity"},
    {"density", 0.05, 5.0, 0.3, "mass/unit²", "mass per unit area (node mass = density × spacing²)"},
    {"gravity", -20.0, 20.0, -9.8, "force", "y component of the gravity force on each node"},
    {"kBend", 0.0, 2000.0, 150.0, "force/unit", "bend stiffness"},
    {"kShear", 0.0, 8000.0, 4000.0, "force/unit", "stiffness of the diagonal springs"},
    {"kStretch", 0.0, 16000.0, 8000.0, "force/unit", "stiffness of the row and column springs"},
    {"windMinimum", -500.0, 500.0, 40.0, "force/unit²", "steady part of the wind"},
    {"windPressure", -500.0, 500.0, 20.0, "force/unit²", "amplitude of the gusts"},
    {"windFrequency", 0.0, 50.0, 6.0, "rad/s", "rate of the gust cycle"},
    {"windDirection", -180.0, 180.0, 0.0, "degrees", "turn of the wind about the vertical axis (0: square on the hanging sheet)"},
};

// The tunable called `name` (exactly, case-sensitive), or none.
inline constexpr const ClothParameter* findClothParameter(std::string_view name) {
  for (const ClothParameter& p : kClothParameters)
    if (name == p.name) return &p;
  return nullptr;
}

// The default of a tunable the table holds; the cloth's cached copies start from it.
inline constexpr double clothDefault(std::string_view name) { return findClothParameter(name)->value; }
