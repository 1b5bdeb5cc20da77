#pragma once

#include "cloth/RowScratch.h"
#include "cloth/StepInputs.h"

// The vector node loops, each in its own translation unit built for its instruction set. Each
// returns how many exact zero vectors it normalized, for the caller to report.
int fastStepAvx2(const StepInputs& in, RowScratch& scratch);
int fastStepAvx512(const StepInputs& in, RowScratch& scratch);
