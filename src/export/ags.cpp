#include "export/ags.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "codec/cp857.h"

namespace ostrevik::exports {
namespace {

// One heading of a group. A heading the standard dictionary lacks carries its description for
// the DICT group.
struct Heading {
  std::string_view name;               // "SHBT_PEAK"
  std::string_view unit;               // "kPa"; "" for none
  std::string_view type;               // "1DP", "X", "PA", ...
  std::string_view user_defined = {};  // DICT_DESC of a heading of our own; "" for a standard one
  bool key = false;                    // a key field (only told for our own headings)
};

using Row = std::vector<std::string>;  // the values of a DATA row, one per heading, unquoted

struct Group {
  std::string_view name;
  std::span<const Heading> headings;
  std::vector<Row> rows;
  std::string_view user_defined = {};  // DICT_DESC of a group of our own
  std::string_view parent = {};        // its parent group
};

// The key fields of a sample and a specimen, as every group below SAMP begins with them.
constexpr Heading kLocaId{"LOCA_ID", "", "ID"};
constexpr Heading kSampTop{"SAMP_TOP", "m", "2DP"};
constexpr Heading kSampRef{"SAMP_REF", "", "X"};
constexpr Heading kSampType{"SAMP_TYPE", "", "PA"};
constexpr Heading kSampId{"SAMP_ID", "", "ID"};
constexpr Heading kSpecRef{"SPEC_REF", "", "X"};
constexpr Heading kSpecDpth{"SPEC_DPTH", "m", "2DP"};

constexpr std::array kProj{
    Heading{"PROJ_ID", "", "ID"},  Heading{"PROJ_NAME", "", "X"}, Heading{"PROJ_LOC", "", "X"},
    Heading{"PROJ_CLNT", "", "X"}, Heading{"PROJ_CONT", "", "X"}, Heading{"PROJ_ENG", "", "X"},
};
constexpr std::array kTran{
    Heading{"TRAN_ISNO", "", "X"}, Heading{"TRAN_DATE", "yyyy-mm-dd", "DT"},
    Heading{"TRAN_PROD", "", "X"}, Heading{"TRAN_STAT", "", "X"},
    Heading{"TRAN_DESC", "", "X"}, Heading{"TRAN_AGS", "", "X"},
    Heading{"TRAN_RECV", "", "X"}, Heading{"TRAN_DLIM", "", "X"},
    Heading{"TRAN_RCON", "", "X"}, Heading{"TRAN_REM", "", "X"},
};
constexpr std::array kUnit{Heading{"UNIT_UNIT", "", "X"}, Heading{"UNIT_DESC", "", "X"}};
constexpr std::array kType{Heading{"TYPE_TYPE", "", "X"}, Heading{"TYPE_DESC", "", "X"}};
constexpr std::array kAbbr{Heading{"ABBR_HDNG", "", "X"}, Heading{"ABBR_CODE", "", "X"},
                           Heading{"ABBR_DESC", "", "X"}, Heading{"ABBR_LIST", "", "X"}};
constexpr std::array kDict{
    Heading{"DICT_TYPE", "", "PA"}, Heading{"DICT_GRP", "", "X"},   Heading{"DICT_HDNG", "", "X"},
    Heading{"DICT_STAT", "", "PA"}, Heading{"DICT_DTYP", "", "PT"}, Heading{"DICT_DESC", "", "X"},
    Heading{"DICT_UNIT", "", "PU"}, Heading{"DICT_PGRP", "", "X"},
};
constexpr std::array kLoca{
    kLocaId,
    Heading{"LOCA_TYPE", "", "PA"},
    Heading{"LOCA_NATE", "m", "2DP"},
    Heading{"LOCA_NATN", "m", "2DP"},
    Heading{"LOCA_GL", "m", "2DP"},
};
constexpr std::array kSamp{
    kLocaId,
    kSampTop,
    kSampRef,
    kSampType,
    kSampId,
    Heading{"SAMP_BASE", "m", "2DP"},
    Heading{"SAMP_DESC", "", "X"},
};
constexpr std::array kShbg{
    kLocaId,
    kSampTop,
    kSampRef,
    kSampType,
    kSampId,
    kSpecRef,
    kSpecDpth,
    Heading{"SPEC_DESC", "", "X"},
    Heading{"SPEC_PREP", "", "X"},
    Heading{"SHBG_TYPE", "", "PA"},
    Heading{"SHBG_PCOH", "kPa", "2SF"},
    Heading{"SHBG_PHI", "deg", "1DP"},
    Heading{"SHBG_REM", "", "X"},
    Heading{"SHBG_METH", "", "X"},
    Heading{"SHBG_LAB", "", "X"},
    Heading{"SHBG_ECOH", "kPa", "2SF", "Cohesion intercept of the envelope at the end of test"},
    Heading{"SHBG_EPHI", "deg", "1DP", "Angle of friction of the envelope at the end of test"},
};
constexpr std::array kShbt{
    kLocaId,
    kSampTop,
    kSampRef,
    kSampType,
    kSampId,
    kSpecRef,
    kSpecDpth,
    Heading{"SHBT_TESN", "", "X"},
    Heading{"SHBT_BDEN", "Mg/m3", "2DP"},
    Heading{"SHBT_DDEN", "Mg/m3", "2DP"},
    Heading{"SHBT_DISP", "mm/min", "2SF"},
    Heading{"SHBT_PEAK", "kPa", "1DP"},
    Heading{"SHBT_PDIS", "mm", "2DP"},
    Heading{"SHBT_PDIN", "mm", "2DP"},
    Heading{"SHBT_PDEN", "Mg/m3", "XN"},
    Heading{"SHBT_IVR", "", "3DP"},
    Heading{"SHBT_MCI", "%", "X"},
    Heading{"SHBT_HGT", "mm", "2DP"},
    Heading{"SHBT_CRIT", "", "X"},
    Heading{"SHBT_REM", "", "X"},
    Heading{"SHBT_PVST", "kPa", "0DP"},
    Heading{"SHBT_ENRM", "kPa", "1DP", "Normal stress on the shear plane at the end of test"},
    Heading{"SHBT_ESHR", "kPa", "1DP", "Shear stress on the shear plane at the end of test"},
    Heading{"SHBT_EDIS", "mm", "2DP", "Displacement along the shear plane at the end of test"},
    Heading{"SHBT_EDIN", "mm", "2DP", "Displacement normal to the shear plane at the end of test"},
    Heading{"SHBT_DIAM", "mm", "2DP", "Specimen diameter (cylindrical specimen)"},
    Heading{"SHBT_DATE", "yyyy-mm-dd", "DT", "Date of test"},
};
constexpr std::array kShbd{
    Heading{"LOCA_ID", "", "ID", "Location identifier", true},
    Heading{"SAMP_TOP", "m", "2DP", "Depth to top of sample", true},
    Heading{"SAMP_REF", "", "X", "Sample reference", true},
    Heading{"SAMP_TYPE", "", "PA", "Sample type", true},
    Heading{"SAMP_ID", "", "ID", "Sample unique identifier", true},
    Heading{"SPEC_REF", "", "X", "Specimen reference", true},
    Heading{"SPEC_DPTH", "m", "2DP", "Depth to top of test specimen", true},
    Heading{"SHBT_TESN", "", "X", "Shear box stage/specimen reference", true},
    Heading{"SHBD_RDNG", "", "0DP", "Reading number", true},
    Heading{"SHBD_TIME", "min", "1DP", "Time since the first reading"},
    Heading{"SHBD_DISP", "mm", "2DP", "Displacement along the shear plane"},
    Heading{"SHBD_DISN", "mm", "2DP", "Displacement normal to the shear plane"},
    Heading{"SHBD_NORM", "kPa", "1DP", "Normal stress on the shear plane"},
    Heading{"SHBD_SHR", "kPa", "1DP", "Shear stress on the shear plane"},
};

// The test type of this apparatus, which the standard list of SHBG_TYPE lacks.
constexpr std::string_view kTestType = "IPCYL";

// ---- values ---------------------------------------------------------------------------------

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return {};
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  return std::string(buf, end);
}

std::string optional_fixed(const std::optional<double>& value, int decimals) {
  return value ? fixed(*value, decimals) : std::string();
}

std::string optional_number(const std::optional<float>& value, std::string_view type) {
  return value ? ags_number(*value, type) : std::string();
}

// A fraction printed with three decimals, as a percentage: 0.218 gives "21.8".
std::string percent_of_fraction(float fraction) {
  const std::string text = fixed(fraction, 3);
  if (text.empty()) return text;
  const bool negative = text.front() == '-';
  std::string digits = text.substr(negative ? 1 : 0);
  digits.erase(digits.find('.'), 1);  // "0218"
  digits.insert(digits.size() - 1, ".");
  const std::size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos && first < digits.find('.')) {
    digits.erase(0, first);
  } else {
    digits.erase(0, digits.find('.') - 1);
  }
  return (negative ? "-" : "") + digits;
}

