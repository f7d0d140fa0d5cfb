#pragma once
// Contact area of the sheared specimen: the overlap of the two elliptical sections of the
// cylinder, displaced along their major axis by the shear displacement.
#include "model/state.h"

namespace ostrevik::mechanics {

// The overlap of the two sections.
struct ContactArea {
  float RMAJ = 0;   // semi-major axis of a section, cm
  float RAB = 0;    // product of the semi-axes, cm²
  float BOVL = 0;   // overlap half-angle, rad
  float GOVL = 0;   // 2·BOVL plus the sine of 2·BOVL
  float ACONT = 0;  // area, cm²
  float SECMW = 0;  // second moment about the centroidal axis normal to the displacement, cm⁴
  float PHALF = 0;  // half contact length, cm
  float PLEN = 0;   // length of the rectangle of width 0.9·DIAW with the same area, cm
};

// DIAW: specimen diameter (cm); SP: sine of the plane inclination; UCUR: displacement along
// the plane (cm).
ContactArea contact_area(float DIAW, float SP, float UCUR);

// The same for the working diameter, into the working values of the reading (run.w).
void store_contact_area(Run& run, float SP, float UCUR);

}  // namespace ostrevik::mechanics
