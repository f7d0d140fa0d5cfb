#include "mechanics/free_plane.h"

#include <cmath>

#include "mechanics/contact_area.h"
#include "mechanics/forces.h"
#include "mechanics/lateral_load.h"
#include "mechanics/moment.h"
#include "mechanics/tension_check.h"
#include "model/elementary.h"

namespace ostrevik::mechanics {
namespace {

// Inclination and trace length of the plane through the displaced and rotated upper part.
void recompute_plane(Run& run) {
  Work& w = run.w;
  const float FPX = (run.u.XLEN1 - w.DXC) / 2.0F;
  const float FPY = -((run.u.RADW1 * 2.0F - w.DYC) / 2.0F);
  const float FPANG = rounded::atan(-FPY / FPX);
  const float FPR = -FPY / rounded::sin(FPANG);
  const float FPH = w.BETRAD * FPR * rounded::cos(FPANG) - FPY * 2.0F;
  w.ALFNEW = rounded::atan(FPH / (FPX * 2.0F - w.BETRAD * FPR * rounded::sin(FPANG)));
  w.ALFREL = w.ALFNEW - w.BETRAD;
  w.COSREL = rounded::cos(w.ALFREL);
  w.SINREL = rounded::sin(w.ALFREL);
  w.SINAN = rounded::sin(w.ALFNEW);
  w.COSAN = rounded::cos(w.ALFNEW);
  w.FPLEN = FPH / w.SINAN;
  w.CREL = w.COSREL;
}

}  // namespace

bool has_free_plane(const Run& run) {
  return run.u.DHPLAN == 0.0F && run.s.PARFPL != 0.0F;
}

void evaluate_on_free_plane(Run& run, int I, float DT, float DR) {
  Work& w = run.w;
  const bool frozen = w.NPARFL >= 1;
  if (!frozen) recompute_plane(run);
  w.UCUR = frozen ? run.cm.UBAR(I) : run.u.DIAW / w.SINAN - w.FPLEN;
  w.VCUR = w.COSAN * w.DYC - w.SINAN * w.DXC;
  run.o.ERUABS(I) = (w.UCUR - run.cm.UBAR(I)) * 10.0F;
  store_contact_area(run, w.SINAN, w.UCUR);
  if (lateral_load_acts(run, I)) store_lateral_load_angles(run, I, w.DXC, w.DYC, w.BETRAD);
  store_forces_and_stresses(run, I, w.SINPSI, w.COSPSI, w.SINREL, w.COSREL, w.UCUR, w.VCUR,
                            run.u.WDMLP2);
  if (frozen) {
    store_moment_form_a(run, I, w.DXC, w.DYC, DT, w.SINPSI, w.COSPSI);
  } else {
    store_moment_form_b(run, I, run.u.VPIW, DT, DR);
  }
  check_tension(run, I, 2, run.u.VPIW, DR, w.SINAN);
}

}  // namespace ostrevik::mechanics
