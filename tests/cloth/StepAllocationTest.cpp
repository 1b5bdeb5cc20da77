// A step allocates nothing on the heap, whichever node loop runs it. Every global operator new of
// this executable is replaced by a counting one; it is an executable of its own so that the
// replacement reaches no other test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "ClothSetups.h"
#include "QuietOutput.h"
#include "ReferenceCloth.h"
#include "cloth/Cloth.h"
#include "cloth/RandomGenerator.h"
#include "cloth/FastStepKernel.h"

namespace {

long allocations = 0;

void* allocate(std::size_t size, std::size_t alignment) {
  ++allocations;
  const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
  void* p = alignment <= alignof(std::max_align_t) ? std::malloc(rounded ? rounded : 1)
                                                    : std::aligned_alloc(alignment, rounded ? rounded : alignment);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size, alignof(std::max_align_t)); }
void* operator new[](std::size_t size) { return allocate(size, alignof(std::max_align_t)); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return allocate(size, static_cast<std::size_t>(alignment));
}
// The nothrow forms too: a sanitizer's own would hand out memory that free() must not release.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size, alignof(std::max_align_t));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  try {
    return allocate(size, static_cast<std::size_t>(alignment));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t& tag) noexcept {
  return operator new(size, alignment, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

constexpr double kDt = 0.0005;

class StepAllocation : public QuietOutput {
protected:
  RandomGenerator gusts;
};

// The counter itself: the Vector formulation makes a heap vector for every intermediate result.
TEST_F(StepAllocation, CounterSeesTheVectorFormulationAllocate) {
  Cloth cloth;
  ASSERT_EQ(ClothShape().layOut(cloth), 0);
  ReferenceCloth reference(cloth);
  const long before = allocations;
  reference.step(kDt, gusts);
  EXPECT_GT(allocations - before, cloth.nodeCount());
}

TEST_F(StepAllocation, NoNodeLoopAllocatesInAStep) {
  for (StepKernel kernel : {StepKernel::Scalar, StepKernel::Avx2, StepKernel::Avx512}) {
    if (!stepKernelSupported(kernel)) continue;
    SCOPED_TRACE(stepKernelName(kernel));
    for (const ClothShape& shape : {ClothShape{0.3f, 23, 11}, clothsetups::benchmarkShapes().back()}) {
      Cloth cloth;
      ASSERT_EQ(shape.layOut(cloth), 0);
      cloth.stepKernel = kernel;
      clothsetups::setGustyWind(cloth);
      const long before = allocations;
      for (int s = 0; s < 100; ++s) cloth.step(kDt, gusts);
      EXPECT_EQ(allocations - before, 0) << shape.clothWidth << " x " << shape.clothHeight;
    }
  }
}

// Zero vectors take the reporting path, which must not allocate either.
TEST_F(StepAllocation, ReportingZeroNormalizationsDoesNotAllocate) {
  for (StepKernel kernel : {StepKernel::Scalar, StepKernel::Avx2, StepKernel::Avx512}) {
    if (!stepKernelSupported(kernel)) continue;
    SCOPED_TRACE(stepKernelName(kernel));
    Cloth cloth;
    ASSERT_EQ((ClothShape{0.0f, 3, 3}.layOut(cloth)), 0);
    cloth.spacing = 1.0;  // a positive mass, every node still at the origin
    cloth.stepKernel = kernel;
    std::string expected;
    for (int i = 0; i < 37 + 8; ++i) expected += linalg::kZeroNormalize;  // springs, then normals
    expectOutput(expected);
    const long before = allocations;
    cloth.step(kDt, gusts);
    EXPECT_EQ(allocations - before, 0);
    outputSoFar();
  }
}

}  // namespace
