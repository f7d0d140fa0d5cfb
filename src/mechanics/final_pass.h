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

// Converts the lengths of reading I from cm to mm.
void convert_to_mm(Run& run, int I);

// Sets UBAR(1) = U(1) = 0, DVOVDU, AVPRST, IPKST, IMAXP, IEND and converts the lengths of the
// readings from cm to mm.
void finish_test(Run& run);

}  // namespace ostrevik::mechanics
