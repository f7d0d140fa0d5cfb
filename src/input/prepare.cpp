#include "input/prepare.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "model/outcome.h"

namespace ostrevik::input {
namespace {

// The flags with their defaults.
void prepare_flags(Constants& c, const RawFlags& raw) {
  c.PDATCH = raw.PDATCH;
  c.PAROUT = raw.PAROUT;
  c.PARREG = raw.PARREG;
  c.TYPFRA = raw.TYPFRA;
  c.PARLAT = raw.PARLAT;
  c.POISNR = raw.POISNR;
  if (c.POISNR == 0.0F) c.POISNR = 0.3F;
  if (c.TYPFRA == 0.0F && c.PARLAT == 1.0F) c.TYPFRA = 2.0F;
  c.IPARRG = truncate_to_int(c.PARREG);
  c.DENSTL = 7.85F;
  c.DENSWD = 0.42F;
}

void copy_frame(Constants& c, const RawFrame& raw) {
  c.WLP1 = raw.WLP1;
  c.WLP2 = raw.WLP2;
  c.WBC = raw.WBC;
  c.DIASTB = raw.DIASTB;
  c.FRCOEF = raw.FRCOEF;
  c.TLP1MN = raw.TLP1MN;
  c.GRINL = raw.GRINL;
  c.GRSLO = raw.GRSLO;
  c.DVPR = raw.DVPR;
  c.WPR = raw.WPR;
  c.WHJ = raw.WHJ;
  c.H2 = raw.H2;
  c.WDM = raw.WDM;
  c.TMOMDM = raw.TMOMDM;
  c.CONDX = raw.CONDX;
  c.CONDY = raw.CONDY;
  c.CONYMP = raw.CONYMP;
  c.CONRPB = raw.CONRPB;
}

void copy_lateral_load(Constants& c, const RawLateralLoad& raw) {
  c.DCLPSB = raw.DCLPSB;
  c.HTFPSB = raw.HTFPSB;
  c.HTFSB = raw.HTFSB;
  c.LYOK = raw.LYOK;
  c.WYK = raw.WYK;
  c.ASPBL1 = raw.ASPBL1;
  c.DSPBL1 = raw.DSPBL1;
  c.ASPBL2 = raw.ASPBL2;
  c.DSPBL2 = raw.DSPBL2;
}

// Gauge constants left blank mean 0.001 cm a division; only an exact 0 is replaced.
void default_gauge(float& cond) {
  if (cond == 0.0F) cond = 0.001F;
}

void apply_frame_defaults(Constants& c) {
  if (c.DIASTB <= 0.0F) c.DIASTB = 1.2F;
  default_gauge(c.CONDX);
  default_gauge(c.CONDY);
  default_gauge(c.CONYMP);
  default_gauge(c.CONRPB);
  if (c.DVPR <= 0.0F) c.DVPR = 0.000254F;
  c.VPTI = 0.25F;
  // From here on PARINC carries the frame type and TYPFRA is never 2.
  c.PARINC = c.TYPFRA;
  if (c.TYPFRA == 2.0F) c.TYPFRA = 0.0F;
}

void copy_specimen(Specimen& s, const RawSpecimen& raw) {
  s.ALFN = raw.ALFN;
  s.DIAIN = raw.DIAIN;
  s.ANGSEL = raw.ANGSEL;
  s.APPSEL = raw.APPSEL;
  s.WSPPTM = raw.WSPPTM;
  s.HEMPTY = raw.HEMPTY;
  s.HDISC = raw.HDISC;
  s.D1 = raw.D1;
  s.D2 = raw.D2;
  s.D3 = raw.D3;
  s.CLRNCE = raw.CLRNCE;
  s.VPI = raw.VPI;
  s.DH = raw.DH;
  s.DH2 = raw.DH2;
  s.PARFPL = raw.PARFPL;
  s.PFIXDR = raw.PFIXDR;
  s.PSPBDL = raw.PSPBDL;
  s.RNREAD = raw.RNREAD;
}

void copy_mould(Specimen& s, const RawMould& m) {
  s.DIAOUT = m.DIAOUT;
  s.HTLOWR = m.HTLOWR;
  s.XBARQT = m.XBARQT;
  s.YBARQT = m.YBARQT;
  s.HTMOLD = m.HTMOLD;
  s.WTMEMP = m.WTMEMP;
  s.WADDTM = m.WADDTM;
  s.TMOMAV = m.TMOMAV;
  s.TMOMAH = m.TMOMAH;
}

// The standard mould sets in the order of their numbers.
constexpr std::array<RawMould, 6> kStandardMoulds{{
    {8.9F, 5.73F, -0.49F, 5.38F, 34.1F, 1.935F, 0.113F, 0.27F, 0.24F},
    {10.75F, 3.96F, 0.24F, 6.3F, 27.4F, 2.288F, 0.109F, 0.311F, 0.211F},
    {10.84F, 6.1F, -1.46F, 5.82F, 48.0F, 5.197F, 0.1F, 0.0F, 0.49F},
    {10.84F, 22.73F, -2.08F, 5.83F, 48.0F, 5.197F, 0.445F, 0.0F, 6.39F},
    {11.3F, 5.16F, -2.29F, 6.12F, 44.0F, 5.375F, 0.15F, 0.0F, 1.64F},
    {11.3F, 11.95F, -0.39F, 6.12F, 44.0F, 5.375F, 0.46F, 0.0F, 4.43F},
}};

// Tens of an angle as the mould sets count them: (angle + 2) / 10 truncated, kept as a real so
// that no angle can overflow an integer.
float angle_class(float angle) {
  return std::trunc((angle + 2.0F) / 10.0F);
}

// The set number chosen by the selection rules, or `previous` when none holds.
int standard_set_number(float alfn, float angsel, float appsel, int previous) {
  const float ia = angle_class(alfn);
  const float ib = angle_class(angsel);
  int set = previous;
  if (ia == 3.0F && ib == 0.0F) set = 1;
  if (ia == 4.0F && ib == 0.0F) set = 2;
  if (ia == 3.0F && ib == 4.0F) set = 3;
  if (ia == 4.0F && ib == 3.0F) set = 4;
  if (appsel == 1.0F && ia == 3.0F && ib == 3.0F) set = 5;
  if (appsel == 2.0F && ia == 3.0F && ib == 3.0F) set = 6;
  return set;
}

// Lateral load of reading i from the spring balances, and the yoke weight that comes with it.
// Without lateral-load constants in force (PARLAT = 0) no reading carries a lateral load,
// whatever balance constants an earlier block left.
void convert_lateral_load(Run& run, const RawReading& raw, int i) {
  const Constants& c = run.c;
  Readings& r = run.r;
  const float SPBF1 = c.DSPBL1 * raw.SPBRD1 + c.ASPBL1;  // spring balance 1, kg
  const float SPBF2 = c.DSPBL2 * raw.SPBRD2 + c.ASPBL2;  // spring balance 2, kg
  if (c.PARLAT == 0.0F) {
    r.QSPBAL(i) = 0.0F;
  } else if (run.s.PSPBDL == 1.0F) {
    r.QSPBAL(i) = (SPBF2 + SPBF1) * 2.23F;
  } else {
    r.QSPBAL(i) = SPBF1 * 2.0F * 2.23F;
  }
  if (r.QSPBAL(i) == 0.0F) {
    r.WQNC(i) = 0.0F;
    r.WQW = 0.0F;
    run.w.lateral.GRDQR = 0.0F;
    run.w.lateral.GRSBR = 0.0F;
    run.w.lateral.ANGQR = 0.0F;
  } else {
    r.WQNC(i) = c.WYK;
    r.WQW = c.WYK;
  }
}

// The gauges at reading 1, divisions: the zero of every displacement.
struct GaugeZeros {
  float DXZRO = 0;   // horizontal gauge
  float DYZRO = 0;   // vertical gauge
  float DTMZRO = 0;  // top-cap gauge
  float DRPZRO = 0;  // piston gauge
};

// Times, gauge displacements relative to reading 1 and the vertical load of reading i, whose
// hour `TIMHR` (h) is carried forward.
void convert_reading(Run& run, const RawReading& raw, float TIMHR, const GaugeZeros& zero, int i) {
  const Constants& c = run.c;
  Readings& r = run.r;
  convert_lateral_load(run, raw, i);
  r.IPARFL(i) = raw.IPARFL;
  r.HTFYKS(i) = raw.HTFYKS;
  r.DECLYK(i) = raw.DECLYK;
  r.INDEX(i) = 0;
  r.TIMACT(i) = raw.TIMMN / 100.0F + TIMHR;
  r.TCLOCK(i) = TIMHR * 60.0F + raw.TIMMN;
  r.T(i) = i == 1 ? 0.0F : r.TCLOCK(i) - r.TCLOCK(1);
  // the load the gauge shows, kg; the gauge reads up from zero when GRINL is 0
  float gauge_load = 0.0F;
  if (c.GRINL == 0.0F) {
    gauge_load = c.GRSLO * raw.GRREAD;
    run.p.H2ACT = c.H2 - c.DVPR * raw.GRREAD;
  } else {
    gauge_load = (c.GRINL - raw.GRREAD) * c.GRSLO;
  }
  r.DXABS(i) = (raw.DXABS - zero.DXZRO) * c.CONDX;
  r.DY1ABS(i) = (raw.DY1ABS - zero.DYZRO) * c.CONDY;
  r.P(i) = c.WBC + gauge_load + c.WLP1 + c.WLP2;
  r.DTMLP2(i) = (raw.DTMLP2 - zero.DTMZRO) * c.CONYMP - run.s.VPI;
  r.DRPB(i) = (zero.DRPZRO - raw.DRPB) * c.CONRPB;
}

}  // namespace

void prepare_constants(Run& run, const RawConstants& raw) {
  prepare_flags(run.c, raw.flags);
  copy_frame(run.c, raw.frame);
  run.p.H2ACT = run.c.H2;
  if (raw.lateral) copy_lateral_load(run.c, *raw.lateral);
  apply_frame_defaults(run.c);
}

void prepare_titles(Run& run, std::span<const TitleRecord> titles) {
  run.s.PARSOL = 0.0F;
  for (std::size_t k = 0; k < titles.size() && k < run.s.TITLES.size(); ++k) {
    run.s.TITLES.at(k) = titles[k];
  }
}

void prepare_specimen(Run& run, const RawTest& raw) {
  Specimen& s = run.s;
  copy_specimen(s, raw.specimen);
  s.DIASP = s.DIAIN;
  if (raw.soil) {
    s.RNREAD = raw.soil->RNREAD;
    s.GS = raw.soil->GS;
    s.WCINL = raw.soil->WCINL;
    s.PARSOL = 1.0F;
  }
  if (raw.mould) {
    copy_mould(s, *raw.mould);
  } else {
    select_standard_mould(run);
  }
}

void select_standard_mould(Run& run) {
  Specimen& s = run.s;
  run.p.ISET = standard_set_number(s.ALFN, s.ANGSEL, s.APPSEL, run.p.ISET);
  const int set = run.p.ISET >= 1 && run.p.ISET <= 6 ? run.p.ISET : 1;
  copy_mould(s, kStandardMoulds.at(static_cast<std::size_t>(set - 1)));
}

void check_reading_count(const Run& run) {
  const int nread = run.u.NREAD;
  if (nread < 2 || nread > MAXRD) {
    throw refuse_test(run.n.NTEST, "NREAD", nread, Rule::Between2And40);
  }
}

void prepare_readings(Run& run, std::span<const RawReading> readings) {
  check_reading_count(run);
  if (readings.size() != static_cast<std::size_t>(run.u.NREAD)) {
    throw std::invalid_argument("the readings of a test differ in number from its NREAD");
  }
  const RawReading& first = readings.front();
  const GaugeZeros zero{first.DXABS, first.DY1ABS, first.DTMLP2, first.DRPB};
  // A blank hour field (0) takes the hour of the reading before; the hour never decreases.
  float TIMHR = first.TIMHR;
  for (int i = 1; i <= run.u.NREAD; ++i) {
    const RawReading& raw = readings[static_cast<std::size_t>(i - 1)];
    TIMHR = raw.TIMHR < TIMHR ? TIMHR : raw.TIMHR;
    convert_reading(run, raw, TIMHR, zero, i);
  }
}

}  // namespace ostrevik::input