// The first code point of `text` from `at` on, and where the next begins; U+FFFD for a byte
// that begins no UTF-8 sequence.
char32_t next_code_point(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(at);
  const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
  if (lead >= 0x80 && ((lead >> 6) == 0x2 || lead >= 0xF8 || at + length > text.size())) {
    ++at;
    return U'\uFFFD';
  }
  char32_t c = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    if ((byte(at + k) >> 6) != 0x2) {
      ++at;
      return U'\uFFFD';
    }
    c = (c << 6) | (byte(at + k) & 0x3F);
  }
  at += static_cast<std::size_t>(length);
  return c;
}

char ascii_letter(char32_t c) {
  struct Letter {
    char32_t from;
    char to;
  };
  static constexpr Letter kLetters[] = {
      {U'ç', 'c'}, {U'Ç', 'C'}, {U'ğ', 'g'}, {U'Ğ', 'G'}, {U'ı', 'i'}, {U'İ', 'I'},
      {U'ö', 'o'}, {U'Ö', 'O'}, {U'ş', 's'}, {U'Ş', 'S'}, {U'ü', 'u'}, {U'Ü', 'U'},
      {U'â', 'a'}, {U'Â', 'A'}, {U'î', 'i'}, {U'Î', 'I'}, {U'û', 'u'}, {U'Û', 'U'},
  };
  if (c < 0x20 || c == 0x7F) return ' ';
  if (c < 0x80) return static_cast<char>(c);
  for (const Letter& letter : kLetters) {
    if (letter.from == c) return letter.to;
  }
  return '?';
}

