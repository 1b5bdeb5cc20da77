#pragma once

#include "cloth/RowScratch.h"
#include "cloth/StepInputs.h"

// The node loops a step can run. All give the same results, bit for bit; the vector ones need the
// processor's support, checked at run time, so the program still runs on any x86-64.
enum class StepKernel {
  Scalar,  // one node at a time over 3-element values; the portable fallback and the yardstick
  Avx2,    // four nodes of a row at a time
  Avx512,  // eight nodes of a row at a time
};

bool stepKernelSupported(StepKernel kernel);
// The widest kernel this processor supports.
StepKernel fastestStepKernel();
const char* stepKernelName(StepKernel kernel);

// One step's node loop with `kernel`, which must be supported. `scratch` is sized for in.width.
// Writes the zero-normalization message exactly as often as the plain Vector formulation does.
// Returns true when a column spring of the new positions is longer than the inputs' limit or not
// finite: the sheet has diverged.
bool runStepKernel(StepKernel kernel, const StepInputs& in, RowScratch& scratch);
