#pragma once

#include <algorithm>
#include <cmath>

#include "cloth/ClothParameters.h"
#include "cloth/ParameterList.h"

// A material: the values it gives the five parameters that describe the fabric itself. The wind
// and gravity are the scene's, so a preset leaves them as they are.
struct MaterialPreset {
  struct Value {
    const char* parameter;
    double value;
  };
  const char* name;
  Value values[5];
};

// Flag is the cloth's own defaults. The others take typical areal weights (unit mass per square
// unit read as kg/m²) and the fabrics' relative stretch, shear and bend stiffness, scaled so that
// the flag's fabric lands on the defaults; damping keeps the flag's ratio to mass except where
// the material rings (rubber) or deadens (leather). The README gives the sources.
inline constexpr MaterialPreset kMaterialPresets[] = {
    {"Flag", {{"density", 0.3}, {"kStretch", 8000.0}, {"kShear", 4000.0}, {"kBend", 150.0}, {"cDamping", 0.15}}},
    {"Cotton", {{"density", 0.15}, {"kStretch", 7000.0}, {"kShear", 2500.0}, {"kBend", 60.0}, {"cDamping", 0.08}}},
    {"Silk", {{"density", 0.06}, {"kStretch", 4000.0}, {"kShear", 600.0}, {"kBend", 8.0}, {"cDamping", 0.03}}},
    {"Denim", {{"density", 0.4}, {"kStretch", 14000.0}, {"kShear", 7000.0}, {"kBend", 700.0}, {"cDamping", 0.25}}},
    {"Leather", {{"density", 1.0}, {"kStretch", 16000.0}, {"kShear", 8000.0}, {"kBend", 2000.0}, {"cDamping", 1.0}}},
    {"Rubber", {{"density", 1.2}, {"kStretch", 1500.0}, {"kShear", 1500.0}, {"kBend", 300.0}, {"cDamping", 0.2}}},
};

// Writes each of `values` into `parameters`, clamped to its range; names the list lacks are
// passed over, so that a preset saved by another version still applies what it can.
template <typename Values>
void applyParameterValues(ParameterList& parameters, const Values& values) {
  for (const auto& [name, value] : values) {
    Parameter* p = parameters.find(name);
    if (p != nullptr && !std::isnan(value)) p->value = std::clamp(value, p->minimum, p->maximum);
  }
}