// A title record of the test without its trailing blanks, in ASCII.
std::string title_text(const std::array<char, 80>& title) {
  std::string_view bytes(title.data(), title.size());
  const std::size_t last = bytes.find_last_not_of(std::string_view(" \0", 2));
  bytes = last == std::string_view::npos ? std::string_view() : bytes.substr(0, last + 1);
  return ags_text(codec::cp857_to_utf8(bytes));
}

std::string titles_text(const TestSnapshot& t) {
  std::string text;
  for (const auto& title : t.titles) {
    const std::string line = title_text(title);
    if (line.empty()) continue;
    if (!text.empty()) text += " / ";
    text += line;
  }
  return text;
}

// "yyyy-mm-dd" of the UTC day of `seconds` since 1970-01-01 (the proleptic Gregorian calendar).
std::string iso_date(std::int64_t seconds) {
  std::int64_t days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const std::int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  const std::int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  const std::int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);
  const auto two = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(year) + "-" + two(month) + "-" + two(day);
}

bool is_iso_date(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t k : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[k] < '0' || text[k] > '9') return false;
  }
  const int month = (text[5] - '0') * 10 + (text[6] - '0');
  const int day = (text[8] - '0') * 10 + (text[9] - '0');
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::string joined_numbers(const std::vector<int>& numbers) {
  std::string text;
  for (const int n : numbers) text += (text.empty() ? "" : ", ") + std::to_string(n);
  return text;
}

// ---- the identity and the keys --------------------------------------------------------------

// "lab/S1.DAT" gives "S1".
std::string file_stem(const std::string& path) {
  return ags_text(std::filesystem::path(path).stem().string());
}

// The key fields of a test's row, formatted: the sample's, then the specimen's.
struct Keys {
  std::array<std::string, 7> fields;  // LOCA_ID .. SPEC_DPTH
  bool operator==(const Keys&) const = default;
};

Keys sample_keys(const FileSnapshot& file) {
  const Identity& id = file.identity;
  const std::string stem = file_stem(file.data_file);
  const auto or_stem = [&stem](const std::string& text) {
    return text.empty() ? stem : ags_text(text);
  };
  return {{or_stem(id.location.id), optional_fixed(id.sample.top, 2), or_stem(id.sample.ref),
           ags_text(id.sample.type), or_stem(id.sample.id), "", ""}};
}

const SpecimenIdentity* specimen_of(const FileSnapshot& file, int test) {
  const std::vector<SpecimenIdentity>& specimens = file.identity.specimens;
  const auto k = static_cast<std::size_t>(test - 1);
  return test >= 1 && k < specimens.size() ? &specimens[k] : nullptr;
}

