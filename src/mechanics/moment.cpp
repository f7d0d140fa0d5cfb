#include "mechanics/moment.h"

#include <cmath>

#include "model/elementary.h"

namespace ostrevik::mechanics {
namespace {

// The moment with its edge stresses, common to both forms.
Moment with_edge_stresses(const Run& run, float SMOM) {
  const Work& w = run.w;
  Moment m;
  m.SMOM = SMOM;
  m.PMOM = std::abs(SMOM);
  m.BSTR = w.area.PHALF * SMOM / w.area.SECMW;
  m.DEVP = m.BSTR * 100.0F / w.forces.SIGN;
  m.SMAX = w.forces.SIGN + m.BSTR;
  m.SMIN = w.forces.SIGN - m.BSTR;
  return m;
}

}  // namespace

float load_height(const Run& run, float DX) {
  const float H2ACT = run.p.H2ACT;
  if (run.c.PARINC == 1.0F) return run.s.D3 + H2ACT + DX + run.c.DIASTB;
  return H2ACT + run.c.DIASTB;
}

Moment moment_form_a(const Run& run, int I, float L1, float L2, float L3, float C, float S) {
  const Work& w = run.w;
  const Setup& u = run.u;
  const float WBC = run.c.WBC;
  const float W = u.W;
  const float E = L2 - L3;
  const float HT = u.DOITRW + w.HLOAD;
  const float MQ = -(HT - u.XQTOFS) * w.forces.QLATY - ((u.YQTOFS + L2) - E) * w.forces.QLATX;
  const float SMOM = run.c.TMOMDM * C + ((L2 - E) * WBC / 2.0F) * C +
                     (HT - L1 / 2.0F) * w.forces.YFRC + (L2 / 2.0F - E) * w.forces.XFRC +
                     (u.Y1C + L2 - E) * W * C - (HT - u.X1C) * W * S -
                     (w.HLOAD * run.o.RMR(I)) * S + MQ;
  return with_edge_stresses(run, SMOM);
}

Moment moment_form_b(const Run& run, int I, float K1, float K2, float K3) {
  const Work& w = run.w;
  const Setup& u = run.u;
  const float WBC = run.c.WBC;
  const float W = u.W;
  const float E = w.DYC - K2;
  const float HF = w.FPLEN / 2.0F;
  const float XA1 = rounded::cos(w.BETRAD) * (w.HLOWT - HF * w.COSAN);
  const float XB1 = HF * w.SINREL - ((u.RADW1 - (K1 + K3)) - w.HLOWT * w.BETRAD);
  const float XC1 = u.HCOTW - HF * w.COSREL;
  const float XD1 = u.RADW2 - HF * w.SINREL;
  const float MQ =
      ((XB1 - XD1) - run.s.YBARQT) * w.forces.QLATX - ((XC1 + XA1) - run.s.XBARQT) * w.forces.QLATY;
  const float SMOM = w.SINPSI * run.c.TMOMDM + ((w.DYC - E) * WBC / 2.0F) * w.SINPSI +
                     w.forces.YFRC * XA1 - ((XB1 - XD1) - u.YTMOW) * W * w.SINPSI -
                     ((XC1 + XA1) - u.XTMOW) * W * w.COSPSI - w.forces.XFRC * XB1 -
                     (w.HLOAD * run.o.RMR(I)) * w.COSPSI + MQ;
  return with_edge_stresses(run, SMOM);
}

void store_moment_form_a(Run& run, int I, float L1, float L2, float L3, float C, float S) {
  run.w.moment = moment_form_a(run, I, L1, L2, L3, C, S);
}

void store_moment_form_b(Run& run, int I, float K1, float K2, float K3) {
  run.w.moment = moment_form_b(run, I, K1, K2, K3);
}

}  // namespace ostrevik::mechanics
