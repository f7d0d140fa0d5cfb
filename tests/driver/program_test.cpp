// The program as the user runs it: console dialogue, files, exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(OSTREVIK_SHARED_DIR) + "/data/";
const std::string kTestData = std::string(OSTREVIK_TEST_DATA) + "/";

bool contains(const std::string& bytes, const std::string& utf8) {
  return bytes.find(codec::to_cp857(utf8)) != std::string::npos;
}

// The first line of standard error, without its line end.
std::string first_error_line(const ProgramRun& run) {
  return run.errors.substr(0, run.errors.find('\n'));
}

// The records of a data file, so that tests can build variants of it.
std::vector<std::string> data_records(const std::string& path) {
  return records_of(read_input(path));
}

std::string joined(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& r : records) bytes += r + "\r\n";
  return bytes;
}

// Sets field `field` (1 to 9, eight columns each) of a record read under "(9F8.0)".
void set_field(std::string& record, int field, const std::string& value) {
  const auto start = static_cast<std::size_t>((field - 1) * 8);
  if (record.size() < start + 8) record.resize(start + 8, ' ');
  record.replace(start, 8, std::string(8 - value.size(), ' ') + value);
}

// A console that has shown the whole dialogue and nothing after it.
void expect_dialogue_only(const ProgramRun& run) {
  const std::vector<std::string> lines = records_of(run.console);
  const std::vector<std::string> reference = records_of(read_input(kData + "reference/FULL1.CON"));
  ASSERT_EQ(lines.size(), reference.size());
  EXPECT_EQ(run.console.substr(run.console.size() - 2), "\r\n");
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k + 1 != 10 && k + 1 != 11) {
      EXPECT_EQ(lines[k], reference[k]) << "line " << k + 1;
    }
  }
}

TEST(Program, MissingDataFileStopsBeforeTheReportIsCreated) {
  TempDir dir;
  fs::create_directory(dir / "DIR.DAT");
  struct Case {
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"NONE.DAT", "file not found, unit 5, file NONE.DAT"},
      {"DIR.DAT", "cannot read data file, unit 5, file DIR.DAT: Is a directory"},
      {"", "file not found, unit 5, file "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const ProgramRun run = run_program(dir, answers(c.typed, "NEW.OUT"));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(first_error_line(run).rfind(c.message, 0), 0U) << run.errors;
    EXPECT_FALSE(fs::exists(dir / "NEW.OUT"));
    expect_dialogue_only(run);
  }
}

TEST(Program, ExistingReportIsNeverTouched) {
  TempDir dir;
  fs::copy_file(kData + "FULL1.DAT", dir / "FULL1.DAT");
  const std::string old_report = "AN OLDER REPORT\r\n";
  write_bytes(dir / "FULL1.OUT", old_report);
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  fs::last_write_time(dir / "FULL1.OUT", old_time);

  for (const char* report : {"FULL1.OUT", "FULL1.DAT"}) {
    SCOPED_TRACE(report);
    const ProgramRun run = run_program(dir, answers("FULL1.DAT", report));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(first_error_line(run), std::string("file already exists, unit 6, file ") + report);
    expect_dialogue_only(run);
  }
  EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), old_report);
  EXPECT_EQ(fs::last_write_time(dir / "FULL1.OUT"), old_time);
  EXPECT_EQ(read_bytes(dir / "FULL1.DAT"), read_bytes(kData + "FULL1.DAT"));
}

