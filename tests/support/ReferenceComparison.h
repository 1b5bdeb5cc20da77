#pragma once

#include <gtest/gtest.h>

#include <vector>

class Cloth;
class ReferenceCloth;

// Comparing a cloth's step with the plain Vector formulation.
namespace referencecomparison {

inline constexpr double kDt = 0.0005;

// The cloth's two live buffers against the reference's, bit for bit. Finite results must agree
// exactly; the sign of a NaN is the compiler's to choose.
::testing::AssertionResult matchesReference(const Cloth& cloth, const ReferenceCloth& reference, int stepsDone);

// Steps cloths that start alike (one per node loop, say) beside one reference, all from the same
// seeds, comparing every `checkEvery` steps and at the end; fails on the first difference, or
// when the run diverged.
void expectSameAsReference(const std::vector<Cloth*>& cloths, int steps, int checkEvery = 100);

}  // namespace referencecomparison
