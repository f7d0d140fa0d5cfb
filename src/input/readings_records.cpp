#include "input/readings_records.h"

#include "model/outcome.h"

namespace ostrevik::input {
namespace {

// One readings record into element i of the reading arrays.
void read_record(Readings& r, int i, codec::Source& data) {
  static const codec::Layout kReading("(2F4.0,4F8.0,F7.0,I1,2F8.0,2F4.0)");
  codec::read(data, kReading,
              {&r.TIMHR(i), &r.TIMMN(i), &r.DXABS(i), &r.DY1ABS(i), &r.DTMLP2(i), &r.DRPB(i),
               &r.GRREAD(i), &r.IPARFL(i), &r.SPBRD1(i), &r.HTFYKS(i), &r.DECLYK(i), &r.SPBRD2(i)});
}

// A blank hour field (0) takes the hour of the reading before; the hour never decreases.
void carry_hours_forward(Readings& r, int nread) {
  for (int i = 2; i <= nread; ++i) {
    if (r.TIMHR(i) < r.TIMHR(i - 1)) r.TIMHR(i) = r.TIMHR(i - 1);
  }
}

// Lateral load of reading i from the spring balances, and the yoke weight that comes with it.
// Without lateral-load constants in force (PARLAT = 0) no reading carries a lateral load,
// whatever balance constants an earlier block left.
void convert_lateral_load(Run& run, int i) {
  const Constants& c = run.c;
  Readings& r = run.r;
  r.SPBF1 = c.DSPBL1 * r.SPBRD1(i) + c.ASPBL1;
  r.SPBF2 = c.DSPBL2 * r.SPBRD2(i) + c.ASPBL2;
  if (c.PARLAT == 0.0F) {
    r.QSPBAL(i) = 0.0F;
  } else if (run.s.PSPBDL == 1.0F) {
    r.QSPBAL(i) = (r.SPBF2 + r.SPBF1) * 2.23F;
  } else {
    r.QSPBAL(i) = r.SPBF1 * 2.0F * 2.23F;
  }
  if (r.QSPBAL(i) == 0.0F) {
    r.WQNC(i) = 0.0F;
    r.WQW = 0.0F;
    run.w.GRDQR = 0.0F;
    run.w.GRSBR = 0.0F;
    run.w.ANGQR = 0.0F;
  } else {
    r.WQNC(i) = c.WYK;
    r.WQW = c.WYK;
  }
}

// Times, gauge displacements relative to reading 1 and the vertical load of reading i.
void convert_reading(Run& run, int i) {
  const Constants& c = run.c;
  Readings& r = run.r;
  convert_lateral_load(run, i);
  r.INDEX(i) = 0;
  r.TIMACT(i) = r.TIMMN(i) / 100.0F + r.TIMHR(i);
  r.TCLOCK(i) = r.TIMHR(i) * 60.0F + r.TIMMN(i);
  if (i == 1) {
    r.T(1) = 0.0F;
    r.DTMZRO = r.DTMLP2(1);
    r.DRPZRO = r.DRPB(1);
    r.DXZRO = r.DXABS(1);
    r.DYZRO = r.DY1ABS(1);
  } else {
    r.T(i) = r.TCLOCK(i) - r.TCLOCK(1);
  }
  if (c.GRINL == 0.0F) {
    r.P(i) = c.GRSLO * r.GRREAD(i);
    run.p.H2ACT = c.H2 - c.DVPR * r.GRREAD(i);
  } else {
    r.P(i) = (c.GRINL - r.GRREAD(i)) * c.GRSLO;
  }
  r.DXABS(i) = (r.DXABS(i) - r.DXZRO) * c.CONDX;
  r.DY1ABS(i) = (r.DY1ABS(i) - r.DYZRO) * c.CONDY;
  r.P(i) = c.WBC + r.P(i) + c.WLP1 + c.WLP2;
  r.DTMLP2(i) = (r.DTMLP2(i) - r.DTMZRO) * c.CONYMP - run.s.VPI;
  r.DRPB(i) = (r.DRPZRO - r.DRPB(i)) * c.CONRPB;
}

}  // namespace

void read_readings(Run& run, codec::Source& data) {
  const int nread = run.u.NREAD;
  if (nread < 2 || nread > MAXRD) {
    throw refuse_test(run.n.NTEST, "NREAD", nread, Rule::Between2And40);
  }
  for (int i = 1; i <= nread; ++i) read_record(run.r, i, data);
  carry_hours_forward(run.r, nread);
  for (int i = 1; i <= nread; ++i) convert_reading(run, i);
}

}  // namespace ostrevik::input
