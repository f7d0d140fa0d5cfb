#pragma once
// Forces on the upper part resolved onto the shear plane, and the mean stresses on the
// contact area.
#include "model/state.h"

namespace ostrevik::mechanics {

// C1, C2: load-direction pair (1, 0 without rotation; SINPSI, COSPSI with it); SP, CP: sine and
// cosine of the plane inclination; UC, VC: displacements along and normal to the plane (cm);
// WOFF: frame weight carried by the frame (kg). Reads P(I), QSPBAL(I), the weights, the
// lateral-load angles and the contact area of run.w. Stores the effective lateral load in
// QLAT(I).
void forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                         float VC, float WOFF, float& FNORM, float& FSHEAR, float& SIGN,
                         float& TAUN, float& USTR, float& VSTR, float& QLATX, float& QLATY,
                         float& XFRC, float& YFRC);

// The same into the working values of the reading (run.w).
void forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                         float VC, float WOFF);

}  // namespace ostrevik::mechanics
