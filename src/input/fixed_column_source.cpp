#include "input/fixed_column_source.h"

#include <array>
#include <span>

#include "codec/errors.h"
#include "model/arrays.h"
#include "model/state.h"

namespace ostrevik::input {
namespace {

// "(9F8.0)": nine fields of eight columns, reverting to a new record after the ninth.
const codec::Layout& nine_fields() {
  static const codec::Layout kNineFields("(9F8.0)");
  return kNineFields;
}

RawConstants read_constants(codec::Source& data) {
  RawConstants raw;
  RawFlags& f = raw.flags;
  codec::read(data, nine_fields(),
              {&f.PDATCH, &f.PAROUT, &f.PARREG, &f.TYPFRA, &f.PARLAT, &f.POISNR});
  RawFrame& c = raw.frame;
  codec::read(
      data, nine_fields(),
      {&c.WLP1, &c.WLP2, &c.WBC, &c.DIASTB, &c.FRCOEF, &c.TLP1MN, &c.GRINL, &c.GRSLO, &c.DVPR,
       &c.WPR, &c.WHJ, &c.H2, &c.WDM, &c.TMOMDM, &c.CONDX, &c.CONDY, &c.CONYMP, &c.CONRPB});
  if (f.PARLAT > 0.0F) {
    RawLateralLoad& l = raw.lateral.emplace();
    codec::read(data, nine_fields(),
                {&l.DCLPSB, &l.HTFPSB, &l.HTFSB, &l.LYOK, &l.WYK, &l.ASPBL1, &l.DSPBL1, &l.ASPBL2,
                 &l.DSPBL2});
  }
  return raw;
}

// One title record read under "(20A4)".
void read_title(codec::Source& data, TitleRecord& title) {
  constexpr int kTitleItems = 20;  // four columns each: columns 1 to 80
  static const codec::Layout kTitle("(20A4)");
  std::array<codec::Target, kTitleItems> targets;
  for (int k = 0; k < kTitleItems; ++k) {
    targets.at(static_cast<std::size_t>(k)) =
        std::span<char>(title).subspan(static_cast<std::size_t>(4 * k), 4);
  }
  codec::read(data, kTitle, targets);
}

// Records 5, 6, and 6a and 7 when announced.
void read_specimen(codec::Source& data, RawTest& raw) {
  RawSpecimen& s = raw.specimen;
  codec::read(
      data, nine_fields(),
      {&s.ALFN, &s.DIAIN, &s.ANGSEL, &s.APPSEL, &s.WSPPTM, &s.HEMPTY, &s.HDISC, &s.D1, &s.D2, &s.D3,
       &s.CLRNCE, &s.VPI, &s.DH, &s.DH2, &s.PARFPL, &s.PFIXDR, &s.PSPBDL, &s.RNREAD});
  if (s.RNREAD > 40.0F) {
    RawSoil& soil = raw.soil.emplace();
    codec::read(data, nine_fields(), {&soil.RNREAD, &soil.GS, &soil.WCINL});
  }
  if (s.PFIXDR == 2.0F || s.PFIXDR == 3.0F) {
    RawMould& m = raw.mould.emplace();
    codec::read(data, nine_fields(),
                {&m.DIAOUT, &m.HTLOWR, &m.XBARQT, &m.YBARQT, &m.HTMOLD, &m.WTMEMP, &m.WADDTM,
                 &m.TMOMAV, &m.TMOMAH});
  }
}

// The number of readings records that follow: the count of the test, or none when the count
// lies outside 2..40 and the test is refused before its readings.
int readings_records_of(const RawTest& raw) {
  const int count = truncate_to_int(raw.soil ? raw.soil->RNREAD : raw.specimen.RNREAD);
  return count >= 2 && count <= MAXRD ? count : 0;
}

void read_readings(codec::Source& data, RawTest& raw) {
  static const codec::Layout kReading("(2F4.0,4F8.0,F7.0,I1,2F8.0,2F4.0)");
  const int count = readings_records_of(raw);
  raw.readings.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    RawReading& r = raw.readings.emplace_back();
    codec::read(data, kReading,
                {&r.TIMHR, &r.TIMMN, &r.DXABS, &r.DY1ABS, &r.DTMLP2, &r.DRPB, &r.GRREAD, &r.IPARFL,
                 &r.SPBRD1, &r.HTFYKS, &r.DECLYK, &r.SPBRD2});
  }
}

bool begins_with_constants(float PFIXDR) {
  return PFIXDR == 1.0F || PFIXDR == 3.0F;
}

}  // namespace

// Returns false when the data end at one of the titles.
bool FixedColumnSource::read_titles(SourcedTest& sourced) {
  sourced.titles_read = 0;
  for (TitleRecord& title : sourced.test.TITLES) {
    if (data_.at_end()) return false;
    read_title(data_, title);
    ++sourced.titles_read;
  }
  return true;
}

SourcedTest FixedColumnSource::next() {
  SourcedTest sourced;
  TestPart part = TestPart::Constants;
  try {
    // A file whose every test brings its own constants block ends after its last test where
    // the next block would begin: the titles then meet the end, as in any other file. An
    // empty file is still an error: the first test has nothing to read.
    const bool later_test_at_end = tests_read_ > 0 && data_.at_end();
    if (constants_next_ && !later_test_at_end) sourced.test.constants = read_constants(data_);
    if (!read_titles(sourced)) {
      sourced.ends_input = true;
      return sourced;
    }
    ++tests_read_;
    part = TestPart::Specimen;
    read_specimen(data_, sourced.test);
    constants_next_ = begins_with_constants(sourced.test.specimen.PFIXDR);
    part = TestPart::Readings;
    read_readings(data_, sourced.test);
  } catch (const codec::FatalError&) {
    sourced.error = std::current_exception();
    sourced.error_part = part;
  }
  return sourced;
}

}  // namespace ostrevik::input
