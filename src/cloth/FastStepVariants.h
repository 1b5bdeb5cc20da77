#pragma once

#include "cloth/RowScratch.h"
#include "cloth/StepInputs.h"

// The vector node loops, each in its own translation unit built for its instruction set.
StepOutcome fastStepAvx2(const StepInputs& in, RowScratch& scratch);
StepOutcome fastStepAvx512(const StepInputs& in, RowScratch& scratch);
