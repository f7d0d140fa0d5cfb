#include "mechanics/evaluation.h"

#include <cmath>

#include "mechanics/contact_area.h"
#include "mechanics/final_pass.h"
#include "mechanics/forces.h"
#include "mechanics/free_plane.h"
#include "mechanics/lateral_load.h"
#include "mechanics/load_line.h"
#include "mechanics/moment.h"
#include "mechanics/tension_check.h"
#include "model/elementary.h"
#include "model/outcome.h"

namespace ostrevik::mechanics {
namespace {

// Passes of the rotation iteration accepted for one reading.
constexpr int kMaxRotationPasses = 8;

// Resistance of the inclined frame (kg), which depends on its horizontal displacement DX (cm).
float inclined_frame_resistance(const Run& run, float DX) {
  const Constants& c = run.c;
  const float E = DX + run.s.D3;
  return (c.WPR + c.WHJ + c.WLP2 + c.WBC + c.WDM) *
         ((0.01425F * (E * E) + 12.05F * E + 517.46F) / (E + run.p.H2ACT + c.DIASTB)) / 17.03F;
}

// Evaluation with the measured displacements, as if the upper wedge did not rotate.
void evaluate_without_rotation(Run& run, int I, float DX, float DY, float DR) {
  Work& w = run.w;
  Results& o = run.o;
  const Setup& u = run.u;
  store_contact_area(run, u.SINA, w.UCUR);
  if (lateral_load_acts(run, I)) store_lateral_load_angles(run, I, DX, DY, w.BETRAD);
  store_forces_and_stresses(run, I, 1.0F, 0.0F, u.SINA, u.COSA, w.UCUR, w.VCUR, u.WDMLP2);
  o.TNNB(I) = u.CKPA * w.forces.SIGN;
  o.SSNB(I) = u.CKPA * w.forces.TAUN;
  o.SOVRNB(I) = w.forces.TAUN / w.forces.SIGN;
  o.ACNB(I) = w.area.ACONT;
  store_moment_form_a(run, I, DX, DY, DY - u.VPIW - DR, 1.0F, 0.0F);
  check_tension(run, I, 3, u.VPIW, DR, u.SINA);
  o.DEVNB(I) = w.moment.DEVP;
}

// Horizontal and vertical displacement from the current displacements along and normal to the
// plane.
void displacements_from_plane(Run& run) {
  Work& w = run.w;
  w.DXC = run.u.COSA * w.UCUR - run.u.SINA * w.VCUR;
  w.DYC = run.u.COSA * w.VCUR + run.u.SINA * w.UCUR;
}

// Fixed-point iteration on the displacements corrected for the rotation of the upper wedge.
// Throws IterationLimitExceeded when a ninth pass would be needed.
void iterate_rotation(Run& run, int I, float DT, float DR) {
  Work& w = run.w;
  PlaneCm& cm = run.cm;
  const Setup& u = run.u;
  int& INDEX = run.r.INDEX(I);
  INDEX = 0;
  for (;;) {
    displacements_from_plane(run);
    w.HLOAD = load_height(run, w.DXC);
    w.LARM = u.DOITRW + w.HLOAD - w.DXC / 2.0F;
    w.BETRAD = (w.DYC - DT - u.VPIW - DR) / w.LARM;
    const float YA = w.DYC / 2.0F + u.XLEN3;
    const float XB = u.XLEN2 - w.DXC / 2.0F;
    const float XA = XB - run.s.D1 + w.DXC;
    const float TH1 = std::abs(XA) == 0.0F ? PI / 2.0F : rounded::atan(YA / XA);
    const float R1 = YA / rounded::sin(TH1);
    const float TH2 =
        std::abs(XB) == 0.0F ? PI / 2.0F : rounded::atan((YA - run.s.D2 - w.DYC) / XB);
    const float R2 = XB / rounded::cos(TH2);
    const float GU = (rounded::cos(TH2) * w.BETRAD + rounded::sin(TH2)) * R2;
    const float GV = (rounded::cos(TH1) - rounded::sin(TH1) * w.BETRAD) * R1;
    cm.UBAR(I) = (GU * u.COSA + GV * u.SINA) * w.BETRAD + cm.U(I);
    cm.VBAR(I) = (GV * u.COSA - GU * u.SINA) * w.BETRAD + cm.V(I);
    INDEX = INDEX + 1;
    if (INDEX > kMaxRotationPasses) throw IterationLimitExceeded{};
    if (std::abs(w.VCUR - cm.VBAR(I)) + std::abs(w.UCUR - cm.UBAR(I)) - 0.01F <= 0.0F) break;
    w.UCUR = cm.UBAR(I);
    w.VCUR = cm.VBAR(I);
  }
  w.UCUR = cm.UBAR(I);
  w.VCUR = cm.VBAR(I);
}

// Readings with backward shear beyond 0.4 mm are counted for the warning at the end of the run.
void count_backward_shear(Run& run) {
  if (run.w.UCUR < -0.04F) run.o.NBACK = run.o.NBACK + 1;
}

// Evaluation with the displacements corrected for the rotation, on the mould's plane.
void evaluate_with_rotation(Run& run, int I, float DT, float DR) {
  Work& w = run.w;
  Results& o = run.o;
  const Setup& u = run.u;
  displacements_from_plane(run);
  w.BETRAD = (w.DYC - DT - u.VPIW - DR) / ((u.DOITRW + w.HLOAD) - w.DXC / 2.0F);
  const float PSI = PI / 2.0F + w.BETRAD;
  w.SINPSI = rounded::sin(PSI);
  w.COSPSI = rounded::cos(PSI);
  o.BETABC(I) = degrees(w.BETRAD);
  store_contact_area(run, u.SINA, w.UCUR);
  if (lateral_load_acts(run, I)) store_lateral_load_angles(run, I, w.DXC, w.DYC, w.BETRAD);
  store_forces_and_stresses(run, I, w.SINPSI, w.COSPSI, u.SINA, u.COSA, w.UCUR, w.VCUR, u.WDMLP2);
  store_moment_form_a(run, I, w.DXC, w.DYC, DT, w.SINPSI, w.COSPSI);
  check_tension(run, I, 1, u.VPIW, DR, u.SINA);
  o.TNSAVP(I) = u.CKPA * w.forces.SIGN;
  o.SSAVP(I) = u.CKPA * w.forces.TAUN;
  o.DEVIBA(I) = w.moment.DEVP;
  o.TMOMA(I) = u.GACC * w.moment.SMOM;
  w.HLOWT = u.DOITR2 + (w.HLOAD - w.DXC);
}

// The plane stays at the mould's inclination.
void keep_mould_plane(Run& run, int I) {
  Work& w = run.w;
  w.ALFNEW = run.u.ALFRAD;
  w.ALFREL = run.u.ALFRAD;
  w.CREL = run.u.COSA;
  run.o.ERUABS(I) = 0.0F;
}

// Results of the reading from its most recent evaluation, in report units.
void store_final_values(Run& run, int I) {
  const Work& w = run.w;
  Results& o = run.o;
  const Setup& u = run.u;
  o.TNSAVE(I) = u.CKPA * w.forces.SIGN;
  o.SS(I) = u.CKPA * w.forces.TAUN;
  o.SOVERN(I) = w.forces.TAUN / w.forces.SIGN;
  o.USTRN(I) = w.forces.USTR;
  o.VSTRN(I) = w.forces.VSTR;
  o.DEVIB(I) = w.moment.DEVP;
  // second moment of the rectangle of width 0.9·DIAW with the contact area
  const float RI = w.area.PLEN * w.area.PLEN * w.area.PLEN * (0.9F * u.DIAW) / 12.0F;
  o.PERSMA(I) = (RI - w.area.SECMW) * 100.0F / w.area.SECMW;
  o.GRDQC(I) = degrees(w.lateral.GRDQR);
  o.ANGLQ(I) = degrees(w.lateral.ANGQR);
  const float SB = (w.area.PLEN * w.moment.SMOM / 2.0F) / RI;
  o.DEVREC(I) = std::abs(SB) - w.forces.SIGN < 0.0F
                    ? SB * 100.0F / w.forces.SIGN
                    : w.moment.SMOM * 100.0F / std::abs(w.moment.SMOM);
  o.AC(I) = w.area.ACONT;
  o.SECMOM(I) = w.area.SECMW;
  o.TNSMAX(I) = u.CKPA * w.moment.SMAX;
  o.TNSMIN(I) = u.CKPA * w.moment.SMIN;
  o.TMOM(I) = u.GACC * w.moment.SMOM;
  o.XFC(I) = u.GACC * w.forces.XFRC;
  o.YFORCE(I) = u.GACC * w.forces.YFRC;
  o.GRSBAL(I) = degrees(w.lateral.GRSBR);
  o.DIFMOM(I) = o.TMOMA(I) - o.TMOM(I);
  o.ALPHAR(I) = degrees(w.ALFREL);
  o.ALPHA(I) = degrees(w.ALFNEW);
}

// Loads of the reading in N, piston penetration, and the count of flagged readings.
void finish_reading(Run& run, int I) {
  Results& o = run.o;
  const Readings& r = run.r;
  const Setup& u = run.u;
  o.P(I) = u.GACC * r.P(I);
  run.cm.VPIT(I) = u.VPIW + r.DRPB(I);
  if (r.IPARFL(I) != 0) run.w.NPARFL = run.w.NPARFL + 1;
  o.RMV(I) = run.c.PARINC > 0.0F ? u.GACC * o.RMR(I) : 0.0F;
  o.SLATLD(I) = u.GACC * o.QLAT(I);
  o.WQNC(I) = u.GACC * r.WQNC(I);
}

void clear_load_lines(Run& run, int I) {
  Results& o = run.o;
  o.DEVIBT(I) = 0.0F;
  o.DEVRPT(I) = 0.0F;
  o.DEVJNR(I) = 0.0F;
  o.DEVVPI(I) = 0.0F;
  run.cm.VPITT(I) = 0.0F;
}

void evaluate_reading(Run& run, int I) {
  Work& w = run.w;
  Results& o = run.o;
  const Setup& u = run.u;
  const float DX = run.r.DXABS(I);
  const float DY = run.r.DY1ABS(I);
  const float DT = run.r.DTMLP2(I);
  const float DR = run.r.DRPB(I);
  w.HLOAD = load_height(run, DX);
  o.RMR(I) = run.c.PARINC == 1.0F ? inclined_frame_resistance(run, DX) : u.RM;
  run.cm.U(I) = u.COSA * DX + u.SINA * DY;
  run.cm.V(I) = u.COSA * DY - u.SINA * DX;
  w.UCUR = run.cm.U(I);
  w.VCUR = run.cm.V(I);
  w.BETRAD = 0.0F;
  evaluate_without_rotation(run, I, DX, DY, DR);
  iterate_rotation(run, I, DT, DR);
  count_backward_shear(run);
  evaluate_with_rotation(run, I, DT, DR);
  if (has_free_plane(run)) {
    evaluate_on_free_plane(run, I, DT, DR);
  } else {
    keep_mould_plane(run, I);
  }
  store_final_values(run, I);
  if (run.c.PAROUT == 0.0F) {
    evaluate_load_lines(run, I, DT, DR);
  } else {
    clear_load_lines(run, I);
  }
  finish_reading(run, I);
}

}  // namespace

void evaluate_test(Run& run) {
  run.o.NEVAL = 0;
  run.o.NBACK = 0;
  for (int I = 1; I <= run.u.NREAD; ++I) {
    evaluate_reading(run, I);
    run.o.NEVAL = I;
  }
  finish_test(run);
}

}  // namespace ostrevik::mechanics
