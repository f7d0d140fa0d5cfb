// The CSV files of every sample data file, read back as a spreadsheet or a script would.
#include "export/csv.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "codec/cp857.h"
#include "export/csv_rows.h"
#include "sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::parse_csv;
using testing::Rows;
using testing::sample_snapshot;
using testing::SnapshotRun;

const std::vector<std::string> kSamples{"CHECK",   "FREEPL",  "FULL1",    "LATERAL", "PFIXDR",
                                        "SERIES3", "SERIES5", "TENSION1", "TYPFRA1"};

std::size_t column(const std::vector<std::string>& header, std::string_view name) {
  for (std::size_t k = 0; k < header.size(); ++k) {
    if (header[k] == name) return k;
  }
  ADD_FAILURE() << "no column " << name;
  return 0;
}

std::string csv_name(const std::string& sample, const std::string& kind) {
  return sample + "." + kind + ".csv";
}

// Every file parses with one cell count; the readings file has one row per evaluated reading and
// the tests file one per test; no number is spelt in letters.
TEST(Csv, EverySampleFileGivesRectangularFilesOfEveryReadingAndTest) {
  for (const std::string& sample : kSamples) {
    SCOPED_TRACE(sample);
    const SnapshotRun run = sample_snapshot(sample);
    const CsvFiles files = csv_files(run.snapshot);
    std::size_t readings = 0;
    for (const TestSnapshot& t : run.snapshot.tests) readings += t.readings.size();
    const bool analysed = run.snapshot.strength.ran;
    EXPECT_EQ(files.size(), analysed ? (run.snapshot.strength.triaxial.empty() ? 3U : 4U) : 2U);
    for (const auto& [name, bytes] : files) {
      SCOPED_TRACE(name);
      EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF")) << "no byte-order mark";
      EXPECT_EQ(bytes.find("nan"), std::string::npos);
      EXPECT_EQ(bytes.find("inf"), std::string::npos);
      const Rows rows = parse_csv(bytes);
      ASSERT_FALSE(rows.empty());
      for (const auto& row : rows) EXPECT_EQ(row.size(), rows[0].size());
      if (name == csv_name(sample, "readings")) {
        EXPECT_EQ(rows.size(), readings + 1);
      } else if (name == csv_name(sample, "tests")) {
        EXPECT_EQ(rows.size(), run.snapshot.tests.size() + 1);
      } else if (name == csv_name(sample, "strength")) {
        // the six cases, then every point of each case
        EXPECT_EQ(rows.size(), 7U + NCASE * run.snapshot.strength.tests.size());
      }
    }
  }
}

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

// The report's lines of one table: the rows after the first long rule under its title.
std::vector<std::string> table_rows(const std::vector<std::string>& lines, std::size_t& at,
                                    const std::string& title, int count) {
  while (at < lines.size() && trimmed(lines[at]) != title) ++at;
  while (at < lines.size() && lines[at].find(std::string(100, '-')) == std::string::npos) ++at;
  std::vector<std::string> rows;
  for (int k = 1; k <= count && at + static_cast<std::size_t>(k) < lines.size(); ++k) {
    rows.push_back(lines[at + static_cast<std::size_t>(k)]);
  }
  at += rows.size();
  return rows;
}

// A CSV number rounded to the report's decimals.
std::string as_printed(const std::string& cell, int decimals) {
  float value = 0;
  const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
  EXPECT_EQ(end, cell.data() + cell.size()) << cell;
  char buf[64];
  const auto [out, error] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  return std::string(buf, out);
}

