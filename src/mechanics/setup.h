#pragma once
// Apparatus and specimen set-up: the quantities that stay fixed during a test.
#include "model/state.h"

namespace ostrevik::mechanics {

// RMLC and RMPR, once per constants block.
void compute_frame_masses(Run& run);

// Set-up of test number `test` up to the first part of the specimen echo (densities, angles,
// shear-plane geometry, top mould, soil wedge, RM). Throws TestRefused, naming the test, before
// any division by zero on data outside what can be evaluated.
void set_up_geometry(Run& run, int test);

// The moving assembly, with the top mould and its additions, and its centre of gravity.
void set_up_moving_assembly(Run& run, int test);

// Working values of the reading loop, NREAD.
void set_up_working_values(Run& run);

}  // namespace ostrevik::mechanics
