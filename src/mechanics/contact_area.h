#pragma once
// Contact area of the sheared specimen: the overlap of the two elliptical sections of the
// cylinder, displaced along their major axis by the shear displacement.
#include "model/state.h"

namespace ostrevik::mechanics {

// DIAW: specimen diameter (cm); SP: sine of the plane inclination; UCUR: displacement along
// the plane (cm).
ContactArea contact_area(float DIAW, float SP, float UCUR);

// The same for the working diameter, into the working values of the reading (run.w).
void store_contact_area(Run& run, float SP, float UCUR);

}  // namespace ostrevik::mechanics
