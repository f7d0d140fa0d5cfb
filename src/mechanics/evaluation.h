#pragma once
// The evaluation of every reading of a test and the pass after the loop.
#include "model/state.h"

namespace ostrevik::mechanics {

// Evaluates readings 1..NREAD (recording the Table 1A rows as they arise), then converts to
// report units and chooses IMAXP and IEND. Throws IterationLimitExceeded, with the rows of the
// readings already evaluated kept.
void evaluate_test(Run& run);

}  // namespace ostrevik::mechanics