// T, UBAR, SS and TNSAVE of every reading, rounded as the report prints them, are the report's
// text in Table 1 (or the summary table where PAROUT selects it).
TEST(Csv, ReadingValuesRoundToTheReportsText) {
  struct Field {
    const char* name;
    int decimals;
    std::size_t table1_begin, table1_width, summary_begin, summary_width;
  };
  static const Field kFields[] = {{"T [dak]", 1, 0, 8, 0, 6},
                                  {"UBAR [mm]", 1, 15, 7, 6, 5},
                                  {"SS [kPa]", 1, 40, 6, 33, 8},
                                  {"TNSAVE [kPa]", 1, 53, 7, 25, 8}};
  int compared = 0;
  for (const std::string& sample : kSamples) {
    SCOPED_TRACE(sample);
    const SnapshotRun run = sample_snapshot(sample);
    const Rows readings = parse_csv(csv_files(run.snapshot).at(csv_name(sample, "readings")));
    const std::vector<std::string> report = testing::records_of(codec::cp857_to_utf8(run.report));
    std::size_t at = 0;
    std::size_t row = 1;
    for (const TestSnapshot& t : run.snapshot.tests) {
      if (t.kind != TestKind::Evaluated) continue;
      const float PAROUT = *setup_value(t, "PAROUT");
      const bool summary = PAROUT == 6.0F || PAROUT == 7.0F;
      const std::vector<std::string> printed =
          PAROUT == 8.0F ? std::vector<std::string>()
                         : table_rows(report, at, summary ? "ÖZET ÇİZELGE" : "ÇİZELGE 1", t.NREAD);
      for (int I = 1; I <= t.NREAD; ++I, ++row) {
        if (printed.empty()) continue;
        const std::string& line = printed.at(static_cast<std::size_t>(I - 1));
        for (const Field& f : kFields) {
          const std::string cell = readings[row][column(readings[0], f.name)];
          const std::string text = summary ? line.substr(f.summary_begin, f.summary_width)
                                           : line.substr(f.table1_begin, f.table1_width);
          if (text.find('*') != std::string::npos) {
            EXPECT_EQ(cell, "") << "test " << t.test << " reading " << I << " " << f.name;
            continue;
          }
          EXPECT_EQ(as_printed(cell, f.decimals), trimmed(text))
              << "test " << t.test << " reading " << I << " " << f.name;
          ++compared;
        }
      }
    }
    EXPECT_EQ(row, readings.size());
  }
  EXPECT_GT(compared, 700);
}

// The six cases of each row of the strength analysis, rounded as printed, are the report's
// values after the row's label; "YOK" is an empty cell.
TEST(Csv, StrengthValuesRoundToTheReportsText) {
  struct Row {
    const char* label;
    const char* name;  // in the catalogue, which gives the column's unit and decimals
  };
  static const Row kRows[] = {{"C = 0 İÇİN KORELASYON KATSAYISI", "CORZRO"},
                              {"ORİJİNDEN GEÇEN KIR.ÇİZ.PHI (der)", "PHIORG"},
                              {"C, Fİ İÇİN KORELASYON K.S, COFCOR", "COFCOR"},
                              {"NORMAL DOĞRUSAL REGR,COHESN (kPa)", "COHESN"},
                              {"PHILRG (der)", "PHILRG"},
                              {"ÜSLÜ KIRIL.ÇİZ.: KOREL. KATSAYISI", "COFLOG"},
                              {"ACONST", "ACONST"},
                              {"BEXPNT", "BEXPNT"}};
  int compared = 0;
  for (const std::string sample : {"SERIES3", "SERIES5"}) {
    SCOPED_TRACE(sample);
    const SnapshotRun run = sample_snapshot(sample);
    const Rows strength = parse_csv(csv_files(run.snapshot).at(csv_name(sample, "strength")));
    for (const std::string& line : testing::records_of(codec::cp857_to_utf8(run.report))) {
      for (const Row& r : kRows) {
        if (trimmed(line).rfind(r.label, 0) != 0) continue;
        const catalogue::Entry& entry = catalogue::entry(r.name);
        const std::string heading = entry.unit.empty()
                                        ? std::string(r.name)
                                        : r.name + (" [" + std::string(entry.unit)) + "]";
        std::istringstream values(line.substr(line.rfind(':') + 1));
        std::string printed;
        for (std::size_t c = 1; c <= NCASE && values >> printed; ++c, ++compared) {
          const std::string cell = strength[c][column(strength[0], heading)];
          EXPECT_EQ(printed == "YOK" ? "" : as_printed(cell, entry.decimals),
                    printed == "YOK" ? "" : printed)
              << r.name << " case " << c;
        }
      }
    }
  }
  EXPECT_EQ(compared, 6 * (5 + 8));  // SERIES3: two envelopes; SERIES5: and the power law
}

