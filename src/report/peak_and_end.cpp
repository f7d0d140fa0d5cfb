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
  return static_cast<float>(std::atan(quotient) * 180.0 / static_cast<double>(PI));  // in double
}

namespace {

// The true-plane, average-plane and simple stresses of reading K into cases `first` to
// `first` + 2 of test NTEST, with the reading's dilatancy rate and friction angle.
void store_reading(const Results& o, int K, int NTEST, int first, PerTest& pt, float& DVDU,
                   float& FI) {
  pt.SIGA(NTEST, first) = o.TNSAVE(K);
  pt.TAUA(NTEST, first) = o.SS(K);
  DVDU = o.DVOVDU(K);
  FI = friction_angle(o.SS(K), o.TNSAVE(K));
  pt.SIGA(NTEST, first + 1) = o.TNSAVP(K);
  pt.TAUA(NTEST, first + 1) = o.SSAVP(K);
  pt.SIGA(NTEST, first + 2) = o.TNNB(K);
  pt.TAUA(NTEST, first + 2) = o.SSNB(K);
}

}  // namespace

void store_peak_and_end(Run& run) {
  if (!(run.c.PARREG > 0.0F) || run.u.NREAD < 1) {
    return;
  }
  PerTest& pt = run.pt;
  const int NTEST = run.n.NTEST;
  store_reading(run.o, run.o.IMAXP, NTEST, 1, pt, pt.DVDUPK(NTEST), pt.FIPK(NTEST));
  store_reading(run.o, run.o.IEND, NTEST, 4, pt, pt.DVDUEN(NTEST), pt.FIEN(NTEST));
  pt.STORED(NTEST) = true;
}

}  // namespace ostrevik::report
