#pragma once
// Direction of the lateral load, which acts through a yoke and a bar that follow the
// displacement and rotation of the upper part.
#include "model/state.h"

namespace ostrevik::mechanics {

// A lateral load acts at reading I: the test has lateral loads and the reading one.
bool lateral_load_acts(const Run& run, int I);

// HX, HY: horizontal and vertical displacement (cm); BETRAD: rotation of the upper wedge (rad).
// Reads the yoke gauges DECLYK(I), HTFYKS(I) (cm) and the yoke and bar constants.
LateralLoadAngles lateral_load_angles(const Run& run, int I, float HX, float HY, float BETRAD);

// The same into the working values of the reading (run.w).
void store_lateral_load_angles(Run& run, int I, float HX, float HY, float BETRAD);

}  // namespace ostrevik::mechanics
