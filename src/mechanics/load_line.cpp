#include "mechanics/load_line.h"

#include "mechanics/free_plane.h"
#include "mechanics/moment.h"
#include "mechanics/tension_check.h"

namespace ostrevik::mechanics {
namespace {

// Eccentricity of the vertical load line (cm), from the moments of the loads about the lower
// part.
float load_line_eccentricity(const Run& run, int I) {
  const Constants& c = run.c;
  const Setup& u = run.u;
  const Specimen& s = run.s;
  const float P = run.r.P(I);
  const float QLAT = run.o.QLAT(I);
  const float DX = run.r.DXABS(I);
  const float QX = u.SIN4 * QLAT;
  const float QY = u.COS4 * QLAT;
  const float PNET = P - (u.WDMLP2 + c.WBC);
  const float PFRIC = PNET * c.FRCOEF;
  const float XHALF = DX / 2.0F;
  const float YSHFT = XHALF / u.COTN;
  const float HBASE = (u.COTN * s.DIASP) / 2.0F + s.HTLOWR + c.TLP1MN + u.CLRH;
  const float HTOP = load_height(run, DX);
  const float HARM = HTOP + HBASE - XHALF;
  const float MW = YSHFT * c.WBC + (YSHFT + s.YBARQT + u.DIFDH) * run.r.WQNC(I) + YSHFT * u.W +
                   c.TMOMDM + u.SUMWY;
  const float MP = (YSHFT - u.DIFDH) * PNET;
  const float MF = HARM * PFRIC;
  const float MQ = ((s.XBARQT - XHALF) - u.COTN * u.DIFDIA / 2.0F + u.CLRH) * QY -
                   (YSHFT + s.YBARQT + u.DIFDH) * QX;
  return (MW + MP + MF + MQ) / (P - (c.WBC / 2.0F + u.WDMLP2)) - s.VPI;
}

// One variant: the moment with the load line meeting the lower part at the given lower-end
// length, then the tension check. Returns the edge-bending percentage.
float variant(Run& run, int I, int JJ, float piston, float lower_end, float second, float drarg,
              float S, bool form_b) {
  Work& w = run.w;
  if (form_b) {
    store_moment_form_b(run, I, piston, lower_end, second);
  } else {
    store_moment_form_a(run, I, w.DXC, w.DYC, lower_end, w.SINPSI, w.COSPSI);
  }
  check_tension(run, I, JJ, piston, drarg, S);
  return w.moment.DEVP;
}

}  // namespace

void evaluate_load_lines(Run& run, int I, float DT, float DR) {
  Work& w = run.w;
  Results& o = run.o;
  const float VPIW = run.u.VPIW;
  const float VPTI = run.c.VPTI;
  const float ELINE = load_line_eccentricity(run, I);
  const float VPLT = w.CREL * w.VCUR + (ELINE - w.BETRAD * w.LARM);
  const bool free_plane = has_free_plane(run);
  const bool form_b = w.NPARFL < 1 && free_plane;
  // The sine of the plane in use: the free plane's only where the test has one.
  const float S = free_plane ? w.SINAN : run.u.SINA;

  const float computed = w.DYC - (w.CREL * w.VCUR + ELINE + VPIW);
  o.DEVIBT(I) = variant(run, I, 4, VPIW, computed, VPLT, VPLT, S, form_b);
  const float rotated = w.DYC - (w.BETRAD * w.LARM + VPIW + ELINE);
  o.DEVRPT(I) = variant(run, I, 5, VPIW, rotated, ELINE, ELINE, S, form_b);
  o.DEVJNR(I) = variant(run, I, 6, VPIW, DR + DT, 0.0F, 0.0F, S, form_b);
  o.DEVVPI(I) = variant(run, I, 7, VPTI + VPIW, DR + DT - VPTI, 0.0F, 0.0F, S, form_b);
  run.cm.VPITT(I) = VPLT + run.s.VPI;
}

}  // namespace ostrevik::mechanics
