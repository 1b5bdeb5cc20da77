// Built with -mavx512f (and no FMA): call only when the processor supports AVX-512F.
#include "cloth/Avx512Lanes.h"
#include "cloth/FastStepRows.h"
#include "cloth/FastStepVariants.h"

StepOutcome fastStepAvx512(const StepInputs& in, RowScratch& scratch) {
  return FastStepRows<Avx512Lanes>(in, scratch.data, scratch.stride).run();
}
