#include "input/constants_block.h"

#include "input/data_records.h"

namespace ostrevik::input {
namespace {

// The flags record, with its defaults.
void read_flags(Run& run, codec::Source& data) {
  Constants& c = run.c;
  codec::read(data, nine_fields(),
              {&c.PDATCH, &c.PAROUT, &c.PARREG, &c.TYPFRA, &c.PARLAT, &c.POISNR});
  if (c.POISNR == 0.0F) c.POISNR = 0.3F;
  if (c.TYPFRA == 0.0F && c.PARLAT == 1.0F) c.TYPFRA = 2.0F;
  c.IPARRG = truncate_to_int(c.PARREG);
  c.DENSTL = 7.85F;
  c.DENSWD = 0.42F;
}

// The two loading-frame records; H2 also starts the working height.
void read_frame(Run& run, codec::Source& data) {
  Constants& c = run.c;
  codec::read(
      data, nine_fields(),
      {&c.WLP1, &c.WLP2, &c.WBC, &c.DIASTB, &c.FRCOEF, &c.TLP1MN, &c.GRINL, &c.GRSLO, &c.DVPR,
       &c.WPR, &c.WHJ, &c.H2, &c.WDM, &c.TMOMDM, &c.CONDX, &c.CONDY, &c.CONYMP, &c.CONRPB});
  run.p.H2ACT = c.H2;
}

void read_lateral_load(Run& run, codec::Source& data) {
  Constants& c = run.c;
  codec::read(data, nine_fields(),
              {&c.DCLPSB, &c.HTFPSB, &c.HTFSB, &c.LYOK, &c.WYK, &c.ASPBL1, &c.DSPBL1, &c.ASPBL2,
               &c.DSPBL2});
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

}  // namespace

void read_constants_block(Run& run, codec::Source& data) {
  read_flags(run, data);
  read_frame(run, data);
  if (run.c.PARLAT > 0.0F) read_lateral_load(run, data);
  apply_frame_defaults(run.c);
}

}  // namespace ostrevik::input