// The specimen of a test: as the series names it, or by the test number at the sample's top.
Keys test_keys(const FileSnapshot& file, const TestSnapshot& t) {
  Keys keys = sample_keys(file);
  const SpecimenIdentity* specimen = specimen_of(file, t.test);
  const bool named = specimen != nullptr && !specimen->ref.empty();
  keys.fields[5] = named ? ags_text(specimen->ref) : std::to_string(t.test);
  const std::optional<double> depth =
      specimen != nullptr && specimen->depth ? specimen->depth : file.identity.sample.top;
  keys.fields[6] = optional_fixed(depth, 2);
  return keys;
}

Row with_keys(const Keys& keys, std::size_t fields) {
  Row row(keys.fields.begin(), keys.fields.end());
  row.resize(fields);
  return row;
}

// ---- the groups -----------------------------------------------------------------------------

Group proj_group(const FileSnapshot& file) {
  const ProjectIdentity& p = file.identity.project;
  std::string name = ags_text(p.name);
  if (name.empty() && !file.tests.empty()) name = title_text(file.tests.front().titles[0]);
  return {"PROJ",
          kProj,
          {{p.id.empty() ? file_stem(file.data_file) : ags_text(p.id), name, ags_text(p.location),
            ags_text(p.client), ags_text(p.contractor), ags_text(p.engineer)}}};
}

Group tran_group(const FileSnapshot& file, std::int64_t run_time) {
  const Identity& id = file.identity;
  const std::string producer = id.laboratory.empty() ? "ostrevik" : ags_text(id.laboratory);
  const std::string recipient =
      id.project.client.empty() ? "Not given" : ags_text(id.project.client);
  return {"TRAN",
          kTran,
          {{"1", iso_date(run_time), producer, "Draft",
            "Inclined-plane shear tests of " + ags_text(file.data_file), "4.1.1", recipient, "|",
            "+", id.given() ? "" : ags_text(ags_identity_note(file))}}};
}

Group loca_group(const FileSnapshot& file) {
  const LocationIdentity& l = file.identity.location;
  return {"LOCA",
          kLoca,
          {{sample_keys(file).fields[0], ags_text(l.type), optional_fixed(l.easting, 2),
            optional_fixed(l.northing, 2), optional_fixed(l.ground_level, 2)}}};
}

Group samp_group(const FileSnapshot& file) {
  const SampleIdentity& s = file.identity.sample;
  Row row = with_keys(sample_keys(file), kSamp.size());
  row[5] = optional_fixed(s.base, 2);
  row[6] = ags_text(s.description);
  return {"SAMP", kSamp, {row}};
}

// A value of the strength analysis in a TYPE, empty unless it is a number.
std::string analysis_text(const AnalysisValue& value, std::string_view type) {
  return value.state == AnalysisValue::State::Number ? ags_number(value.value, type)
                                                     : std::string();
}

// The cohesion and friction angle of one case's envelope: the envelope with cohesion when it
// was fitted, else the one through the origin with a cohesion of 0.
struct Envelope {
  std::string c, phi;
  bool through_origin = false;
};

Envelope envelope_of(const CaseSnapshot& c) {
  if (c.COFCOR.state != AnalysisValue::State::NotComputed) {
    return {analysis_text(c.COHESN, "2SF"), analysis_text(c.PHILRG, "1DP")};
  }
  const std::string phi = analysis_text(c.PHIORG, "1DP");
  return {phi.empty() ? "" : "0", phi, true};
}

// How sure one envelope is, for the remark: "peak c = 17.4 +/- 0.4 kPa, phi = 31.1 +/- 0.1 deg
// (n = 4, s = 0.47 kPa), characteristic c_k = 16.5 kPa, phi_k = 31.1 deg".
std::string statistics_remark(std::string_view name, const EnvelopeStatistics& e) {
  if (e.missing != MissingStatistics::None) return "";
  return "; " + std::string(name) + " c = " + fixed(e.a, 1) + " +/- " + fixed(e.se_a, 1) +
         " kPa, phi = " + fixed(e.phi, 1) + " +/- " + fixed(e.se_phi, 1) +
         " deg (n = " + std::to_string(e.n) + ", s = " + fixed(e.s, 2) +
         " kPa), characteristic c_k = " + fixed(e.c_k, 1) + " kPa, phi_k = " + fixed(e.phi_k, 1) +
         " deg";
}

