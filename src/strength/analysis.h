#pragma once
// The strength analysis at the end of the input.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::strength {

// Runs the first pass (and the second, on logarithms, for IPARRG 4 or 5) when at least two
// tests stored their values, IPARRG > 0 and PDATCH = 0; otherwise writes nothing. True when the
// analysis ran.
bool analyse_end_of_input(Run& run, codec::Sink& report);

// True when IPARRG asks for the least-squares envelope with cohesion (COHESN, PHILRG).
bool fits_envelope_with_cohesion(int IPARRG);

}  // namespace ostrevik::strength
