#pragma once

#include "cloth/StepInputs.h"

// The node loop of the time step, one node at a time over 3-element values. Returns true when a
// column spring of the new positions is longer than the inputs' limit or not finite.
bool scalarStepKernel(const StepInputs& in);
