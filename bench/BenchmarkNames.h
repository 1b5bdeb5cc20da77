#pragma once

#include <string>

#include "cloth/ClothShape.h"
#include "cloth/Limits.h"

// Names the benchmarks register under and the summary looks up.
namespace benchmarknames {

inline constexpr const char* kStepFast = "StepFast";
inline constexpr const char* kStepScalar = "StepScalar";
inline constexpr const char* kStepReference = "StepReference";
inline constexpr const char* kWriteFrame = "WriteFrame";
inline constexpr const char* kStepSimulation = "StepSimulation";
inline constexpr const char* kStepColliders = "StepColliders";
inline constexpr const char* kPaint = "Paint";
inline constexpr const char* kPerNodeStep = "per_node_step";
inline constexpr const char* kSimulatedPerWall = "sim_s_per_s";  // simulated seconds per wall second

// A recording's preset: one frame per 0.0333 simulated seconds of 0.0005-second steps.
inline constexpr int kStepsPerFrame = limits::kDefaultSkip;

inline std::string size(const ClothShape& shape) {
  return std::to_string(shape.clothWidth) + "x" + std::to_string(shape.clothHeight);
}

}  // namespace benchmarknames
