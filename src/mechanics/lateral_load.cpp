#include "mechanics/lateral_load.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {

bool lateral_load_acts(const Run& run, int I) {
  return run.c.PARLAT != 0.0F && run.r.QSPBAL(I) != 0.0F;
}

LateralLoadAngles lateral_load_angles(const Run& run, int I, float HX, float HY, float BETRAD) {
  const float XBARQT = run.s.XBARQT;
  const float YBARQT = run.s.YBARQT;
  const float XQ = run.u.XSHIFT - HX / 2.0F + XBARQT;
  const float YQ = HY / 2.0F + YBARQT;
  float GQ = PI / 2.0F;
  if (XQ != 0.0F) {
    GQ = rounded::atan(YQ / (-XQ));
    if (GQ < 0.0F) GQ = GQ + PI;
  }
  const float RQ = YQ / rounded::sin(GQ);
  const float SHX = rounded::cos(GQ) * (RQ * BETRAD);
  const float SHY = -rounded::sin(GQ) * (RQ * BETRAD);
  const float HQ = run.u.HQTLAT + HX + SHY;
  const float LQ = run.c.LYOK - run.r.DECLYK(I);
  const float HTFYKS = run.r.HTFYKS(I);
  LateralLoadAngles a;
  a.GRDQR = -rounded::asin((HTFYKS - HQ) / LQ);
  a.CGRDQ = rounded::cos(a.GRDQR);
  a.GRSBR =
      -rounded::atan((run.c.HTFPSB - HTFYKS) / ((YBARQT + run.c.DCLPSB + HY + SHX) - LQ * a.CGRDQ));
  a.ANGQR = PI / 2.0F + a.GRDQR + BETRAD;
  return a;
}

void store_lateral_load_angles(Run& run, int I, float HX, float HY, float BETRAD) {
  run.w.lateral = lateral_load_angles(run, I, HX, HY, BETRAD);
}

}  // namespace ostrevik::mechanics
