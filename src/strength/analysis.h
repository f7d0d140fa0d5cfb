#pragma once
// The strength analysis at the end of the input.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::strength {

// Runs the first pass (and the second, on logarithms, for IPARRG 4 or 5) when at least two
// tests stored their values, IPARRG > 0 and PDATCH = 0; otherwise writes nothing.
void analyse_end_of_input(Run& run, codec::Sink& report);

// Whether the analysis at the end of the input has what it needs to run.
bool analysis_runs(const Run& run);

}  // namespace ostrevik::strength
