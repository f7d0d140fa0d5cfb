#include <cmath>

#include "report/friction_angle.h"
#include "report/test_tables.h"

namespace ostrevik::report {

float friction_angle(float SS, float TNSAVE) {
  // A vanishing normal stress leaves the direction of the shear stress: the angle is ±90
  // degrees, or 0 when there is no shear stress either.
  if (TNSAVE == 0.0F) {
    if (SS > 0.0F) return 90.0F;
    if (SS < 0.0F) return -90.0F;
    return 0.0F;
  }
  const double quotient = static_cast<double>(SS) / static_cast<double>(TNSAVE);
  return static_cast<float>(std::atan(quotient) * 180.0 / static_cast<double>(PI));
}

void store_peak_and_end(Run& run) {
  if (!(run.c.PARREG > 0.0F) || run.u.NREAD < 1) {
    return;
  }
  const Results& o = run.o;
  PerTest& pt = run.pt;
  const int NTEST = run.n.NTEST;

  int K = o.IMAXP;
  pt.SIGA(NTEST, 1) = o.TNSAVE(K);
  pt.TAUA(NTEST, 1) = o.SS(K);
  pt.DVDUPK(NTEST) = o.DVOVDU(K);
  pt.FIPK(NTEST) = friction_angle(o.SS(K), o.TNSAVE(K));
  pt.SIGA(NTEST, 2) = o.TNSAVP(K);
  pt.TAUA(NTEST, 2) = o.SSAVP(K);
  pt.SIGA(NTEST, 3) = o.TNNB(K);
  pt.TAUA(NTEST, 3) = o.SSNB(K);

  K = o.IEND;
  pt.SIGA(NTEST, 4) = o.TNSAVE(K);
  pt.TAUA(NTEST, 4) = o.SS(K);
  pt.DVDUEN(NTEST) = o.DVOVDU(K);
  pt.FIEN(NTEST) = friction_angle(o.SS(K), o.TNSAVE(K));
  pt.SIGA(NTEST, 5) = o.TNSAVP(K);
  pt.TAUA(NTEST, 5) = o.SSAVP(K);
  pt.SIGA(NTEST, 6) = o.TNNB(K);
  pt.TAUA(NTEST, 6) = o.SSNB(K);

  pt.STORED(NTEST) = true;
}

}  // namespace ostrevik::report
