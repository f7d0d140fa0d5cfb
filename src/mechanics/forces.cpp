#include "mechanics/forces.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {

void forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                         float VC, float WOFF, float& FNORM, float& FSHEAR, float& SIGN,
                         float& TAUN, float& USTR, float& VSTR, float& QLATX, float& QLATY,
                         float& XFRC, float& YFRC) {
  const Work& w = run.w;
  const float P = run.r.P(I);
  const float QSPBAL = run.r.QSPBAL(I);
  const float WBC = run.c.WBC;
  const float W = run.u.W;
  const float PN = P - (WBC + WOFF);
  float& QLAT = run.o.QLAT(I);
  if (QSPBAL != 0.0F) {
    QLAT = rounded::cos(w.GRSBR) * QSPBAL / (w.CGRDQ * 2.23F);
    const float SQ = rounded::sin(w.ANGQR);
    const float CQ = rounded::cos(w.ANGQR);
    const float WQ = w.CGRDQ * run.r.WQW;
    QLATX = CQ * QLAT - WQ * run.u.ONEW * SQ;
    QLATY = WQ * run.u.ONEW * CQ + SQ * QLAT;
  } else {
    QLAT = 0.0F;
    QLATX = 0.0F;
    QLATY = 0.0F;
  }
  XFRC = P - (WBC + W + WOFF) * C1 + QLATX;
  YFRC = PN * run.u.FRCW + (run.u.RMW + W) * C2 + QLATY;
  FNORM = YFRC * CP + XFRC * SP;
  FSHEAR = XFRC * CP - YFRC * SP;
  SIGN = FNORM / w.ACONT;
  TAUN = FSHEAR / w.ACONT;
  USTR = UC * 100.0F / (w.PHALF * 2.0F);
  VSTR = VC * 100.0F / (w.PHALF * 2.0F);
}

void forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                         float VC, float WOFF) {
  Work& w = run.w;
  forces_and_stresses(run, I, C1, C2, SP, CP, UC, VC, WOFF, w.FNORM, w.FSHEAR, w.SIGN, w.TAUN,
                      w.USTR, w.VSTR, w.QLATX, w.QLATY, w.XFRC, w.YFRC);
}

}  // namespace ostrevik::mechanics
