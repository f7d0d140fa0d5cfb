#include "input/specimen_records.h"

#include <array>
#include <cmath>

#include "input/data_records.h"

namespace ostrevik::input {
namespace {

// The nine values of a standard mould: DIAOUT, HTLOWR, XBARQT, YBARQT, HTMOLD, WTMEMP, WADDTM,
// TMOMAV, TMOMAH.
using MouldSet = std::array<float, 9>;

constexpr std::array<MouldSet, 6> kStandardMoulds{{
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

}  // namespace

void read_specimen_records(Run& run, codec::Source& data) {
  Specimen& s = run.s;
  codec::read(
      data, nine_fields(),
      {&s.ALFN, &s.DIAIN, &s.ANGSEL, &s.APPSEL, &s.WSPPTM, &s.HEMPTY, &s.HDISC, &s.D1, &s.D2, &s.D3,
       &s.CLRNCE, &s.VPI, &s.DH, &s.DH2, &s.PARFPL, &s.PFIXDR, &s.PSPBDL, &s.RNREAD});
  s.DIASP = s.DIAIN;
  if (s.RNREAD > 40.0F) {
    codec::read(data, nine_fields(), {&s.RNREAD, &s.GS, &s.WCINL});
    s.PARSOL = 1.0F;
  }
  if (s.PFIXDR == 2.0F || s.PFIXDR == 3.0F) {
    codec::read(data, nine_fields(),
                {&s.DIAOUT, &s.HTLOWR, &s.XBARQT, &s.YBARQT, &s.HTMOLD, &s.WTMEMP, &s.WADDTM,
                 &s.TMOMAV, &s.TMOMAH});
  } else {
    select_standard_mould(run);
  }
}

void select_standard_mould(Run& run) {
  Specimen& s = run.s;
  run.p.ISET = standard_set_number(s.ALFN, s.ANGSEL, s.APPSEL, run.p.ISET);
  const int set = run.p.ISET >= 1 && run.p.ISET <= 6 ? run.p.ISET : 1;
  const MouldSet& m = kStandardMoulds.at(static_cast<std::size_t>(set - 1));
  s.DIAOUT = m[0];
  s.HTLOWR = m[1];
  s.XBARQT = m[2];
  s.YBARQT = m[3];
  s.HTMOLD = m[4];
  s.WTMEMP = m[5];
  s.WADDTM = m[6];
  s.TMOMAV = m[7];
  s.TMOMAH = m[8];
}

}  // namespace ostrevik::input