std::string envelope_remark(const StrengthSnapshot& s, const Envelope& peak, const Envelope& end) {
  if (!s.ran) {
    return "No strength analysis in this run (PARREG 0, fewer than two evaluated tests, or the "
           "run ended early): no envelope";
  }
  std::string text = "Peak and end envelopes: linear regression of tau on sigma, true shear plane";
  if (peak.through_origin) text += ", through the origin (c = 0)";
  text += ", tests " + joined_numbers(s.tests);
  if (peak.phi.empty() || end.phi.empty()) text += "; an envelope the data do not determine";
  const std::string peak_statistics = statistics_remark("peak", s.statistics[0]);
  const std::string end_statistics = statistics_remark("end", s.statistics[3]);
  if (!peak_statistics.empty() || !end_statistics.empty()) {
    text += "; standard errors of the least-squares line" + peak_statistics + end_statistics +
            "; characteristic values from the 95 % one-sided lower bound of the mean line";
    if (s.regional) text += " of a regional data set";
  }
  return text;
}

Group shbg_group(const FileSnapshot& file) {
  const StrengthSnapshot& s = file.strength;
  const Envelope none;
  const Envelope peak = s.ran ? envelope_of(s.cases[0]) : none;
  const Envelope end = s.ran ? envelope_of(s.cases[3]) : none;
  std::string remark = envelope_remark(s, peak, end);
  if (!file.identity.given()) remark = ags_text(ags_identity_note(file)) + ". " + remark;
  Group group{"SHBG", kShbg, {}};
  std::vector<Keys> written;
  for (const TestSnapshot& t : file.tests) {
    const Keys keys = test_keys(file, t);
    if (std::find(written.begin(), written.end(), keys) != written.end()) continue;
    written.push_back(keys);
    const SpecimenIdentity* specimen = specimen_of(file, t.test);
    Row row = with_keys(keys, kShbg.size());
    if (specimen != nullptr) {
      row[7] = ags_text(specimen->description);
      row[8] = ags_text(specimen->preparation);
    }
    row[9] = kTestType;
    row[10] = peak.c;
    row[11] = peak.phi;
    row[12] = remark;
    row[13] = ags_text(file.identity.method);
    row[14] = ags_text(file.identity.laboratory);
    row[15] = end.c;
    row[16] = end.phi;
    group.rows.push_back(std::move(row));
  }
  return group;
}

std::optional<float> table4_value(const TestSnapshot& t, Quantity q, bool at_end) {
  if (!t.table4) return std::nullopt;
  const auto* at = std::find(TABLE4_QUANTITIES.begin(), TABLE4_QUANTITIES.end(), q);
  const auto k = static_cast<std::size_t>(at - TABLE4_QUANTITIES.begin());
  return at_end ? t.table4->end.at(k) : t.table4->peak.at(k);
}

// A per-reading value at reading `reading` (from 1) of an evaluated test.
std::optional<float> reading_value(const TestSnapshot& t, int reading, Quantity q) {
  if (!t.table4 || reading < 1 || reading > static_cast<int>(t.readings.size())) {
    return std::nullopt;
  }
  return t.readings[static_cast<std::size_t>(reading - 1)][q];
}

bool has_lateral_load(const TestSnapshot& t) {
  return std::any_of(t.readings.begin(), t.readings.end(),
                     [](const ReadingSnapshot& r) { return r[Quantity::HTFYKS].has_value(); });
}

// The height of the soil in the mould, mm: mould height less the empty height and the disc.
std::optional<float> specimen_height(const TestSnapshot& t) {
  const auto HTMOLD = setup_value(t, "HTMOLD");
  const auto HEMPTY = setup_value(t, "HEMPTY");
  const auto HDISC = setup_value(t, "HDISC");
  if (!HTMOLD || !HEMPTY || !HDISC) return std::nullopt;
  return (*HTMOLD - *HEMPTY - *HDISC) * 10.0F;
}

std::string criterion(const TestSnapshot& t) {
  if (t.kind != TestKind::Evaluated) return {};
  const std::string rule = has_lateral_load(t)
                               ? "highest stress ratio shear/normal stress (lateral load)"
                               : "highest load of the frame";
  return "Peak at the " + rule + ", reading " + std::to_string(t.IMAXP) +
         "; end of test at reading " + std::to_string(t.IEND);
}

