#pragma once

#include "cloth/StepInputs.h"

// The node loop of the time step, one node at a time over 3-element values.
void scalarStepKernel(const StepInputs& in);
