#include "mechanics/contact_area.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {

void contact_area(const Run& run, float SP, float UCUR, float& RMAJ, float& RAB, float& BOVL,
                  float& GOVL, float& ACONT, float& SECMW, float& PHALF, float& PLEN) {
  const float DIAW = run.u.DIAW;
  RMAJ = DIAW / (SP * 2.0F);
  RAB = RMAJ * RMAJ * SP;
  BOVL = rounded::asin(UCUR / (RMAJ * 2.0F));
  GOVL = rounded::sin(BOVL * 2.0F) + BOVL * 2.0F;
  ACONT = (PI - GOVL) * RAB;
  const float CF1 = RAB / 24.0F;
  const float CF2 = 3.0F * (RMAJ * RMAJ);
  const float CF3 = 32.0F * RMAJ * UCUR;
  const float cosb = rounded::cos(BOVL);
  SECMW =
      (6.0F * (UCUR * UCUR) * (PI - GOVL) +
       (CF2 * (rounded::sin(4.0F * BOVL) + 2.0F * PI - 4.0F * BOVL) - CF3 * (cosb * cosb * cosb))) *
      CF1;
  PHALF = (DIAW / SP - UCUR) / 2.0F;
  PLEN = ACONT / (DIAW * 0.9F);
}

void contact_area(Run& run, float SP, float UCUR) {
  Work& w = run.w;
  contact_area(run, SP, UCUR, w.RMAJ, w.RAB, w.BOVL, w.GOVL, w.ACONT, w.SECMW, w.PHALF, w.PLEN);
}

}  // namespace ostrevik::mechanics