std::string test_remark(const TestSnapshot& t, const SpecimenIdentity* specimen) {
  std::string text = titles_text(t);
  const auto add = [&text](const std::string& more) {
    if (!text.empty()) text += "; ";
    text += more;
  };
  switch (t.kind) {
    case TestKind::CheckOnly:
      add("Readings only checked (PDATCH > 0), not evaluated: " + std::to_string(t.flagged.size()) +
          " suspect readings");
      break;
    case TestKind::Refused:
      add("Refused, not evaluated: " + ags_text(t.message));
      break;
    case TestKind::IterationLimit:
      add("Stopped at the iteration limit after " + std::to_string(t.readings_evaluated) +
          " readings: " + ags_text(t.message));
      break;
    case TestKind::Evaluated:
      break;
  }
  if (specimen != nullptr && !specimen->test_date.empty() && !is_iso_date(specimen->test_date)) {
    add("test date as given: " + ags_text(specimen->test_date));
  }
  return text;
}

Row shbt_row(const FileSnapshot& file, const TestSnapshot& t) {
  using Q = Quantity;
  const SpecimenIdentity* specimen = specimen_of(file, t.test);
  Row row = with_keys(test_keys(file, t), kShbt.size());
  const auto setup = [&t](std::string_view name) { return setup_value(t, name); };
  const std::optional<float> WCINL = setup("WCINL");
  const std::optional<float> DIAIN = setup("DIAIN");
  row[7] = std::to_string(t.test);
  row[8] = optional_number(setup("DENSOL"), "2DP");
  row[9] = optional_number(setup("DDENSL"), "2DP");
  if (specimen != nullptr && specimen->shearing_rate) {
    row[10] = ags_number(static_cast<float>(*specimen->shearing_rate), "2SF");
  }
  row[11] = optional_number(table4_value(t, Q::SS, false), "1DP");
  row[12] = optional_number(reading_value(t, t.IMAXP, Q::UBAR), "2DP");
  row[13] = optional_number(reading_value(t, t.IMAXP, Q::VBAR), "2DP");
  row[14] = optional_number(setup("GS"), "2DP");
  row[15] = optional_number(setup("VOIDR"), "3DP");
  row[16] = WCINL ? percent_of_fraction(*WCINL) : std::string();
  row[17] = optional_number(specimen_height(t), "2DP");
  row[18] = criterion(t);
  row[19] = test_remark(t, specimen);
  row[20] = optional_number(table4_value(t, Q::TNSAVE, false), "0DP");
  row[21] = optional_number(table4_value(t, Q::TNSAVE, true), "1DP");
  row[22] = optional_number(table4_value(t, Q::SS, true), "1DP");
  row[23] = optional_number(reading_value(t, t.IEND, Q::UBAR), "2DP");
  row[24] = optional_number(reading_value(t, t.IEND, Q::VBAR), "2DP");
  row[25] = DIAIN ? ags_number(*DIAIN * 10.0F, "2DP") : std::string();
  if (specimen != nullptr && is_iso_date(specimen->test_date)) row[26] = specimen->test_date;
  return row;
}

Group shbt_group(const FileSnapshot& file) {
  Group group{"SHBT", kShbt, {}};
  for (const TestSnapshot& t : file.tests) group.rows.push_back(shbt_row(file, t));
  return group;
}

Group shbd_group(const FileSnapshot& file) {
  using Q = Quantity;
  Group group{"SHBD", kShbd, {}, "Shear box testing - readings of an inclined-plane test", "SHBT"};
  for (const TestSnapshot& t : file.tests) {
    const Keys keys = test_keys(file, t);
    for (std::size_t i = 0; i < t.readings.size(); ++i) {
      const ReadingSnapshot& r = t.readings[i];
      Row row = with_keys(keys, kShbd.size());
      row[7] = std::to_string(t.test);
      row[8] = std::to_string(i + 1);
      row[9] = optional_number(r[Q::T], "1DP");
      row[10] = optional_number(r[Q::UBAR], "2DP");
      row[11] = optional_number(r[Q::VBAR], "2DP");
      row[12] = optional_number(r[Q::TNSAVE], "1DP");
      row[13] = optional_number(r[Q::SS], "1DP");
      group.rows.push_back(std::move(row));
    }
  }
  return group;
}

// ---- the groups that describe the others ----------------------------------------------------

Group dict_group(std::span<const Group> groups) {
  Group dict{"DICT", kDict, {}};
  for (const Group& g : groups) {
    if (!g.user_defined.empty()) {
      dict.rows.push_back({"GROUP", std::string(g.name), "", "", "", std::string(g.user_defined),
                           "", std::string(g.parent)});
    }
    for (const Heading& h : g.headings) {
      if (h.user_defined.empty()) continue;
      dict.rows.push_back({"HEADING", std::string(g.name), std::string(h.name),
                           h.key ? "KEY" : "OTHER", std::string(h.type),
                           std::string(h.user_defined), std::string(h.unit), ""});
    }
  }
  return dict;
}

