#include "export/csv.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "codec/cp857.h"
#include "export/notes.h"

namespace ostrevik::exports {
namespace {

using Row = std::vector<std::string>;

// Rows of cells, each row ended by CR LF.
class Table {
 public:
  explicit Table(const Row& header) { add(header); }
  void add(const Row& row) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k > 0) bytes_ += ',';
      bytes_ += row[k];
    }
    bytes_ += "\r\n";
  }
  std::string bytes() && { return std::move(bytes_); }

 private:
  std::string bytes_;
};

// The shortest text that reads back to the value, after the text; nothing when the value is not
// finite.
void append_number(std::string& text, float value) {
  if (!std::isfinite(value)) return;
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  text.append(buf, end);
}

// "SS [kPa]", or the bare name of a value without a unit.
std::string labelled(std::string_view name, std::string_view unit) {
  std::string text(name);
  if (!unit.empty()) {
    text += " [";
    text += unit;
    text += ']';
  }
  return csv_text(text);
}

std::string heading(const catalogue::Entry& entry) {
  return labelled(entry.name, entry.unit);
}

// The heading of the catalogue's quantity `name`, with a suffix to the name: "SIGA1 [kPa]".
std::string heading(std::string_view name, std::string_view suffix) {
  const catalogue::Entry& entry = catalogue::entry(name);
  return labelled(std::string(entry.name) + std::string(suffix), entry.unit);
}

std::string heading(std::string_view name) {
  return heading(catalogue::entry(name));
}

std::string integer(int value) {
  return std::to_string(value);
}

std::string optional_number(const std::optional<float>& value) {
  return value ? csv_number(*value) : std::string();
}

std::string analysis_number(const AnalysisValue& value) {
  return value.state == AnalysisValue::State::Number ? csv_number(value.value) : std::string();
}

// A title record without its trailing blanks, in UTF-8.
std::string title_text(const std::array<char, 80>& title) {
  std::string_view bytes(title.data(), title.size());
  const std::size_t last = bytes.find_last_not_of(std::string_view(" \0", 2));
  bytes = last == std::string_view::npos ? std::string_view() : bytes.substr(0, last + 1);
  return csv_text(codec::cp857_to_utf8(bytes));
}

std::string_view kind_name(TestKind kind) {
  switch (kind) {
    case TestKind::CheckOnly:
      return "check_only";
    case TestKind::Refused:
      return "refused";
    case TestKind::IterationLimit:
      return "iteration_limit";
    case TestKind::Evaluated:
      break;
  }
  return "evaluated";
}

// The largest file: its cells are appended to one buffer as they are formed.
std::string readings_file(const FileSnapshot& file) {
  Row header{"test", "reading"};
  for (std::size_t q = 0; q < QUANTITY_COUNT; ++q) {
    header.push_back(heading(info(static_cast<Quantity>(q))));
  }
  std::string bytes = Table(header).bytes();
  std::size_t readings = 0;
  for (const TestSnapshot& t : file.tests) readings += t.readings.size();
  bytes.reserve(bytes.size() + readings * QUANTITY_COUNT * 12);
  for (const TestSnapshot& t : file.tests) {
    for (std::size_t i = 0; i < t.readings.size(); ++i) {
      const ReadingSnapshot& reading = t.readings[i];
      bytes += integer(t.test);
      bytes += ',';
      bytes += integer(static_cast<int>(i + 1));
      for (std::size_t q = 0; q < QUANTITY_COUNT; ++q) {
        bytes += ',';
        if (reading.computed[q]) append_number(bytes, reading.value[q]);
      }
      bytes += "\r\n";
    }
  }
  return bytes;
}

Row tests_header() {
  Row header{"test", "kind", "title 1", "title 2", "title 3"};
  for (const catalogue::Entry& entry : setup_infos()) header.push_back(heading(entry));
  for (const char* name : {"NREAD", "IMAXP", "IEND"}) header.emplace_back(name);
  header.push_back(heading("T", " peak"));
  header.push_back(heading("T", " end"));
  for (const char* at : {" peak", " end"}) {
    for (Quantity q : TABLE4_QUANTITIES) header.push_back(heading(info(q).name, at));
  }
  for (const char* name : {"DVDUPK", "FIPK", "DVDUEN", "FIEN"}) header.push_back(heading(name));
  for (const char* name : {"SIGA", "TAUA"}) {
    for (int c = 1; c <= NCASE; ++c) header.push_back(heading(name, std::to_string(c)));
  }
  for (const char* name : {"flagged readings", "readings evaluated", "message", "notes"}) {
    header.emplace_back(name);
  }
  return header;
}

// T at reading `reading` (from 1) when the test has it.
std::string time_at(const TestSnapshot& t, int reading) {
  if (reading < 1 || reading > static_cast<int>(t.readings.size())) return {};
  return csv_number(t.readings[static_cast<std::size_t>(reading - 1)].value[0]);
}

