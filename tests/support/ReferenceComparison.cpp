#include "ReferenceComparison.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "ClothSetups.h"
#include "ReferenceCloth.h"
#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"

namespace referencecomparison {

namespace {

bool sameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

bool sameBits(const Vec3& a, const Vector& b) {
  return sameBits(a.x, b[0]) && sameBits(a.y, b[1]) && sameBits(a.z, b[2]);
}

}  // namespace

::testing::AssertionResult matchesReference(const Cloth& cloth, const ReferenceCloth& reference, int stepsDone) {
  for (int k = 0; k < cloth.nodeCount(); ++k) {
    const Vec3 p = cloth.positions->at(k);
    const Vector& rp = reference.position(k);
    if (!sameBits(p, rp) || !sameBits(cloth.previousPositions->at(k), reference.previousPosition(k)))
      return ::testing::AssertionFailure() << "node " << k << " differs after " << stepsDone << " steps: ("
                                           << p.x << ", " << p.y << ", " << p.z << ") against (" << rp[0]
                                           << ", " << rp[1] << ", " << rp[2] << ")";
  }
  return ::testing::AssertionSuccess();
}

// Each draws from a generator of its own, seeded alike before every step.
void expectSameAsReference(const std::vector<Cloth*>& cloths, int steps, int checkEvery) {
  ASSERT_FALSE(cloths.empty());
  ReferenceCloth reference(*cloths.front());
  std::uint32_t seed = 12345;
  for (int s = 1; s <= steps; ++s) {
    for (Cloth* cloth : cloths) {
      RandomGenerator gusts(seed);
      cloth->step(kDt, gusts);
    }
    RandomGenerator gusts(seed);
    reference.step(kDt, gusts);
    seed = seed * 2654435761u + 1u;  // a fresh state every step keeps the gusts moving
    if (s % checkEvery != 0 && s != steps) continue;
    for (const Cloth* cloth : cloths) {
      ASSERT_TRUE(matchesReference(*cloth, reference, s)) << "node loop " << stepKernelName(cloth->stepKernel);
    }
  }
  EXPECT_TRUE(clothsetups::allFinite(*cloths.front())) << "a run that diverged proves little";
}

}  // namespace referencecomparison
