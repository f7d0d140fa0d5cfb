// Series files run as the user runs them: every sample data file converted to a series file and
// back, each form evaluated in the dialogue, and readings from a spreadsheet's CSV file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(OSTREVIK_SHARED_DIR) / "data";

std::vector<std::string> sample_names() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kData)) {
    if (entry.path().extension() == ".DAT") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A name as the report's title line shows it: cut or padded to 12 characters.
std::string title_field(std::string name) {
  name.resize(12, ' ');
  return name;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// The dialogue's evaluation of `data` into `report`, with its report's bytes.
struct Evaluation {
  ProgramRun run;
  std::string report;
};

Evaluation evaluate(const TempDir& dir, const std::string& data, const std::string& report) {
  Evaluation e{run_program(dir, answers(data, report)), ""};
  e.report = read_bytes(dir / report);
  return e;
}

// The same console and exit status, and the same report but for the file names of its title.
void expect_same_evaluation(const Evaluation& expected, const std::string& expected_names,
                            const Evaluation& actual, const std::string& actual_names,
                            const std::string& what) {
  EXPECT_EQ(actual.run.status, expected.run.status) << what;
  EXPECT_EQ(actual.run.console, expected.run.console) << what;
  EXPECT_EQ(actual.run.errors, expected.run.errors) << what;
  EXPECT_FALSE(actual.report.empty()) << what;
  EXPECT_TRUE(replaced(actual.report, actual_names, expected_names) == expected.report)
      << what << ": the report differs";
}

std::string names_of(const std::string& report, const std::string& data) {
  return title_field(report) + " :  " + title_field(data);
}

class SeriesSample : public ::testing::TestWithParam<std::string> {};

// FILE.DAT to FILE.toml to FILE.DAT to FILE.toml: every form evaluates as the first one does,
// and the second series file is the first, byte for byte.
TEST_P(SeriesSample, ConvertsBothWaysAndEvaluatesTheSame) {
  const std::string name = GetParam();
  TempDir dir;
  fs::copy_file(kData / (name + ".DAT"), dir / "D.DAT");
  const Evaluation fixed = evaluate(dir, "D.DAT", "D.OUT");

  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "D.DAT", "-o", "S.toml"}).status, 0);
  const Evaluation series = evaluate(dir, "S.toml", "S.OUT");
  expect_same_evaluation(fixed, names_of("D.OUT", "D.DAT"), series, names_of("S.OUT", "S.toml"),
                         name + " as a series file");

  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "S.toml", "-o", "B.DAT"}).status, 0);
  const Evaluation back = evaluate(dir, "B.DAT", "B.OUT");
  expect_same_evaluation(fixed, names_of("D.OUT", "D.DAT"), back, names_of("B.OUT", "B.DAT"),
                         name + " converted back");

  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "B.DAT", "-o", "T.toml"}).status, 0);
  EXPECT_TRUE(read_bytes(dir / "T.toml") == read_bytes(dir / "S.toml"))
      << name << ": converted again, the series file differs";
}

INSTANTIATE_TEST_SUITE_P(Samples, SeriesSample, ::testing::ValuesIn(sample_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

// The readings as a spreadsheet in a Turkish or German locale saves them: semicolons, decimal
// commas, the columns in another order, quoted names and a blank field for a zero.
std::string as_spreadsheet_csv(const std::string& csv) {
  std::vector<std::string> rows = records_of(csv);
  std::string out;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma = rows[r].find(',');; comma = rows[r].find(',', start)) {
      fields.push_back(rows[r].substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    std::rotate(fields.begin(), fields.begin() + 2, fields.end());
    for (std::size_t f = 0; f < fields.size(); ++f) {
      std::string field = replaced(fields[f], ".", ",");
      if (r == 0) field = "\"" + field + "\"";
      if (field == "0") field = "";
      out += (f == 0 ? "" : ";") + field;
    }
    out += "\r\n";
  }
  return out;
}

TEST(SeriesReadings, SpreadsheetCsvEvaluatesAsTheInlineReadings) {
  TempDir dir;
  fs::copy_file(kData / "SERIES3.DAT", dir / "D.DAT");
  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "D.DAT", "-o", "S.toml"}).status, 0);
  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "--csv", "D.DAT", "-o", "C.toml"}).status, 0);
  for (const char* csv : {"C-T1.csv", "C-T2.csv", "C-T3.csv", "C-T4.csv"}) {
    write_bytes(dir / csv, as_spreadsheet_csv(read_input(dir / csv)));
  }
  const Evaluation inline_readings = evaluate(dir, "S.toml", "S.OUT");
  const Evaluation csv_readings = evaluate(dir, "C.toml", "C.OUT");
  expect_same_evaluation(inline_readings, names_of("S.OUT", "S.toml"), csv_readings,
                         names_of("C.OUT", "C.toml"), "readings from CSV files");
}

