#pragma once
// Apparatus and specimen set-up: the quantities that stay fixed during a test.
#include "model/state.h"

namespace ostrevik::mechanics {

// RMLC and RMPR, once per constants block.
void compute_frame_masses(Run& run);

// Set-up up to the first part of the specimen echo (densities, angles, shear-plane geometry,
// top mould, soil wedge, RM). Numbers the test. Throws TestRefused before any division by
// zero on data outside what can be evaluated.
void set_up_geometry(Run& run);

// The top mould with its additions, the moving assembly and its centre of gravity.
void set_up_moving_assembly(Run& run);

// Working values of the reading loop, NREAD.
void set_up_working_values(Run& run);

}  // namespace ostrevik::mechanics
