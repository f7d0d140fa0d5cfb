#include "mechanics/forces.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {

Forces forces_and_stresses(const Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                           float VC, float WOFF) {
  const Work& w = run.w;
  const float P = run.r.P(I);
  const float QSPBAL = run.r.QSPBAL(I);
  const float WBC = run.c.WBC;
  const float W = run.u.W;
  const float PN = P - (WBC + WOFF);
  Forces f;
  if (QSPBAL != 0.0F) {
    f.QLAT = rounded::cos(w.lateral.GRSBR) * QSPBAL / (w.lateral.CGRDQ * 2.23F);
    const float SQ = rounded::sin(w.lateral.ANGQR);
    const float CQ = rounded::cos(w.lateral.ANGQR);
    const float WQ = w.lateral.CGRDQ * run.r.WQW;
    f.QLATX = CQ * f.QLAT - WQ * SQ;
    f.QLATY = WQ * CQ + SQ * f.QLAT;
  }
  f.XFRC = P - (WBC + W + WOFF) * C1 + f.QLATX;
  f.YFRC = PN * run.u.FRCW + (run.o.RMR(I) + W) * C2 + f.QLATY;
  f.FNORM = f.YFRC * CP + f.XFRC * SP;
  f.FSHEAR = f.XFRC * CP - f.YFRC * SP;
  f.SIGN = f.FNORM / w.area.ACONT;
  f.TAUN = f.FSHEAR / w.area.ACONT;
  f.USTR = UC * 100.0F / (w.area.PHALF * 2.0F);
  f.VSTR = VC * 100.0F / (w.area.PHALF * 2.0F);
  return f;
}

void store_forces_and_stresses(Run& run, int I, float C1, float C2, float SP, float CP, float UC,
                               float VC, float WOFF) {
  run.w.forces = forces_and_stresses(run, I, C1, C2, SP, CP, UC, VC, WOFF);
  run.o.QLAT(I) = run.w.forces.QLAT;
}

}  // namespace ostrevik::mechanics
