#pragma once
// Moment of the loads about the centroid of the contact area, and the bending stresses it
// causes at the two ends of the contact area.
#include "model/state.h"

namespace ostrevik::mechanics {

// Height of the vertical load line above the top of the specimen (cm); on the frame with
// PARINC = 1 it grows with the horizontal displacement DX.
float load_height(const Run& run, float DX);

// Form A, plane of fixed inclination. L1, L2: horizontal and vertical displacement (cm); L3:
// lower-end length (cm); C, S: direction pair (1, 0, or SINPSI, COSPSI). Reads the forces and
// contact area of run.w, the loading heights and the centres of gravity of the set-up.
Moment moment_form_a(const Run& run, int I, float L1, float L2, float L3, float C, float S);

// Form B, free shear plane: lever arms along the recomputed plane. K1: piston offset, K2:
// lower-end length, K3: second length (cm). Reads further DYC, BETRAD, SINPSI, COSPSI, HLOWT and
// the free-plane values of run.w.
Moment moment_form_b(const Run& run, int I, float K1, float K2, float K3);

// The same into the working values of the reading (run.w).
void store_moment_form_a(Run& run, int I, float L1, float L2, float L3, float C, float S);
void store_moment_form_b(Run& run, int I, float K1, float K2, float K3);

}  // namespace ostrevik::mechanics
