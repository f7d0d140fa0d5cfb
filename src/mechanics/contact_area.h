#pragma once
// Contact area of the sheared specimen: the overlap of the two elliptical sections of the
// cylinder, displaced along their major axis by the shear displacement.
#include "model/state.h"

namespace ostrevik::mechanics {

// SP: sine of the plane inclination; UCUR: displacement along the plane (cm). Reads DIAW.
// RMAJ semi-major axis, RAB product of the semi-axes, BOVL overlap half-angle,
// GOVL = 2·BOVL + sin(2·BOVL), ACONT area, SECMW second moment about the centroidal axis
// normal to the displacement, PHALF half contact length, PLEN length of the rectangle of
// width 0.9·DIAW with the same area.
void contact_area(const Run& run, float SP, float UCUR, float& RMAJ, float& RAB, float& BOVL,
                  float& GOVL, float& ACONT, float& SECMW, float& PHALF, float& PLEN);

// The same into the working values of the reading (run.w).
void contact_area(Run& run, float SP, float UCUR);

}  // namespace ostrevik::mechanics
