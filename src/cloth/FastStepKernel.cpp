#include "cloth/FastStepKernel.h"

#include <cassert>
#include <initializer_list>

#include "cloth/FastStepVariants.h"
#include "cloth/ScalarStepKernel.h"
#include "linalg/LinalgMessages.h"

bool stepKernelSupported(StepKernel kernel) {
  __builtin_cpu_init();  // a Cloth may be constructed by a static initializer, before libgcc's own
  switch (kernel) {
    case StepKernel::Scalar: return true;
    case StepKernel::Avx2: return __builtin_cpu_supports("avx2");
    case StepKernel::Avx512: return __builtin_cpu_supports("avx512f");
  }
  return false;
}

StepKernel fastestStepKernel() {
  for (StepKernel kernel : {StepKernel::Avx512, StepKernel::Avx2})
    if (stepKernelSupported(kernel)) return kernel;
  return StepKernel::Scalar;
}

const char* stepKernelName(StepKernel kernel) {
  switch (kernel) {
    case StepKernel::Scalar: return "Scalar";
    case StepKernel::Avx2: return "Avx2";
    case StepKernel::Avx512: return "Avx512";
  }
  return "?";
}

bool runStepKernel(StepKernel kernel, const StepInputs& in, RowScratch& scratch) {
  assert(stepKernelSupported(kernel));
  StepOutcome outcome{0, false};
  switch (kernel) {
    case StepKernel::Scalar: return scalarStepKernel(in);  // reports as it goes
    case StepKernel::Avx2: outcome = fastStepAvx2(in, scratch); break;
    case StepKernel::Avx512: outcome = fastStepAvx512(in, scratch); break;
  }
  for (int i = 0; i < outcome.zeroNormalizations; ++i) linalg::report(linalg::kZeroNormalize);
  return outcome.overstretched;
}
