#include "input/fixed_column_source.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Where the values read under nine_fields() stand, named in their order from line `first_line`:
// field k (from 0) on line first_line + k / 9, columns 8 (k % 9) + 1 to 8 (k % 9) + 8.
void place_nine_fields(std::vector<PlacedField>& places, int first_line,
                       std::span<const std::string_view> names) {
  constexpr int kFields = 9;
  constexpr int kWidth = 8;
  int k = 0;
  for (const std::string_view name : names) {
    const int first_column = kWidth * (k % kFields) + 1;
    places.push_back({name, {first_line + k / kFields, first_column, first_column + kWidth - 1}});
    ++k;
  }
}

constexpr std::array<std::string_view, 18> kSpecimenNames{
    "ALFN", "DIAIN",  "ANGSEL", "APPSEL", "WSPPTM", "HEMPTY", "HDISC",  "D1",     "D2",
    "D3",   "CLRNCE", "VPI",    "DH",     "DH2",    "PARFPL", "PFIXDR", "PSPBDL", "RNREAD"};
constexpr std::array<std::string_view, 3> kSoilNames{"RNREAD", "GS", "WCINL"};
constexpr std::array<std::string_view, 9> kMouldNames{
    "DIAOUT", "HTLOWR", "XBARQT", "YBARQT", "HTMOLD", "WTMEMP", "WADDTM", "TMOMAV", "TMOMAH"};

