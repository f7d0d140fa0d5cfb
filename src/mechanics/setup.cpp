#include "mechanics/setup.h"

#include <cmath>

#include "model/elementary.h"
#include "model/outcome.h"

namespace ostrevik::mechanics {
namespace {

// Soil mass, volume and density, and with the soil record the dry density, saturation and
// void ratio.
void set_up_soil(Run& run, int test) {
  const Specimen& s = run.s;
  Setup& u = run.u;
  const float disc = s.DIAIN - 0.15F;
  u.WD = disc * disc * PI * s.HDISC * run.c.DENSWD / 4000.0F;
  u.WSOLG = (s.WSPPTM - s.WTMEMP - u.WD) * 1000.0F;
  u.VOLSOL = (s.HTMOLD - s.HEMPTY - s.HDISC) * (s.DIAIN * s.DIAIN * PI / 4.0F);
  if (!(u.VOLSOL > 0.0F)) throw refuse_test(test, "VOLSOL", u.VOLSOL, Rule::Positive);
  u.DENSOL = u.WSOLG / u.VOLSOL;
  if (s.PARSOL != 1.0F) return;
  const float wet_to_dry = s.WCINL + 1.0F;
  if (wet_to_dry == 0.0F) throw refuse_test(test, "WCINL", s.WCINL, Rule::NotMinusOne);
  const float divisor = wet_to_dry * s.GS - u.DENSOL;
  if (divisor == 0.0F) {
    throw refuse_test(test, "DENSOL", u.DENSOL, Rule::NotWetDensityOfGrains);
  }
  u.DDENSL = u.DENSOL / wet_to_dry;
  u.SATINL = u.DENSOL * s.WCINL * s.GS / divisor;
  if (u.SATINL == 0.0F) throw refuse_test(test, "SATINL", u.SATINL, Rule::NonZero);
  u.VOIDR = s.WCINL * s.GS / u.SATINL;
}

// atan(DIASP / denominator) for a shear plane that must lie strictly between 0 and 90 degrees.
float plane_angle(float diasp, float denominator, int test) {
  if (denominator == 0.0F) throw refuse_test(test, "ALFA", 90.0F, Rule::Between0And90);
  const float alfrad = rounded::atan(diasp / denominator);
  if (!(alfrad > 0.0F)) throw refuse_test(test, "ALFA", degrees(alfrad), Rule::Between0And90);
  return alfrad;
}

// The five geometries of the shear plane: its inclination ALFRAD, the height HTLOWS of the
// soil above the mould and the offset XSHIFT.
void set_up_shear_plane(Run& run, int test) {
  const Specimen& s = run.s;
  Setup& u = run.u;
  u.DHPLAN = s.DH;
  if (s.PARFPL == 1.0F) {
    u.HTLOWS = s.HTLOWR - s.HDISC;
    u.ALFRAD = plane_angle(s.DIASP, u.COTN * s.DIASP + u.CLRS, test);
    u.XSHIFT = u.CLRH - u.COTN * u.DIFDIA / 2.0F;
  } else if (s.DH2 > 0.0F) {
    // DH differs at the two ends of the soil wedge; the report shows it as 88.
    u.DH1 = s.DH;
    u.DHPLAN = 88.0F;
    u.XWALL = u.COTN * u.TWALL;
    u.HTLOWS = s.HTLOWR - s.HDISC + u.CLRS + s.DH2 - u.XWALL;
    u.ALFRAD = plane_angle(s.DIASP, u.COTN * s.DIASP - (s.DH2 + u.DH1 - u.XWALL), test);
    u.XSHIFT = (s.DH2 - u.XWALL - u.DH1) / 2.0F + u.CLRS;
  } else if (s.DH < 0.0F) {
    u.HTLOWS = s.HTLOWR - s.HDISC;
    u.ALFRAD = plane_angle(s.DIASP, (u.DIFDIA + s.DIASP) * u.COTN + u.CLRS + s.DH, test);
    u.XSHIFT = s.DH / 2.0F + u.CLRH;
  } else if (s.DH == 0.0F) {
    u.HTLOWS = s.HTLOWR - s.HDISC + u.CLRH;
    u.ALFRAD = u.ALFNR;
    u.XSHIFT = u.CLRH - u.COTN * u.DIFDIA / 2.0F;
  } else {
    u.HTLOWS = s.HTLOWR - s.HDISC + s.DH;
    u.ALFRAD = plane_angle(s.DIASP, u.COTN * s.DIASP + u.CLRS - s.DH, test);
    u.XSHIFT = s.DH / 2.0F + u.CLRH - u.COTN * u.DIFDIA / 2.0F;
  }
}

// The top mould, a steel ring cut at the mould angle: mass and centre of gravity.
void set_up_top_mould(Run& run, int test) {
  const Specimen& s = run.s;
  Setup& u = run.u;
  const float height = u.HCOTD + s.HTLOWR;
  if (height == 0.0F) throw refuse_test(test, "HTLOWR", s.HTLOWR, Rule::NotMinusHcotd);
  u.WTM = (u.DOUTSQ - u.DINSQ) * height * run.c.DENSTL * PI / 4000.0F;
  u.YBARTM = (u.DINSQ + u.DOUTSQ) * u.COTN / (height * 16.0F);
  u.XBARTM =
      (3.0F * (u.COTN * u.COTN) * (u.DINSQ + u.DOUTSQ) +
       8.0F * (2.0F * u.HCOTD + s.HTLOWR) * (2.0F * s.HTLOWR - (s.DIAOUT - s.DIAIN) * u.COTN)) /
      (32.0F * height);
}

// The soil wedge above the shear plane: mass and centre of gravity.
void set_up_soil_wedge(Run& run, int test) {
  Setup& u = run.u;
  const float height = u.HCOTA + u.HTLOWS;
  if (height == 0.0F) throw refuse_test(test, "HTLOWS", u.HTLOWS, Rule::NotMinusHcota);
  u.WS = height * u.DENSOL * PI * u.DSPSQ / 4000.0F;
  u.YBARS = u.DSPSQ * u.COTA / (height * 16.0F);
  u.XBARS = (3.0F * (u.COTA * u.COTA) * u.DSPSQ + 16.0F * (2.0F * u.HCOTA + u.HTLOWS) * u.HTLOWS) /
            (32.0F * height);
}

}  // namespace

void compute_frame_masses(Run& run) {
  Constants& c = run.c;
  c.RMLC = (c.WPR + 1.46F + c.WLP2 + c.WBC + c.WDM) * 4.93F / 7.67F;
  c.RMPR = (c.WPR + 2.91F + c.WLP2 + c.WBC + c.WDM) * 5.69F / 9.5F;
}

void set_up_geometry(Run& run, int test) {
  const Constants& c = run.c;
  const Specimen& s = run.s;
  Setup& u = run.u;
  if (!(s.ALFN > 0.0F && s.ALFN < 90.0F))
    throw refuse_test(test, "ALFN", s.ALFN, Rule::Between0And90);
  if (!(s.DIAIN > 0.0F)) throw refuse_test(test, "DIAIN", s.DIAIN, Rule::Positive);

  set_up_soil(run, test);

  u.CKPA = CKPA_VALUE;
  u.GACC = GACC_VALUE;
  u.SIN4 = rounded::sin(PI * 4.0F / 180.0F);
  u.COS4 = rounded::cos(PI * 4.0F / 180.0F);
  u.WDMLP2 = c.WDM + c.WLP2;

  u.ALFNR = PI * s.ALFN / 180.0F;
  u.SINN = rounded::sin(u.ALFNR);
  if (u.SINN == 0.0F) throw refuse_test(test, "SINN", u.SINN, Rule::NonZero);
  u.COTN = 1.0F / rounded::tan(u.ALFNR);
  u.CLRS = s.CLRNCE / u.SINN;
  u.CLRH = u.CLRS / 2.0F;
  if (!(s.DIAOUT > 0.0F)) throw refuse_test(test, "DIAOUT", s.DIAOUT, Rule::Positive);
  // A wall of no thickness would give the mould a negative mass.
  if (!(s.DIAIN < s.DIAOUT)) {
    throw refuse_test(test, "DIAIN", s.DIAIN, Rule::BelowDiaout);
  }
  u.TWALL = (s.DIAOUT - s.DIAIN) / 2.0F;
  u.DIFDIA = s.DIAIN - s.DIASP;

  set_up_shear_plane(run, test);

  u.DIFDH = u.DIFDIA / 2.0F;
  u.DINSQ = s.DIAIN * s.DIAIN;
  u.DOUTSQ = s.DIAOUT * s.DIAOUT;
  u.HCOTD = u.COTN * s.DIAIN / 2.0F;
  u.SINA = rounded::sin(u.ALFRAD);
  u.COSA = rounded::cos(u.ALFRAD);
  u.COTA = 1.0F / rounded::tan(u.ALFRAD);
  u.ALFA = degrees(u.ALFRAD);
  u.ALFNDG = degrees(u.ALFNR);
  const float DMAJOR = s.DIASP / u.SINA;  // major axis of the plane's section
  const float DCOSA = u.COSA * DMAJOR;

  if (c.PARLAT > 0.0F) {
    u.XQTOFS = u.XSHIFT + s.XBARQT;
    u.YQTOFS = u.DIFDH + s.YBARQT;
    u.HQTLAT = c.H2 + c.HTFSB + s.D3 + c.DIASTB + c.TLP1MN + s.HTLOWR + u.HCOTD - s.XBARQT;
  }

  set_up_top_mould(run, test);
  u.HCOTA = u.COTA * s.DIASP / 2.0F;
  u.DSPSQ = s.DIASP * s.DIASP;
  u.WTMC = s.WADDTM + u.WTM;
  if (u.WTMC == 0.0F) throw refuse_test(test, "WTMC", u.WTMC, Rule::NonZero);
  u.XBRTMC = (u.XBARTM * u.WTM + s.TMOMAH) / u.WTMC;
  u.YBRTMC = (u.YBARTM * u.WTM + s.TMOMAV) / u.WTMC;

  set_up_soil_wedge(run, test);
  u.SW = u.WTM + u.WS + u.WD + c.WDM + s.WADDTM;
  u.DOITRM = DCOSA / 2.0F + u.HTLOWS + s.HDISC + c.TLP1MN;
  u.DOITR2 = DCOSA / 2.0F + u.DOITRM + u.CLRH;
  u.RM = run.p.H2ACT > 16.0F ? c.RMPR : c.RMLC;
}

void set_up_moving_assembly(Run& run, int test) {
  const Constants& c = run.c;
  const Specimen& s = run.s;
  Setup& u = run.u;
  // From here on the top mould counts with its additions.
  u.W = u.WTMC + u.WS + u.WD + c.WLP1;
  if (u.W == 0.0F) throw refuse_test(test, "W", u.W, Rule::NonZero);
  u.SUMWY = u.YBARS * u.WS + u.YBRTMC * u.WTMC + (u.WD + u.WTMC + c.WLP1) * u.DIFDH;
  u.Y1C = u.SUMWY / u.W;
  u.YTMO1 = u.Y1C - u.DIFDH;
  u.YTMOW = u.YTMO1;
  u.X1C = (u.XBARS * u.WS + (u.XSHIFT + u.XBRTMC) * u.WTMC +
           (u.DOITRM - c.TLP1MN - s.HDISC / 2.0F) * u.WD + (u.DOITRM - c.TLP1MN / 2.0F) * c.WLP1) /
          u.W;
  u.XTMO1 = u.X1C - u.XSHIFT;
  u.XTMOW = u.XTMO1;
}

void set_up_working_values(Run& run) {
  const Constants& c = run.c;
  const Specimen& s = run.s;
  Setup& u = run.u;
  run.w.N1ACAL = 0;
  run.w.NPARFL = 0;
  run.o.NT1A = 0;
  u.DIAW = s.DIAIN;
  u.DOITRW = u.DOITRM;
  const float HTDS = s.HDISC + u.HTLOWS;
  u.VPIW = s.VPI;
  u.FRCW = c.FRCOEF;
  u.XLEN1 = s.CLRNCE / u.SINN + u.COTN * u.DIAW;
  u.XLEN2 = u.COTA * u.DIAW / 2.0F + HTDS;
  u.XLEN3 = u.DIAW / 2.0F + u.TWALL;
  u.RADW1 = u.DIAW / 2.0F;
  u.RADW2 = u.DIAW / 2.0F;
  u.HCOTW = u.DIAW / (2.0F / u.COTN);
  u.NREAD = truncate_to_int(s.RNREAD);
}

}  // namespace ostrevik::mechanics
