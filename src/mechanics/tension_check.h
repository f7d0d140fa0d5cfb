#pragma once
// The check after every evaluation of a reading: tension at an edge of the contact area hands
// the case to the no-tension correction.
#include "model/state.h"

namespace ostrevik::mechanics {

// When SMIN or SMAX of run.w is negative and I ≠ 1: sets JJ and corrects SIGN, TAUN, DEVP, USTR,
// VSTR and ACONT of run.w for the compressed part of the contact area (VPIARG: piston offset,
// DRPARG: lower-end length, S: sine of the plane inclination). Throws IterationLimitExceeded
// when the correction did not converge or was called too often in the test.
void check_tension(Run& run, int I, int JJ, float VPIARG, float DRPARG, float S);

}  // namespace ostrevik::mechanics
