#pragma once
// The evaluation of every reading of a test and the pass after the loop.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::mechanics {

// Evaluates readings 1..NREAD (Table 1A rows go to the report as they arise), then converts
// to report units and chooses IMAXP and IEND. Throws IterationLimitExceeded.
void evaluate_test(Run& run, codec::Sink& report);

}  // namespace ostrevik::mechanics
