#pragma once
// The pass over a test's readings after they have all been evaluated: lengths to mm, the
// dilatancy rate, the mean principal stress, the peak reading and the end-of-test reading.
// A test has at least two readings.
#include "model/state.h"

namespace ostrevik::mechanics {

// Reading of peak strength IMAXP (and the final state IPKST of the search): the stress ratio
// SOVERN is compared in a test with a lateral load at any reading, the vertical load P
// otherwise.
void search_peak(Run& run);

// The last of the final three readings (at least reading 2) at which the shear stress is
// positive and the stress ratio no longer rises.
int end_reading(const Run& run);

// The report's lengths of reading I in mm (Results), from the cm of the reading loop.
void convert_to_mm(Run& run, int I);

// Sets UBAR(1) = U(1) = 0 (cm), DVOVDU, AVPRST, IPKST, IMAXP, IEND and the lengths of the
// readings in mm.
void finish_test(Run& run);

}  // namespace ostrevik::mechanics