RawConstants read_constants(codec::Source& data, std::string& expected) {
  RawConstants raw;
  RawFlags& f = raw.flags;
  expected = "record 1 of the constants block (PDATCH, PAROUT, PARREG, TYPFRA, PARLAT, POISNR)";
  codec::read(data, nine_fields(),
              {&f.PDATCH, &f.PAROUT, &f.PARREG, &f.TYPFRA, &f.PARLAT, &f.POISNR});
  RawFrame& c = raw.frame;
  expected = "records 2 and 3 of the constants block (the loading frame, WLP1 to CONRPB)";
  codec::read(
      data, nine_fields(),
      {&c.WLP1, &c.WLP2, &c.WBC, &c.DIASTB, &c.FRCOEF, &c.TLP1MN, &c.GRINL, &c.GRSLO, &c.DVPR,
       &c.WPR, &c.WHJ, &c.H2, &c.WDM, &c.TMOMDM, &c.CONDX, &c.CONDY, &c.CONYMP, &c.CONRPB});
  if (f.PARLAT > 0.0F) {
    RawLateralLoad& l = raw.lateral.emplace();
    expected = "record 4 of the constants block (the lateral load, DCLPSB to DSPBL2)";
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

// Records 5, 6, and 6a and 7 when announced, with where each value stands.
void read_specimen(codec::Source& data, RawTest& raw, const std::string& test,
                   std::string& expected) {
  RawSpecimen& s = raw.specimen;
  expected = "records 5 and 6 of test " + test + " (the specimen, ALFN to RNREAD)";
  place_nine_fields(raw.places, data.line_number() + 1, kSpecimenNames);
  codec::read(
      data, nine_fields(),
      {&s.ALFN, &s.DIAIN, &s.ANGSEL, &s.APPSEL, &s.WSPPTM, &s.HEMPTY, &s.HDISC, &s.D1, &s.D2, &s.D3,
       &s.CLRNCE, &s.VPI, &s.DH, &s.DH2, &s.PARFPL, &s.PFIXDR, &s.PSPBDL, &s.RNREAD});
  if (s.RNREAD > 40.0F) {
    RawSoil& soil = raw.soil.emplace();
    expected = "record 6a of test " + test + " (RNREAD, GS, WCINL)";
    place_nine_fields(raw.places, data.line_number() + 1, kSoilNames);
    codec::read(data, nine_fields(), {&soil.RNREAD, &soil.GS, &soil.WCINL});
  }
  // The count of readings is the last RNREAD read.
  for (auto field = raw.places.rbegin(); field != raw.places.rend(); ++field) {
    if (field->name == "RNREAD") {
      raw.places.push_back({"NREAD", field->place});
      break;
    }
  }
  if (s.PFIXDR == 2.0F || s.PFIXDR == 3.0F) {
    RawMould& m = raw.mould.emplace();
    expected = "record 7 of test " + test + " (the mould, DIAOUT to TMOMAH)";
    place_nine_fields(raw.places, data.line_number() + 1, kMouldNames);
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

void read_readings(codec::Source& data, RawTest& raw, const std::string& test,
                   std::string& expected) {
  static const codec::Layout kReading("(2F4.0,4F8.0,F7.0,I1,2F8.0,2F4.0)");
  const int count = readings_records_of(raw);
  raw.readings.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    expected = "readings record " + std::to_string(i) + " of test " + test;
    RawReading& r = raw.readings.emplace_back();
    codec::read(data, kReading,
                {&r.TIMHR, &r.TIMMN, &r.DXABS, &r.DY1ABS, &r.DTMLP2, &r.DRPB, &r.GRREAD, &r.IPARFL,
                 &r.SPBRD1, &r.HTFYKS, &r.DECLYK, &r.SPBRD2});
  }
}

bool begins_with_constants(float PFIXDR) {
  return PFIXDR == 1.0F || PFIXDR == 3.0F;
}

// The first line of the data holds nothing but blanks.
bool first_line_blank(const codec::Source& data) {
  codec::Source from_start = data;
  if (from_start.at_end()) return false;
  return from_start.next_record().find_first_not_of(" \t") == std::string_view::npos;
}

// A field with four letters in a row is text, such as a title, not a mistyped number.
bool looks_like_text(std::string_view field) {
  constexpr int kLetters = 4;
  int run = 0;
  for (const char c : field) {
    const auto byte = static_cast<unsigned char>(c);
    const bool letter =
        (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80;
    run = letter ? run + 1 : 0;
    if (run >= kLetters) return true;
  }
  return false;
}

// What the line of a read error looks like and what the program expected there, when that
// points at the cause: a blank first line shifts every record of the file by one.
std::string hint_of(const codec::FatalError& error, bool blank_first_line,
                    const std::string& expected) {
  if (blank_first_line) {
    return "line 1 is blank: a data file begins with its constants block, line 1 holding the "
           "flags PDATCH, PAROUT, PARREG, TYPFRA, PARLAT and POISNR in fields of 8 columns";
  }
  if (error.kind == codec::FatalKind::Conversion && looks_like_text(error.field)) {
    return "line " + std::to_string(error.line) + " looks like a title, where " + expected +
           " belongs";
  }
  return {};
}

}  // namespace

FixedColumnSource::FixedColumnSource(codec::Source& data)
    : data_(data), blank_first_line_(first_line_blank(data)) {}

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
  const bool first_test = tests_read_ == 0;
  std::string expected;  // the record being read, for the hint of a read error
  try {
    // A file whose every test brings its own constants block ends after its last test where
    // the next block would begin: the titles then meet the end, as in any other file. An
    // empty file is still an error: the first test has nothing to read.
    const bool later_test_at_end = tests_read_ > 0 && data_.at_end();
    if (constants_next_ && !later_test_at_end) {
      sourced.test.constants = read_constants(data_, expected);
    }
    if (!read_titles(sourced)) {
      sourced.ends_input = true;
      return sourced;
    }
    ++tests_read_;
    const std::string test = std::to_string(tests_read_);
    part = TestPart::Specimen;
    read_specimen(data_, sourced.test, test, expected);
    constants_next_ = begins_with_constants(sourced.test.specimen.PFIXDR);
    part = TestPart::Readings;
    read_readings(data_, sourced.test, test, expected);
  } catch (const codec::FatalError& error) {
    const std::string hint = hint_of(error, first_test && blank_first_line_, expected);
    sourced.error = hint.empty() ? std::current_exception()
                                 : std::make_exception_ptr(codec::FatalError(
                                       error.kind, error.unit, error.file, error.line,
                                       error.first_column, error.last_column, error.field, hint));
    sourced.error_part = part;
  }
  return sourced;
}

}  // namespace ostrevik::input
