#pragma once

// The fixed one-line reports of dimension errors. Callers carry on with a zero result, so these
// lines on standard output are the only trace of the error.
namespace linalg {

void report(const char* message);

inline constexpr const char* kDotMismatch = "Vector dimensions must agree for dot-product.\n";
inline constexpr const char* kSumMismatch = "Vector dimensions must agree for vector sum.\n";
inline constexpr const char* kSubtractionMismatch = "Vector dimensions must agree for vector subtraction.\n";
inline constexpr const char* kCrossNotThree = "Vector dimensions must be 3 for cross-product.\n";
inline constexpr const char* kCrossMismatch = "Vector dimensions must agree for cross-product.\n";
inline constexpr const char* kZeroNormalize = "Zero vector cannot be normalized.\n";
inline constexpr const char* kMatrixProductMismatch = "Matrix dimensions must agree for multiplication.\n";
inline constexpr const char* kMatrixVectorMismatch =
    "Matrix and vector dimensions must agree for multiplication.\n";
inline constexpr const char* kInverseNotSquare = "Matrix must be square for inversion.\n";

}  // namespace linalg
