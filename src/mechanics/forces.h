#pragma once
// Forces on the upper part resolved onto the shear plane, and the mean stresses on the
// contact area.
#include "model/state.h"

namespace ostrevik::mechanics {

// C1, C2: load-direction pair (1, 0 without rotation; SINPSI, COSPSI with it); SP, CP: sine and
// cosine of the plane inclination; UC, VC: displacements along and normal to the plane (cm);
// WOFF: frame weight carried by the frame (kg). Reads P(I), QSPBAL(I), the weights, the
// lateral-load angles and the contact area of run.w.
Forces forces_and_stresses(const Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                           float VC, float WOFF);

// The same into the working values of the reading (run.w) and QLAT(I).
void store_forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                               float VC, float WOFF);

}  // namespace ostrevik::mechanics