TEST(Program, EndOfConsoleInputBeforeANameIsFatal) {
  TempDir dir;
  fs::copy_file(kData + "FULL1.DAT", dir / "FULL1.DAT");
  for (const char* input : {"", "FULL1.DAT\n"}) {
    SCOPED_TRACE(input);
    const ProgramRun run = run_program(dir, input);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(first_error_line(run).find("end of standard input"), std::string::npos);
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << "one line: " << run.errors;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(Program, NamesOfThirteenOrMoreCharactersAreCutToTwelve) {
  TempDir dir;
  fs::copy_file(kData + "CHECK.DAT", dir / "ABCDEFGH.DAT");
  const ProgramRun run = run_program(dir, "ABCDEFGH.DATXYZ\r\nABCDEFGH.OUT.OLD\r\n");
  EXPECT_EQ(run.status, 0) << run.errors;
  ASSERT_TRUE(fs::exists(dir / "ABCDEFGH.OUT"));
  const std::vector<std::string> report = records_of(read_bytes(dir / "ABCDEFGH.OUT"));
  ASSERT_GE(report.size(), 3U);
  EXPECT_EQ(report[0], codec::to_cp857(" *** ABCDEFGH.OUT :  ABCDEFGH.DAT VERİLERİNİN 2 Nisan "
                                       "2007 TARİHLİ Ostrevik PROGRAMIYLA DEĞERLENDİRİLEN "
                                       "ÇIKTISI ***"));
  EXPECT_EQ(report[1], "     " + std::string(106, '-'));
  EXPECT_EQ(report[2], "");
}

TEST(Program, FatalReadErrorKeepsTheReportWrittenSoFar) {
  TempDir dir;
  const std::vector<std::string> full = data_records(kData + "FULL1.DAT");
  write_bytes(dir / "FULL1.DAT", joined(full));
  ASSERT_EQ(run_program(dir, answers("FULL1.DAT", "FULL1.OUT")).status, 0);
  const std::string complete = read_bytes(dir / "FULL1.OUT");

  struct Case {
    const char* name;
    std::vector<std::string> records;
    const char* message;
  };
  std::vector<std::string> letters = full;
  letters[8].replace(16, 8, "   12O  ");
  const Case cases[] = {
      {"EMPTY.DAT", {}, "end-of-file during read, unit 5, file EMPTY.DAT"},
      {"CUT.DAT",
       {full.begin(), full.begin() + 20},
       "end-of-file during read, unit 5, file CUT.DAT"},
      {"BAD.DAT", letters, "input conversion error, unit 5, file BAD.DAT: line 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    write_bytes(dir / c.name, joined(c.records));
    const std::string report_name = std::string(c.name, 3) + ".OUT";
    const ProgramRun run = run_program(dir, answers(c.name, report_name));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(first_error_line(run).rfind(c.message, 0), 0U) << run.errors;
    const std::string report = read_bytes(dir / report_name);
    // The same records as a complete run, up to where the data gave out.
    const std::size_t title_end = complete.find("\r\n\r\n") + 4;
    EXPECT_GE(report.size(), title_end);
    EXPECT_EQ(report.substr(title_end), complete.substr(title_end, report.size() - title_end));
  }
}

TEST(Program, RefusedTestEndsTheRunWithItsMessageOnBothOutputs) {
  TempDir dir;
  std::vector<std::string> records = data_records(kData + "SERIES3.DAT");
  set_field(records[31], 1, "90.0");  // ALFN of test 2
  write_bytes(dir / "S.DAT", joined(records));
  const ProgramRun run = run_program(dir, answers("S.DAT", "S.OUT"));
  EXPECT_EQ(run.status, 1) << run.errors;
  EXPECT_EQ(run.errors, "");
  const std::vector<std::string> report = records_of(read_bytes(dir / "S.OUT"));
  const std::vector<std::string> console = records_of(run.console);
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report.back().rfind(
                codec::to_cp857(" *** DENEY NO. 2: ALFN = 90 (SATIR 32, SÜTUN 1-8) ;"), 0),
            0U)
      << report.back();
  EXPECT_EQ(console.back(), report.back());
  EXPECT_FALSE(contains(read_bytes(dir / "S.OUT"), "KORELASYON"));
}

// Sets the horizontal gauge (columns 9-16) of a readings record.
void set_horizontal_gauge(std::string& record, const std::string& value) {
  if (record.size() < 16) record.resize(16, ' ');
  record.replace(8, 8, std::string(8 - value.size(), ' ') + value);
}

// Reading 4 of test 1 gets a horizontal gauge at which no rotation converges. What the run
// wrote before it stays, Table 1A with the row of reading 2 of TENSION1 included, and the
// message follows it.
TEST(Program, IterationLimitStopsTheRunWithItsMessageOnBothOutputs) {
  const std::string message = codec::to_cp857(
      "\r\n\r\n İTERASYON SAYISI 16 YI GEÇİYOR.  LÜTFEN VERİLERİ EKSİK NOKTA (.) V.S. YÖNÜNDEN "
      "DENETLEYİNİZ !\r\n");
  struct Case {
    const char* name;
    std::size_t reference_records;  // records of the reference report written before reading 4
  };
  for (const Case& c : {Case{"SERIES3", 0}, Case{"TENSION1", 36}}) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string name = c.name;
    std::vector<std::string> records = data_records(kData + name + ".DAT");
    set_horizontal_gauge(records[11], "50000");
    write_bytes(dir / (name + ".DAT"), joined(records));
    const ProgramRun run = run_program(dir, answers(name + ".DAT", name + ".OUT"));
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_EQ(run.errors, "");
    const std::string report = read_bytes(dir / (name + ".OUT"));
    EXPECT_TRUE(report.ends_with(message)) << report.substr(report.size() - 300);
    EXPECT_TRUE(run.console.ends_with(message));
    EXPECT_FALSE(contains(report, "DENEYİ NO. 2")) << "no further test is read";
    if (c.reference_records == 0) continue;
    std::vector<std::string> expected =
        records_of(read_input(kData + "reference/" + name + ".OUT"));
    ASSERT_GT(expected.size(), c.reference_records);
    expected.resize(c.reference_records);
    EXPECT_EQ(report, joined(expected) + message);
  }
}

TEST(Program, NegativeShearDisplacementIsWarnedAtTheEndOfTheRun) {
  TempDir dir;
  std::vector<std::string> records = data_records(kData + "SERIES3.DAT");
  for (std::size_t k : {12U, 13U, 14U}) set_horizontal_gauge(records[k], "100");
  write_bytes(dir / "S.DAT", joined(records));
  const ProgramRun run = run_program(dir, answers("S.DAT", "S.OUT"));
  EXPECT_EQ(run.status, 0) << run.errors;
  const std::string report = read_bytes(dir / "S.OUT");
  const std::string heading = "******** UYARI ********";
  const std::size_t warning = report.find(heading);
  ASSERT_NE(warning, std::string::npos);
  EXPECT_LT(report.find("KORELASYON"), warning) << "after the strength analysis";
  const std::vector<std::string> lines = records_of(report.substr(warning));
  ASSERT_EQ(lines.size(), 6U);
  EXPECT_EQ(lines[2].substr(lines[2].find_first_not_of(' ')), "1") << "test 1 only";
  EXPECT_TRUE(contains(lines[5], "EKSİ KESME ÖTELENMESİ VAR."));
  // On the console, between two lines of asterisks.
  std::string stars = "    ";
  for (int k = 0; k < 24; ++k) stars += "*  ";
  const std::size_t on_console = run.console.find(heading);
  ASSERT_NE(on_console, std::string::npos);
  EXPECT_NE(run.console.rfind(stars, on_console), std::string::npos);
  EXPECT_TRUE(run.console.ends_with(stars + "\r\n\r\n\r\n\r\n"));
}

TEST(Program, ValuesThatCannotBeComputedAreWarnedOfByTest) {
  TempDir dir;
  std::vector<std::string> records = data_records(kData + "SERIES3.DAT");
  set_field(records[31], 5, "3E38");  // WSPPTM of test 2: its densities overflow
  write_bytes(dir / "S.DAT", joined(records));
  const ProgramRun run = run_program(dir, answers("S.DAT", "S.OUT"));
  EXPECT_EQ(run.status, 0) << run.errors;
  const std::vector<std::string> report = records_of(read_bytes(dir / "S.OUT"));
  const std::string warning = codec::to_cp857(" *** UYARI: DENEY NO. 2 ");
  const auto line = std::find_if(report.begin(), report.end(),
                                 [&](const std::string& r) { return r.starts_with(warning); });
  ASSERT_NE(line, report.end());
  EXPECT_TRUE(contains(*line, "HESAPLANAMAYAN DEĞERLER")) << *line;
  EXPECT_NE(run.console.find(*line + "\r\n"), std::string::npos);
}

TEST(Program, FortyFirstTestIsRefusedAndTheFortyAreAnalysed) {
  TempDir dir;
  const std::vector<std::string> series = data_records(kData + "SERIES3.DAT");
  // Constants block, then tests 1 and 2 of the series in turn, each followed by a title.
  std::vector<std::string> records(series.begin(), series.begin() + 3);
  std::vector<std::string> first(series.begin() + 3, series.begin() + 28);
  std::vector<std::string> second(series.begin() + 28, series.begin() + 55);
  set_field(second[4], 7, "0");  // PFIXDR: no new constants block
  for (int test = 1; test <= 41; ++test) {
    const auto& body = test % 2 == 1 ? first : second;
    records.insert(records.end(), body.begin(), body.end());
  }
  write_bytes(dir / "MANY.DAT", joined(records));
  const ProgramRun run = run_program(dir, answers("MANY.DAT", "MANY.OUT"));
  EXPECT_EQ(run.status, 1) << run.errors;
  EXPECT_EQ(run.errors, "");
  const std::string report = read_bytes(dir / "MANY.OUT");
  const std::string refusal = " *** DENEY NO. 41: NTEST = 41 ;";
  const std::size_t at = report.find(refusal);
  ASSERT_NE(at, std::string::npos);
  EXPECT_NE(report.find("KORELASYON", at), std::string::npos) << "strength analysis after it";
  EXPECT_NE(run.console.find(refusal), std::string::npos);
}

TEST(Program, FileWhoseLastTestAsksForNewConstantsEndsCleanly) {
  TempDir dir;
  fs::copy_file(kData + "SERIES3.DAT", dir / "S3.DAT");
  fs::copy_file(kTestData + "driver-pfixdr1-last.DAT", dir / "P.DAT");
  const ProgramRun plain = run_program(dir, answers("S3.DAT", "S3.OUT"));
  const ProgramRun run = run_program(dir, answers("P.DAT", "P.OUT"));
  ASSERT_EQ(plain.status, 0) << plain.errors;
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.console, plain.console.substr(0, run.console.size()));

  // The reports differ in the file names of the title and the echo of PFIXDR of test 4.
  const std::vector<std::string> expected = records_of(read_bytes(dir / "S3.OUT"));
  const std::vector<std::string> actual = records_of(read_bytes(dir / "P.OUT"));
  ASSERT_EQ(actual.size(), expected.size());
  std::vector<std::size_t> differing;
  for (std::size_t k = 1; k < actual.size(); ++k) {
    if (actual[k] != expected[k]) differing.push_back(k);
  }
  ASSERT_EQ(differing.size(), 1U);
  EXPECT_EQ(actual[differing[0]].rfind(" PFIXDR= 1.", 0), 0U) << actual[differing[0]];
}

TEST(Program, CheckOnlyFileWithAConstantsBlockForEveryTestEndsCleanly) {
  TempDir dir;
  fs::copy_file(kTestData + "driver-all-pfixdr1.DAT", dir / "C.DAT");
  const ProgramRun run = run_program(dir, answers("C.DAT", "C.OUT"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  const std::string report = read_bytes(dir / "C.OUT");
  const std::string general = codec::to_cp857("GENEL DEĞERLER");
  const std::size_t second_block = report.find(general, report.find(general) + 1);
  ASSERT_NE(second_block, std::string::npos);
  EXPECT_NE(report.find(codec::to_cp857("DENEYİ NO. 2"), second_block), std::string::npos);
  // The last row of the check of test 2, and the four empty lines of the title block that
  // found the end of the file.
  EXPECT_TRUE(
      report.ends_with("    9.24     0.00     0.00     0.38     0.00     0.00     0.14\r\n"
                       "\r\n\r\n\r\n\r\n"))
      << report.substr(report.size() - 200);
}

}  // namespace
}  // namespace ostrevik::testing