template <std::size_t N>
std::string_view description(
    const std::array<std::pair<std::string_view, std::string_view>, N>& table,
    std::string_view name, std::string_view otherwise) {
  for (const auto& [key, text] : table) {
    if (key == name) return text;
  }
  return otherwise;
}

// Every distinct (heading, code) of the PA columns of the groups, in order of appearance; a
// value of several codes joined by TRAN_RCON ("CP+RC") gives each of them.
std::vector<std::pair<std::string, std::string>> abbreviations_used(std::span<const Group> groups) {
  std::vector<std::pair<std::string, std::string>> found;
  const auto add = [&found](std::string_view heading, std::string_view code) {
    std::pair<std::string, std::string> item{std::string(heading), std::string(code)};
    if (!code.empty() && std::find(found.begin(), found.end(), item) == found.end()) {
      found.push_back(std::move(item));
    }
  };
  for (const Group& g : groups) {
    for (std::size_t k = 0; k < g.headings.size(); ++k) {
      if (g.headings[k].type != "PA") continue;
      for (const Row& row : g.rows) {
        std::string_view codes = row[k];
        for (std::size_t plus; (plus = codes.find('+')) != std::string_view::npos;) {
          add(g.headings[k].name, codes.substr(0, plus));
          codes.remove_prefix(plus + 1);
        }
        add(g.headings[k].name, codes);
      }
    }
  }
  return found;
}

Group unit_group(std::span<const Group> groups) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kUnits{{
      {"%", "percentage"},
      {"deg", "degrees (angle)"},
      {"kPa", "kiloPascals"},
      {"m", "metres"},
      {"Mg/m3", "megagrams per cubic metre"},
      {"min", "minutes"},
      {"mm", "millimetres"},
      {"mm/min", "millimetres per minute"},
      {"yyyy-mm-dd", "year month day"},
  }};
  std::vector<std::string> units;
  for (const Group& g : groups) {
    for (const Heading& h : g.headings) {
      if (!h.unit.empty() && std::find(units.begin(), units.end(), h.unit) == units.end()) {
        units.emplace_back(h.unit);
      }
    }
  }
  std::sort(units.begin(), units.end());
  Group group{"UNIT", kUnit, {}};
  for (const std::string& u : units) {
    group.rows.push_back({u, std::string(description(kUnits, u, u))});
  }
  return group;
}

Group type_group(std::span<const Group> groups) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kTypes{{
      {"0DP", "Value; 0 decimal places"},
      {"1DP", "Value; 1 decimal place"},
      {"2DP", "Value; 2 decimal places"},
      {"3DP", "Value; 3 decimal places"},
      {"2SF", "Value; 2 significant figures"},
      {"DT", "Date time in international format"},
      {"ID", "Unique identifier"},
      {"PA", "Text listed in ABBR Group"},
      {"PT", "Text listed in TYPE Group"},
      {"PU", "Text listed in UNIT Group"},
      {"X", "Text"},
      {"XN", "Text or numeric"},
      {"T", "Elapsed time"},
  }};
  std::vector<std::string> types;
  for (const Group& g : groups) {
    for (const Heading& h : g.headings) {
      if (std::find(types.begin(), types.end(), h.type) == types.end()) types.emplace_back(h.type);
    }
  }
  std::sort(types.begin(), types.end());
  Group group{"TYPE", kType, {}};
  for (const std::string& t : types) {
    group.rows.push_back({t, std::string(description(kTypes, t, t))});
  }
  return group;
}

