#include "mechanics/tension_check.h"

#include "mechanics/tension.h"
#include "model/outcome.h"

namespace ostrevik::mechanics {

void check_tension(Run& run, int I, int JJ, float VPIARG, float DRPARG, float S) {
  Work& w = run.w;
  if (!(w.moment.SMIN < 0.0F || w.moment.SMAX < 0.0F) || I == 1) return;
  w.JJ = JJ;
  correct_for_tension(run, I, VPIARG, DRPARG, S, w.UCUR, w.VCUR, w.forces.SIGN, w.forces.TAUN,
                      w.moment.DEVP, w.forces.USTR, w.forces.VSTR);
  if (w.INXDU > MAX_TENSION_PASSES || w.N1ACAL > MAX_TENSION_CALLS) throw IterationLimitExceeded{};
}

}  // namespace ostrevik::mechanics