// The plausibility notes of a test in one cell, " | " between them.
std::string notes_text(const TestSnapshot& t) {
  std::string text;
  for (const Note& note : test_notes(t)) {
    if (!text.empty()) text += " | ";
    if (note.reading > 0) text += "OKUMA " + std::to_string(note.reading) + ": ";
    text += note.text;
  }
  return text;
}

Row test_row(const TestSnapshot& t) {
  const bool evaluated = t.kind == TestKind::Evaluated;
  Row row{integer(t.test), std::string(kind_name(t.kind))};
  for (const auto& title : t.titles) row.push_back(title_text(title));
  for (const auto& value : t.setup) row.push_back(optional_number(value));
  const bool has_readings = t.kind != TestKind::Refused;
  row.push_back(has_readings ? integer(t.NREAD) : std::string());
  row.push_back(evaluated ? integer(t.IMAXP) : std::string());
  row.push_back(evaluated ? integer(t.IEND) : std::string());
  row.push_back(evaluated ? time_at(t, t.IMAXP) : std::string());
  row.push_back(evaluated ? time_at(t, t.IEND) : std::string());
  for (const auto values : {&Table4Snapshot::peak, &Table4Snapshot::end}) {
    for (std::size_t k = 0; k < TABLE4_QUANTITIES.size(); ++k) {
      row.push_back(t.table4 ? csv_number(((*t.table4).*values)[k]) : std::string());
    }
  }
  const std::optional<TestRecord>& r = t.record;
  for (const float TestRecord::*value :
       {&TestRecord::DVDUPK, &TestRecord::FIPK, &TestRecord::DVDUEN, &TestRecord::FIEN}) {
    row.push_back(r ? csv_number((*r).*value) : std::string());
  }
  for (const auto stresses : {&TestRecord::SIGA, &TestRecord::TAUA}) {
    for (std::size_t c = 0; c < NCASE; ++c) {
      row.push_back(r ? csv_number(((*r).*stresses)[c]) : std::string());
    }
  }
  const bool checked = t.kind == TestKind::CheckOnly;
  row.push_back(checked ? integer(static_cast<int>(t.flagged.size())) : std::string());
  const bool stopped = t.kind == TestKind::IterationLimit;
  row.push_back(stopped ? integer(t.readings_evaluated) : std::string());
  row.push_back(csv_text(t.message));
  row.push_back(csv_text(notes_text(t)));
  return row;
}

std::string tests_file(const FileSnapshot& file) {
  Table table(tests_header());
  for (const TestSnapshot& t : file.tests) table.add(test_row(t));
  return std::move(table).bytes();
}

