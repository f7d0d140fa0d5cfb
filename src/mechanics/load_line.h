#pragma once
// Edge bending stress of a reading under four further assumptions about where the vertical
// load line meets the lower part: a computed load line, the rotated piston point, the joint
// and the piston tip.
#include "model/state.h"

namespace ostrevik::mechanics {

// Fills DEVIBT(I), DEVRPT(I), DEVJNR(I), DEVVPI(I) (%) and VPITT(I) (cm) from the forces of the
// last evaluation of reading I (DT: top-cap displacement, DR: lower-end length, cm). P(I),
// WQNC(I) and QLAT(I) are still in kg. Throws IterationLimitExceeded.
void evaluate_load_lines(Run& run, int I, float DT, float DR);

}  // namespace ostrevik::mechanics
