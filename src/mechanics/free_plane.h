#pragma once
// Free shear plane: in a test whose plane is not held at the mould angle, the plane is
// recomputed from the displaced and rotated upper part and the reading is evaluated again on it.
#include "model/state.h"

namespace ostrevik::mechanics {

// The test shears along a free plane: DH = 0 and PARFPL ≠ 0.
bool has_free_plane(const Run& run);

// Recomputes the plane while no flagged reading has been processed (NPARFL < 1), otherwise
// keeps the last one; then evaluates reading I on it (DT: top-cap displacement, DR: lower-end
// length, cm) and stores ERUABS(I) in mm. Throws IterationLimitExceeded.
void evaluate_on_free_plane(Run& run, int I, float DT, float DR);

}  // namespace ostrevik::mechanics