// A series file that does not parse: one message with the file, line and key, exit status 2,
// and no report.
TEST(SeriesErrors, NothingIsWrittenForAFileThatDoesNotParse) {
  TempDir dir;
  fs::copy_file(kData / "FULL1.DAT", dir / "D.DAT");
  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "D.DAT", "-o", "S.toml"}).status, 0);
  write_bytes(dir / "S.toml", replaced(read_bytes(dir / "S.toml"), "PSPBDL", "SPBDL"));
  const ProgramRun run = run_with_arguments(dir, {"S.toml"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.errors.find("S.toml, line 56, key test.specimen.SPBDL (test 1): unknown key; "
                            "did you mean PSPBDL?"),
            std::string::npos)
      << run.errors;
  EXPECT_FALSE(fs::exists(dir / "S.out"));
  const ProgramRun convert = run_with_arguments(dir, {"convert", "S.toml"});
  EXPECT_EQ(convert.status, 2);
  EXPECT_FALSE(fs::exists(dir / "S.DAT"));
}

}  // namespace
}  // namespace ostrevik::testing

namespace ostrevik::testing {
namespace {

// The template evaluates as it stands, to the strength series it describes, and converts to a
// fixed-column file that evaluates the same.
TEST(SeriesTemplate, EvaluatesAsItStands) {
  TempDir dir;
  ASSERT_EQ(run_with_arguments(dir, {"template", "-q"}).status, 0);
  ASSERT_TRUE(fs::exists(dir / "SERIES-T3.csv"));
  const ProgramRun run = run_with_arguments(dir, {"SERIES.toml"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_NE(run.console.find("SERIES.toml -> SERIES.out: 3 evaluated, 0 checked only, 0 refused, "
                             "0 at the iteration limit; peak envelope c = 17.777 kPa, phi = "
                             "30.924 deg"),
            std::string::npos)
      << run.console;
  ASSERT_EQ(run_with_arguments(dir, {"convert", "-q", "SERIES.toml"}).status, 0);
  ASSERT_EQ(run_with_arguments(dir, {"-o", "FIXED.OUT", "SERIES.DAT"}).status, 0);
  EXPECT_TRUE(replaced(read_bytes(dir / "SERIES.out"), names_of("SERIES.out", "SERIES.toml"),
                       names_of("FIXED.OUT", "SERIES.DAT")) == read_bytes(dir / "FIXED.OUT"));
}

}  // namespace
}  // namespace ostrevik::testing

namespace ostrevik::testing {
namespace {

// A fixed-column data file given its identity by a series file that names it.
TEST(SeriesIdentity, SeriesFileNamingItsDataFileEvaluatesThatFile) {
  TempDir dir;
  fs::copy_file(kData / "SERIES5.DAT", dir / "D.DAT");
  write_bytes(dir / "I.toml",
              "data = \"D.DAT\"\n\n[project]\nid = \"P-1\"\n\n[sample]\ntop = 6.0\n");
  const Evaluation fixed = evaluate(dir, "D.DAT", "D.OUT");
  const Evaluation named = evaluate(dir, "I.toml", "I.OUT");
  expect_same_evaluation(fixed, names_of("D.OUT", "D.DAT"), named, names_of("I.OUT", "I.toml"),
                         "a series file naming its data file");
}

}  // namespace
}  // namespace ostrevik::testing