// Tests that end otherwise than evaluated appear in the tests file with their kind and message;
// the readings evaluated before an iteration limit are in the readings file in report units.
TEST(Csv, TestsThatWereNotEvaluatedKeepTheirKindAndMessage) {
  struct Case {
    const char* name;
    SnapshotRun run;
    std::vector<std::string> kinds;
    std::string message;           // beginning of the last test's message
    std::string evaluated;         // readings evaluated, in the last test's row
    std::size_t reading_rows = 0;  // rows of the readings file
  };
  const SnapshotRun series3 = sample_snapshot("SERIES3");
  const std::size_t test1_readings = series3.snapshot.tests.at(0).readings.size();
  const std::vector<Case> cases{
      {"refused",
       testing::snapshot_of_bytes(testing::edited_series3(31, 1, "90.0"), "S.DAT"),
       {"evaluated", "refused"},
       "*** DENEY NO. 2: ALFN = 90 (SATIR 32, SÜTUN 1-8) ;",
       "",
       test1_readings},
      {"iteration limit",
       testing::snapshot_of_bytes(testing::edited_series3(11, 2, "50000"), "S.DAT"),
       {"iteration_limit"},
       "İTERASYON SAYISI 16 YI GEÇİYOR.",
       "3",
       3},
      {"check only", sample_snapshot("CHECK"), {"check_only", "check_only"}, "", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvFiles files = csv_files(c.run.snapshot);
    const std::string stem = std::filesystem::path(c.run.snapshot.data_file).stem().string();
    const Rows tests = parse_csv(files.at(stem + ".tests.csv"));
    ASSERT_EQ(tests.size(), c.kinds.size() + 1);
    for (std::size_t k = 0; k < c.kinds.size(); ++k) {
      EXPECT_EQ(tests[k + 1][column(tests[0], "kind")], c.kinds[k]);
    }
    const auto& last = tests.back();
    EXPECT_TRUE(last[column(tests[0], "message")].starts_with(c.message))
        << last[column(tests[0], "message")];
    EXPECT_EQ(last[column(tests[0], "readings evaluated")], c.evaluated);
    EXPECT_EQ(parse_csv(files.at(stem + ".readings.csv")).size(), c.reading_rows + 1);
  }
  // Readings 2 and 3 before the limit are those of the normal run, in mm and kPa.
  const Rows normal = parse_csv(csv_files(series3.snapshot).at("SERIES3.readings.csv"));
  const Rows stopped = parse_csv(csv_files(cases[1].run.snapshot).at("S.readings.csv"));
  for (const char* name : {"VBAR [mm]", "DXABS [mm]", "SS [kPa]", "TNSAVE [kPa]"}) {
    for (std::size_t row : {2U, 3U}) {
      EXPECT_EQ(stopped[row][column(stopped[0], name)], normal[row][column(normal[0], name)])
          << name << " reading " << row;
    }
  }
  EXPECT_EQ(stopped[2][column(stopped[0], "DVOVDU [oran]")], "") << "computed after the loop";
  // The check of test 2 flags four readings.
  const Rows check = parse_csv(csv_files(cases[2].run.snapshot).at("CHECK.tests.csv"));
  EXPECT_EQ(check[1][column(check[0], "flagged readings")], "0");
  EXPECT_EQ(check[2][column(check[0], "flagged readings")], "4");
}

// Text cells: quotes and commas quoted, control characters blanked, formulas kept as text.
TEST(Csv, TextCellsReadBackAsTheirText) {
  const struct {
    std::string_view text, cell;
  } cases[] = {
      {"KİL, KUMLU", "\"KİL, KUMLU\""},
      {"2\" ÇAP", "\"2\"\" ÇAP\""},
      {"A\tB\rC", "A B C"},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"-1+2", "'-1+2"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(csv_text(c.text), c.cell) << c.text;
  EXPECT_EQ(csv_number(0.1F), "0.1");
  EXPECT_EQ(csv_number(-2.5e-7F), "-2.5e-07");
  EXPECT_EQ(csv_number(std::numeric_limits<float>::infinity()), "");
  EXPECT_EQ(csv_number(std::numeric_limits<float>::quiet_NaN()), "");
}

}  // namespace
}  // namespace ostrevik::exports
