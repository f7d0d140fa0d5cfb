#include "mechanics/contact_area.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {

ContactArea contact_area(float DIAW, float SP, float UCUR) {
  ContactArea a;
  a.RMAJ = DIAW / (SP * 2.0F);
  a.RAB = a.RMAJ * a.RMAJ * SP;
  a.BOVL = rounded::asin(UCUR / (a.RMAJ * 2.0F));
  a.GOVL = rounded::sin(a.BOVL * 2.0F) + a.BOVL * 2.0F;
  a.ACONT = (PI - a.GOVL) * a.RAB;
  const float CF1 = a.RAB / 24.0F;
  const float CF2 = 3.0F * (a.RMAJ * a.RMAJ);
  const float CF3 = 32.0F * a.RMAJ * UCUR;
  const float cosb = rounded::cos(a.BOVL);
  a.SECMW = (6.0F * (UCUR * UCUR) * (PI - a.GOVL) +
             (CF2 * (rounded::sin(4.0F * a.BOVL) + 2.0F * PI - 4.0F * a.BOVL) -
              CF3 * (cosb * cosb * cosb))) *
            CF1;
  a.PHALF = (DIAW / SP - UCUR) / 2.0F;
  a.PLEN = a.ACONT / (DIAW * 0.9F);
  return a;
}

void store_contact_area(Run& run, float SP, float UCUR) {
  run.w.area = contact_area(run.u.DIAW, SP, UCUR);
}

}  // namespace ostrevik::mechanics
