#pragma once
// No-tension correction of the contact area: when the normal force and the moment would put
// part of the contact area in tension, the stresses of the compressed part only. Records the
// Table 1A row for the call points 1 and 2.
#include "model/state.h"

namespace ostrevik::mechanics {

// Reads run.w (JJ, RMAJ, RAB, BOVL, GOVL, ACONT, PHALF, PLEN, FNORM, FSHEAR, SMOM, PMOM,
// BETRAD), run.u.DIAW, run.u.CKPA and run.r.T(I); counts the call in run.w.N1ACAL and the
// passes in run.w.INXDU. On a result it replaces SIGN, TAUN, DEVP, USTR, VSTR and run.w.area.ACONT,
// and for JJ 1 and 2 adds the row of Table 1A to run.o.
// The caller checks INXDU > MAX_TENSION_PASSES and N1ACAL > MAX_TENSION_CALLS afterwards.
void correct_for_tension(Run& run, int I, float VPIARG, float DRPARG, float S, float U, float V,
                         float& SIGN, float& TAUN, float& DEVP, float& USTR, float& VSTR);

}  // namespace ostrevik::mechanics
