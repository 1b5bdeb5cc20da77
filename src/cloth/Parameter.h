#pragma once

#include <string>

// One named tunable of the cloth: the slider range the panel offers and the value the step reads.
// The range is advice for the panel; nothing enforces minimum <= value <= maximum.
struct Parameter {
  Parameter(std::string name, double minimum, double maximum, double value)
      : minimum(minimum), maximum(maximum), value(value), name(std::move(name)) {}
  virtual ~Parameter() = default;

  double minimum;
  double maximum;
  double value;
  std::string name;
  Parameter* next = nullptr;  // next record of the same bucket
};
