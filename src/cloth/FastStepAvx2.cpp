// Built with -mavx2 (and no FMA): call only when the processor supports AVX2.
#include "cloth/Avx2Lanes.h"
#include "cloth/FastStepRows.h"
#include "cloth/FastStepVariants.h"

StepOutcome fastStepAvx2(const StepInputs& in, RowScratch& scratch) {
  return FastStepRows<Avx2Lanes>(in, scratch.data, scratch.stride).run();
}