// The abbreviations of every PA column written: the standard codes this file uses with their
// meaning, and the codes of this apparatus and of the series file as defined here.
Group abbr_group(std::span<const Group> groups) {
  struct Code {
    std::string_view heading, code, description, list;
  };
  static constexpr Code kCodes[] = {
      {"DICT_TYPE", "GROUP", "Flag to indicate definition is a GROUP", "AGS4"},
      {"DICT_TYPE", "HEADING", "Flag to indicate definition is a HEADING", "AGS4"},
      {"DICT_STAT", "KEY", "Key field", "AGS4"},
      {"DICT_STAT", "OTHER", "Other field", "AGS4"},
      {"SHBG_TYPE", kTestType,
       "Inclined-plane shear test on a cylindrical specimen in a split mould", "User defined"},
      {"SAMP_TYPE", "B", "Bulk disturbed sample", "AGS4"},
      {"SAMP_TYPE", "BLK", "Block sample", "AGS4"},
      {"SAMP_TYPE", "C", "Core sample", "AGS4"},
      {"SAMP_TYPE", "D", "Small disturbed sample", "AGS4"},
      {"SAMP_TYPE", "U", "Undisturbed sample - open drive", "AGS4"},
      {"SAMP_TYPE", "UT", "Undisturbed sample - thin wall open drive", "AGS4"},
  };
  Group group{"ABBR", kAbbr, {}};
  for (const auto& [heading, code] : abbreviations_used(groups)) {
    Row row{heading, code, code, "As given by the series file"};
    for (const Code& known : kCodes) {
      if (known.heading == heading && known.code == code) {
        row = {heading, code, std::string(known.description), std::string(known.list)};
      }
    }
    group.rows.push_back(std::move(row));
  }
  std::stable_sort(group.rows.begin(), group.rows.end(),
                   [](const Row& a, const Row& b) { return a[0] < b[0]; });
  return group;
}

// ---- the file -------------------------------------------------------------------------------

void append_field(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void append_line(std::string& out, std::string_view descriptor, const auto& fields) {
  append_field(out, descriptor);
  for (const auto& field : fields) {
    out += ',';
    append_field(out, field);
  }
  out += "\r\n";
}

void append_group(std::string& out, const Group& g) {
  if (g.rows.empty()) return;
  if (!out.empty()) out += "\r\n";
  append_line(out, "GROUP", std::array{g.name});
  std::vector<std::string_view> names, units, types;
  for (const Heading& h : g.headings) {
    names.push_back(h.name);
    units.push_back(h.unit);
    types.push_back(h.type);
  }
  append_line(out, "HEADING", names);
  append_line(out, "UNIT", units);
  append_line(out, "TYPE", types);
  for (const Row& row : g.rows) append_line(out, "DATA", row);
}

}  // namespace

std::string ags_number(float value, std::string_view type) {
  if (!std::isfinite(value) || type.size() < 3) return {};
  const int digits = type[0] - '0';
  const std::string_view kind = type.substr(1);
  if (kind == "DP") return fixed(value, digits);
  if (kind != "SF" || digits < 1) return {};
  if (value == 0.0F) return "0";
  // The exponent of the value rounded to its significant figures: 9.96 to 2SF is 1.0e1.
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  const std::string_view text(buf, static_cast<std::size_t>(end - buf));
  int exponent = 0;
  const std::string_view e = text.substr(text.find('e') + 1);
  std::from_chars(e.data() + (e.front() == '+' ? 1 : 0), e.data() + e.size(), exponent);
  if (exponent < digits) return fixed(value, std::max(0, digits - 1 - exponent));
  // Beyond the units: the significant digits followed by zeros.
  std::string mantissa;
  for (const char c : text.substr(0, text.find('e'))) {
    if (c != '.') mantissa += c;
  }
  return mantissa + std::string(static_cast<std::size_t>(exponent - digits + 1), '0');
}

std::string ags_text(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) text += ascii_letter(next_code_point(utf8, at));
  return text;
}

std::string ags_identity_note(const FileSnapshot& file) {
  if (file.identity.given()) return {};
  return "AGS: no series file gave the project, location and sample; the keys are derived from "
         "the data file name " +
         std::filesystem::path(file.data_file).filename().string() + " and the test numbers";
}

std::string ags_file(const FileSnapshot& file, std::int64_t run_time) {
  std::vector<Group> data{loca_group(file), samp_group(file), shbg_group(file), shbt_group(file),
                          shbd_group(file)};
  std::erase_if(data, [](const Group& g) { return g.rows.empty(); });
  std::vector<Group> described{proj_group(file), tran_group(file, run_time)};
  described.insert(described.end(), data.begin(), data.end());
  const Group dict = dict_group(described);
  described.push_back(dict);
  const Group unit = unit_group(described);
  const Group type = type_group(described);
  const Group abbr = abbr_group(described);
  std::string out;
  for (const Group* g :
       std::array<const Group*, 6>{&described[0], &described[1], &unit, &type, &abbr, &dict}) {
    append_group(out, *g);
  }
  for (const Group& g : data) append_group(out, g);
  return out;
}

}  // namespace ostrevik::exports
