#pragma once
// Forces on the upper part resolved onto the shear plane, and the mean stresses on the
// contact area.
#include "model/state.h"

namespace ostrevik::mechanics {

// The forces of one evaluation of a reading.
struct Forces {
  float QLAT = 0;    // effective lateral load, kg
  float QLATX = 0;   // lateral load along the load P, kg
  float QLATY = 0;   // lateral load across the load P, kg
  float XFRC = 0;    // resultant along the load P, kg
  float YFRC = 0;    // resultant across the load P, kg
  float FNORM = 0;   // force normal to the plane, kg
  float FSHEAR = 0;  // force along the plane, kg
  float SIGN = 0;    // mean normal stress on the contact area, kg/cm²
  float TAUN = 0;    // mean shear stress on the contact area, kg/cm²
  float USTR = 0;    // displacement along the plane, % of the contact length
  float VSTR = 0;    // displacement normal to the plane, % of the contact length
};

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