// The shortest text that reads back to the double; empty when it is not finite.
std::string double_number(double value) {
  if (!std::isfinite(value)) return {};
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

std::string_view missing_name(MissingStatistics missing) {
  switch (missing) {
    case MissingStatistics::TooFewPoints:
      return "too_few_points";
    case MissingStatistics::NonfiniteStress:
      return "nonfinite_stress";
    case MissingStatistics::EqualNormalStresses:
      return "equal_normal_stresses";
    case MissingStatistics::ExactFit:
      return "exact_fit";
    case MissingStatistics::None:
      break;
  }
  return "given";
}

// The figures of a case's statistics and their columns.
constexpr std::array<std::pair<const char*, double EnvelopeStatistics::*>, 19> kStatisticsColumns{{
    {"CFIT", &EnvelopeStatistics::a},
    {"TANFIT", &EnvelopeStatistics::b},
    {"PHIFIT", &EnvelopeStatistics::phi},
    {"SFIT", &EnvelopeStatistics::s},
    {"RSQFIT", &EnvelopeStatistics::r_squared},
    {"SECFIT", &EnvelopeStatistics::se_a},
    {"SETAN", &EnvelopeStatistics::se_b},
    {"SEPHI", &EnvelopeStatistics::se_phi},
    {"COVFIT", &EnvelopeStatistics::cov_ab},
    {"SIGMIN", &EnvelopeStatistics::sigma_min},
    {"SIGMAX", &EnvelopeStatistics::sigma_max},
    {"TANZRO", &EnvelopeStatistics::b0},
    {"SETANZ", &EnvelopeStatistics::se_b0},
    {"PHIZRO", &EnvelopeStatistics::phi0},
    {"RSQZRO", &EnvelopeStatistics::r_squared0},
    {"TSTUD", &EnvelopeStatistics::t},
    {"CK", &EnvelopeStatistics::c_k},
    {"TANK", &EnvelopeStatistics::tan_phi_k},
    {"PHIK", &EnvelopeStatistics::phi_k},
}};

// The figures of the rows of the points after the six cases: the point's stresses are the
// floats of the analysis.
constexpr std::array<std::pair<const char*, double FitPoint::*>, 2> kPointColumns{{
    {"RESID", &FitPoint::residual},
    {"TAULOW", &FitPoint::tau_low},
}};

// Six rows of the cases, then a row for every point of every case with its residual.
std::string strength_file(const StrengthSnapshot& s) {
  static constexpr std::array<std::string_view, 3> kWays{"GERÇEK KES.DZ", "ORTALAMA KES.DZ",
                                                         "BASİT ANALİZ"};
  static constexpr std::array<std::string_view, 2> kPoints{"EN YÜKSEK DAYANIM", "DENEY SONU"};
  static constexpr std::array<const char*, 8> kEnvelopeColumns{
      "CORZRO", "PHIORG", "COFCOR", "COHESN", "PHILRG", "COFLOG", "ACONST", "BEXPNT"};
  Row header{"case", "analysis", "point", "NTESTS"};
  for (const char* name : kEnvelopeColumns) header.push_back(heading(name));
  header.push_back(heading("NFIT"));
  for (const auto& [name, field] : kStatisticsColumns) header.push_back(heading(name));
  for (const char* name : {"regional", "statistics", "test"}) header.emplace_back(name);
  for (const char* name : {"SIGA", "TAUA"}) header.push_back(heading(name));
  for (const auto& [name, field] : kPointColumns) header.push_back(heading(name));
  Table table(header);
  const auto case_cells = [&](std::size_t k) {
    return Row{integer(static_cast<int>(k + 1)), csv_text(kWays[k % 3]), csv_text(kPoints[k / 3]),
               integer(s.NTESTS)};
  };
  for (std::size_t k = 0; k < NCASE; ++k) {
    const CaseSnapshot& c = s.cases[k];
    const EnvelopeStatistics& e = s.statistics[k];
    const bool given = e.missing == MissingStatistics::None;
    Row row = case_cells(k);
    for (const AnalysisValue* v :
         {&c.CORZRO, &c.PHIORG, &c.COFCOR, &c.COHESN, &c.PHILRG, &c.COFLOG, &c.ACONST, &c.BEXPNT}) {
      row.push_back(analysis_number(*v));
    }
    row.push_back(integer(e.n));
    for (const auto& [name, field] : kStatisticsColumns) {
      row.push_back(given ? double_number(e.*field) : std::string());
    }
    row.push_back(integer(s.regional ? 1 : 0));
    row.emplace_back(missing_name(e.missing));
    row.emplace_back();
    row.resize(header.size());
    table.add(row);
  }
  for (std::size_t k = 0; k < NCASE; ++k) {
    const EnvelopeStatistics& e = s.statistics[k];
    const bool given = e.missing == MissingStatistics::None;
    for (const FitPoint& q : e.points) {
      Row row = case_cells(k);
      row.resize(header.size() - kPointColumns.size() - 3);
      row.push_back(integer(q.test));
      row.push_back(csv_number(static_cast<float>(q.sigma)));
      row.push_back(csv_number(static_cast<float>(q.tau)));
      for (const auto& [name, field] : kPointColumns) {
        row.push_back(given ? double_number(q.*field) : std::string());
      }
      table.add(row);
    }
  }
  return std::move(table).bytes();
}

std::string triaxial_file(const StrengthSnapshot& s) {
  Row header{"test"};
  for (const char* name : {"CENORG", "AVPORG", "CELORG", "CENCOH", "AVPCOH", "CELCOH"}) {
    header.push_back(heading(name));
  }
  Table table(header);
  for (const TriaxialRow& r : s.triaxial) {
    table.add({integer(r.test), analysis_number(r.CENORG), analysis_number(r.AVPORG),
               analysis_number(r.CELORG), analysis_number(r.CENCOH), analysis_number(r.AVPCOH),
               analysis_number(r.CELCOH)});
  }
  return std::move(table).bytes();
}

// "DENEY1.OUT" → "DENEY1.": the files go beside the report.
std::string name_stem(const std::string& report_file) {
  const std::filesystem::path path(report_file);
  return (path.parent_path() / path.stem()).string() + ".";
}

}  // namespace

std::string csv_text(std::string_view utf8) {
  std::string text;
  text.reserve(utf8.size() + 3);
  if (!utf8.empty() && std::string_view("=+-@").find(utf8.front()) != std::string_view::npos) {
    text += '\'';
  }
  bool quoted = false;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      text += ' ';
      continue;
    }
    if (c == '"') text += '"';
    quoted = quoted || c == '"' || c == ',';
    text += c;
  }
  return quoted ? '"' + text + '"' : text;
}

std::string csv_number(float value) {
  std::string text;
  append_number(text, value);
  return text;
}

std::vector<std::string> csv_file_names(const std::string& report_file) {
  const std::string stem = name_stem(report_file);
  return {stem + "readings.csv", stem + "tests.csv", stem + "strength.csv", stem + "triaxial.csv"};
}

CsvFiles csv_files(const FileSnapshot& file) {
  const std::string stem = name_stem(file.report_file);
  CsvFiles files;
  files[stem + "readings.csv"] = readings_file(file);
  files[stem + "tests.csv"] = tests_file(file);
  if (file.strength.ran) {
    files[stem + "strength.csv"] = strength_file(file.strength);
    if (!file.strength.triaxial.empty())
      files[stem + "triaxial.csv"] = triaxial_file(file.strength);
  }
  return files;
}

}  // namespace ostrevik::exports
