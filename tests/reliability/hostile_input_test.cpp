// Hand-typed data files gone wrong, run through the program as the user runs it: every one ends
// with a report or a clear message, never with a crash, a hang or letters in a number field, and
// the report keeps everything written before a fatal error.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

using Records = std::vector<std::string>;

const fs::path kData = fs::path(OSTREVIK_SHARED_DIR) / "data";

std::string joined(const Records& records, const std::string& line_end = "\r\n") {
  std::string bytes;
  for (const std::string& r : records) bytes += r + line_end;
  return bytes;
}

// Replaces columns `first` to `last` (from 1) of a record, right-justifying the value.
void set_columns(std::string& record, std::size_t first, std::size_t last,
                 const std::string& value) {
  if (record.size() < last) record.resize(last, ' ');
  const std::size_t width = last - first + 1;
  record.replace(first - 1, width, std::string(width - value.size(), ' ') + value);
}

// Field 1 to 9 of a record read under "(9F8.0)".
void set_field(std::string& record, std::size_t field, const std::string& value) {
  set_columns(record, field * 8 - 7, field * 8, value);
}

// The program in a fresh directory on data file X.DAT and report X.OUT; a run that outlives the
// time limit counts as a hang (exit status 124).
struct Outcome {
  int status = -1;
  std::string errors;
  std::string console;
  std::string report;
  bool report_exists = false;
  fs::file_time_type report_time;
};

Outcome run_on(const std::function<void(const TempDir&)>& prepare) {
  TempDir dir;
  prepare(dir);
  write_bytes(dir / "answers.txt", "X.DAT\nX.OUT\n");
  const std::string command = "cd '" + dir.path().string() + "' && timeout 60 '" + OSTREVIK_BINARY +
                              "' <answers.txt >console.txt 2>errors.txt";
  const int wait_status = std::system(command.c_str());
  Outcome out;
  out.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  out.errors = read_bytes(dir / "errors.txt");
  out.console = read_bytes(dir / "console.txt");
  out.report_exists = fs::exists(dir / "X.OUT");
  out.report = read_bytes(dir / "X.OUT");
  if (out.report_exists) out.report_time = fs::last_write_time(dir / "X.OUT");
  return out;
}

Outcome run_data(const std::string& bytes) {
  return run_on([&](const TempDir& dir) { write_bytes(dir / "X.DAT", bytes); });
}

// A sample data file, or one of the test data files of this project ("driver-...").
Records sample(const std::string& name) {
  const fs::path folder = name.starts_with("driver-") ? fs::path(OSTREVIK_TEST_DATA) : kData;
  return records_of(read_input(folder / (name + ".DAT")));
}

// The report of the unchanged sample under the same file names.
const std::string& full_report(const std::string& name) {
  static std::map<std::string, std::string> reports;
  auto found = reports.find(name);
  if (found == reports.end()) {
    found = reports.emplace(name, run_data(joined(sample(name))).report).first;
  }
  return found->second;
}

std::string first_line(const std::string& text) {
  return text.substr(0, text.find('\n'));
}

std::string last_record(const std::string& bytes) {
  const Records records = records_of(bytes);
  return records.empty() ? std::string() : records.back();
}

enum class Expect {
  Fatal,    // exit status 2, message on standard error, report a prefix of the full one
  Refused,  // exit status 1, the refusal as the last record of report and console
  Normal,   // exit status 0, report identical to the full one
};

struct Case {
  const char* kind;
  const char* sample;
  std::function<std::string(Records)> data;
  Expect expect;
  std::string message;      // start of the first error line, or of the refusal record (UTF-8)
  bool prefix_kept = true;  // the report up to a fatal error is the start of the full one
};

// Applies an edit to record `line` (from 1) of the sample and joins the records.
std::function<std::string(Records)> edit(std::size_t line,
                                         std::function<void(std::string&)> change) {
  return [line, change](Records r) {
    change(r.at(line - 1));
    return joined(r);
  };
}
std::function<std::string(Records)> field(std::size_t line, std::size_t n, std::string value) {
  return edit(line, [n, value](std::string& r) { set_field(r, n, value); });
}
std::function<std::string(Records)> columns(std::size_t line, std::size_t first, std::size_t last,
                                            std::string value) {
  return edit(line, [first, last, value](std::string& r) { set_columns(r, first, last, value); });
}
std::function<std::string(Records)> first_records(std::size_t count) {
  return [count](Records r) {
    r.resize(count);
    return joined(r);
  };
}

const std::string kConversion = "input conversion error, unit 5, file X.DAT: line ";
const std::string kEndOfFile = "end-of-file during read, unit 5, file X.DAT: line ";

std::vector<Case> cases() {
  return {
      // Letters in each kind of record: the record, its columns and text are named.
      {"letter in flags", "FULL1", field(1, 2, "x"), Expect::Fatal,
       kConversion + "1, columns 9-16: \"       x\""},
      {"letter in frame", "FULL1", field(2, 3, "0.O55"), Expect::Fatal,
       kConversion + "2, columns 17-24: \"   0.O55\""},
      {"letter in lateral", "LATERAL", field(4, 5, "l.35"), Expect::Fatal,
       kConversion + "4, columns 33-40"},
      {"letter in specimen", "FULL1", field(7, 2, "8.3T"), Expect::Fatal,
       kConversion + "7, columns 9-16"},
      {"comma in soil record", "TYPFRA1", field(9, 2, "2,63"), Expect::Fatal,
       kConversion + "9, columns 9-16"},
      {"letter in mould", "PFIXDR", field(35, 5, "38.7a"), Expect::Fatal,
       kConversion + "35, columns 33-40"},
      {"letter in gauge", "FULL1", columns(10, 17, 24, "1e4x"), Expect::Fatal,
       kConversion + "10, columns 17-24"},
      {"letter in hour", "FULL1", columns(10, 1, 4, "l5"), Expect::Fatal,
       kConversion + "10, columns 1-4"},
      {"letter in flag I1", "FULL1", columns(10, 48, 48, "x"), Expect::Fatal,
       kConversion + "10, column 48: \"x\""},
      {"byte 0xFF in number", "FULL1",
       field(7, 2,
             "\xFF"
             "8.37"),
       Expect::Fatal, kConversion + "7, columns 9-16"},
      {"NUL in number", "FULL1",
       field(7, 2,
             std::string("\0"
                         "8.37",
                         5)),
       Expect::Fatal, kConversion + "7, columns 9-16"},
      {"beyond a float", "FULL1", field(7, 5, "1e39"), Expect::Fatal,
       kConversion + "7, columns 33-40"},
      // Files that end too early, in each kind of record.
      {"empty file", "FULL1", first_records(0), Expect::Fatal, kEndOfFile + "1"},
      {"no frame records", "FULL1", first_records(1), Expect::Fatal, kEndOfFile + "2"},
      {"one frame record", "FULL1", first_records(2), Expect::Fatal, kEndOfFile + "3"},
      {"no lateral record", "LATERAL", first_records(3), Expect::Fatal, kEndOfFile + "4"},
      {"no specimen records", "FULL1", first_records(6), Expect::Fatal, kEndOfFile + "7"},
      {"one specimen record", "FULL1", first_records(7), Expect::Fatal, kEndOfFile + "8"},
      {"no soil record", "TYPFRA1", first_records(8), Expect::Fatal, kEndOfFile + "9"},
      {"no mould record", "PFIXDR", first_records(34), Expect::Fatal, kEndOfFile + "35"},
      {"readings cut short", "FULL1", first_records(19), Expect::Fatal, kEndOfFile + "20"},
      {"cut inside a reading", "FULL1",
       [](Records r) {
         return joined({r.begin(), r.begin() + 12}) + r[12].substr(0, 10);
       },
       Expect::Fatal, kEndOfFile + "14"},
      {"blank line before the data", "FULL1", [](Records r) { return "\r\n" + joined(r); },
       Expect::Fatal, kConversion + "7, columns 1-8: \"REMOULDE\"", false},
      // The blank record is read as the flags of a further test, whose frame records are missing.
      {"blank line after a last test with PFIXDR 1", "driver-all-pfixdr1",
       [](Records r) { return joined(r) + "\r\n"; }, Expect::Fatal, kEndOfFile + "52"},
      // Counts and angles outside what a test can be.
      {"RNREAD 0", "FULL1", field(8, 9, "0"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = 0 (SATIR 8, SÜTUN 65-72) ;"},
      {"RNREAD 1", "FULL1", field(8, 9, "1"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = 1 (SATIR 8, SÜTUN 65-72) ;"},
      // Record 6a is announced, so the first readings record is taken for it: "  15  33".
      {"RNREAD 41 without soil record", "FULL1", field(8, 9, "41"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = 1533 (SATIR 9, SÜTUN 1-8) ;"},
      {"RNREAD 1000", "FULL1", field(8, 9, "1000"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = 1533 (SATIR 9, SÜTUN 1-8) ;"},
      {"RNREAD 99 in soil record", "TYPFRA1", field(9, 1, "99"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = 99 (SATIR 9, SÜTUN 1-8) ;"},
      {"RNREAD negative", "FULL1", field(8, 9, "-5"), Expect::Refused,
       " *** DENEY NO. 1: NREAD = -5 (SATIR 8, SÜTUN 65-72) ;"},
      {"ALFN 0", "FULL1", field(7, 1, "0"), Expect::Refused,
       " *** DENEY NO. 1: ALFN = 0 (SATIR 7, SÜTUN 1-8) ;"},
      {"ALFN 90", "FULL1", field(7, 1, "90"), Expect::Refused,
       " *** DENEY NO. 1: ALFN = 90 (SATIR 7, SÜTUN 1-8) ;"},
      {"ALFN negative", "FULL1", field(7, 1, "-30"), Expect::Refused,
       " *** DENEY NO. 1: ALFN = -30 (SATIR 7, SÜTUN 1-8) ;"},
      {"DIAIN 0", "FULL1", field(7, 2, "0"), Expect::Refused,
       " *** DENEY NO. 1: DIAIN = 0 (SATIR 7, SÜTUN 9-16) ;"},
      {"DIAIN beyond DIAOUT", "FULL1", field(7, 2, "12"), Expect::Refused,
       " *** DENEY NO. 1: DIAIN = 12 (SATIR 7, SÜTUN 9-16) ; DIAOUT DEĞERİNDEN KÜÇÜK OLMALIDIR."},
      {"DIAIN equal to DIAOUT", "FULL1", field(7, 2, "8.9"), Expect::Refused,
       " *** DENEY NO. 1: DIAIN = 8.9 (SATIR 7, SÜTUN 9-16) ;"},
      {"DIAOUT 0", "PFIXDR", field(35, 1, "0"), Expect::Refused,
       " *** DENEY NO. 2: DIAOUT = 0 (SATIR 35, SÜTUN 1-8) ;"},
      {"mould height 0", "PFIXDR", field(35, 5, "0"), Expect::Refused,
       " *** DENEY NO. 2: VOLSOL = -144.25943 ;"},
      {"GS 0", "TYPFRA1", field(9, 2, "0"), Expect::Refused, " *** DENEY NO. 1: SATINL = -0 ;"},
      {"WCINL -1", "TYPFRA1", field(9, 3, "-1"), Expect::Refused,
       " *** DENEY NO. 1: WCINL = -1 (SATIR 9, SÜTUN 17-24) ;"},
      // A zero mould height times an overflowing area: the volume cannot be computed.
      {"volume not a number", "FULL1",
       [](Records r) {
         set_field(r[6], 2, "1e20");
         set_field(r[6], 6, "34.1");
         set_field(r[6], 7, "0");
         return joined(r);
       },
       Expect::Refused, " *** DENEY NO. 1: VOLSOL = ******** ;"},
      {"huge ALFN", "FULL1", field(7, 1, "1e30"), Expect::Refused,
       " *** DENEY NO. 1: ALFN = 1e+30 (SATIR 7, SÜTUN 1-8) ;"},
      {"gauge 9999999", "FULL1", columns(13, 9, 16, "9999999"), Expect::Refused,
       " İTERASYON SAYISI 16 YI GEÇİYOR."},
      // Harmless for the evaluation.
      {"LF-only line ends", "FULL1", [](Records r) { return joined(r, "\n"); }, Expect::Normal, ""},
      {"CR-only line ends", "FULL1", [](Records r) { return joined(r, "\r"); }, Expect::Normal, ""},
      {"10 MB of blanks after a reading", "FULL1", columns(20, 73, 10'000'000, ""), Expect::Normal,
       ""},
  };
}

bool has_letters_for_numbers(const std::string& bytes) {
  return bytes.find("nan") != std::string::npos || bytes.find("inf") != std::string::npos;
}

TEST(HostileInput, EveryKindEndsWithAClearOutcome) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.kind);
    const Outcome out = run_data(c.data(sample(c.sample)));
    const std::string& full = full_report(c.sample);
    EXPECT_FALSE(has_letters_for_numbers(out.report));
    switch (c.expect) {
      case Expect::Fatal:
        EXPECT_EQ(out.status, 2);
        EXPECT_TRUE(first_line(out.errors).starts_with(c.message)) << out.errors;
        // Everything written before the error is kept, up to the last whole record.
        EXPECT_TRUE(out.report.ends_with("\r\n"));
        EXPECT_GE(out.report.size(), full.find("\r\n\r\n") + 4);
        if (c.prefix_kept) {
          EXPECT_EQ(out.report, full.substr(0, out.report.size()));
        }
        break;
      case Expect::Refused:
        EXPECT_EQ(out.status, 1);
        EXPECT_EQ(out.errors, "");
        EXPECT_TRUE(last_record(out.report).starts_with(codec::to_cp857(c.message)))
            << last_record(out.report);
        EXPECT_EQ(last_record(out.console), last_record(out.report));
        break;
      case Expect::Normal:
        EXPECT_EQ(out.status, 0);
        EXPECT_EQ(out.errors, "");
        EXPECT_EQ(out.report, full);
        break;
    }
  }
}

// A title line of any bytes is echoed as read, cut at column 80; nothing else changes.
TEST(HostileInput, TitleBytesOfAnyKindAreEchoedAsRead) {
  struct Title {
    const char* kind;
    std::string bytes;
    std::string echoed;  // in the report; empty: the bytes as read
  };
  const Title titles[] = {
      {"UTF-8 letters", "ŞİŞLİ ÇAĞLAYAN", codec::to_cp857("ŞİŞLİ ÇAĞLAYAN")},
      {"bytes 0xFF", std::string(90, '\xFF'), ""},
      {"10 MB line", std::string(10'000'000, 'A'), ""},
      {"control bytes", std::string("\x01\x1A\x7F\t\f", 5), ""},
  };
  const Records full = records_of(full_report("FULL1"));
  for (const Title& t : titles) {
    SCOPED_TRACE(t.kind);
    Records data = sample("FULL1");
    data[3] = t.bytes;
    const auto start = std::chrono::steady_clock::now();
    const Outcome out = run_data(joined(data));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(out.status, 0) << out.errors;
    const Records report = records_of(out.report);
    ASSERT_EQ(report.size(), full.size());
    int changed = 0;
    for (std::size_t k = 0; k < full.size(); ++k) {
      if (report[k] == full[k]) continue;
      ++changed;
      const std::string& echoed = t.echoed.empty() ? t.bytes : t.echoed;
      EXPECT_NE(report[k].find(echoed.substr(0, 80)), std::string::npos) << report[k];
    }
    EXPECT_EQ(changed, 1);
  }
}

// A blank line after a test that ends the input at its title is read as a title: the input
// still ends normally, with one more echoed title line.
TEST(HostileInput, BlankLineAfterTheDataIsEchoedAsATitle) {
  const Outcome out = run_data(joined(sample("FULL1")) + "\r\n");
  EXPECT_EQ(out.status, 0);
  const std::string& full = full_report("FULL1");
  ASSERT_TRUE(out.report.starts_with(full));
  const std::string echo = out.report.substr(full.size());
  EXPECT_TRUE(echo.ends_with("\r\n"));
  EXPECT_EQ(echo.find_first_not_of(' '), echo.size() - 2) << "one record of blanks";
}

// Values that overflow or divide by zero where nothing guards them are written as asterisks,
// and one warning at the end of the run names the tests concerned.
TEST(HostileInput, ValuesThatCannotBeComputedAreAsterisksWithOneWarning) {
  struct Overflow {
    const char* kind;
    const char* sample;
    std::function<std::string(Records)> data;
    const char* tests;
  };
  const Overflow overflows[] = {
      // LYOK equal to the yoke reading DECLYK of test 2: its lever arm is zero.
      {"zero lateral lever arm", "LATERAL", field(4, 4, "0.56"), "DENEY NO. 2 "},
      {"specimen mass 1e38", "FULL1", field(7, 5, "1e38"), "DENEY NO. 1 "},
      {"gauge 1e30", "FULL1", columns(13, 9, 16, "1e30"), "DENEY NO. 1 "},
      // A constants block and nothing after it: its frame masses overflow.
      {"constants block alone", "FULL1",
       [](Records r) {
         r.resize(3);
         set_field(r[1], 2, "-1e38");
         return joined(r);
       },
       "DENEY NO. 1 "},
  };
  for (const Overflow& o : overflows) {
    SCOPED_TRACE(o.kind);
    const Outcome out = run_data(o.data(sample(o.sample)));
    EXPECT_EQ(out.status, 0) << out.errors;
    EXPECT_FALSE(has_letters_for_numbers(out.report));
    EXPECT_FALSE(has_letters_for_numbers(out.console));
    const std::string warning = codec::to_cp857(std::string(" *** UYARI: ") + o.tests +
                                                "ÇIKTISINDA HESAPLANAMAYAN DEĞERLER VAR");
    EXPECT_TRUE(last_record(out.report).starts_with(warning)) << last_record(out.report);
    EXPECT_EQ(last_record(out.console), last_record(out.report));
    std::size_t warnings = 0;
    for (const std::string& r : records_of(out.report))
      warnings += r.find("UYARI") != std::string::npos;
    EXPECT_EQ(warnings, 1U);
    EXPECT_NE(out.report.find("*****"), std::string::npos);
  }
}

TEST(HostileInput, DirectoryAsDataFileIsNamedSoAndNoReportIsMade) {
  const Outcome out = run_on([](const TempDir& dir) { fs::create_directory(dir / "X.DAT"); });
  EXPECT_EQ(out.status, 2);
  EXPECT_EQ(first_line(out.errors), "cannot read data file, unit 5, file X.DAT: Is a directory");
  EXPECT_FALSE(out.report_exists);
}

// An existing report keeps its bytes and its time of last change, whatever the data file.
TEST(HostileInput, ExistingReportIsNeverModified) {
  const std::string kept = "an earlier report\r\n";
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
  for (const char* data : {"FULL1", "", "missing"}) {
    SCOPED_TRACE(data);
    const Outcome out = run_on([&](const TempDir& dir) {
      if (std::string(data) == "FULL1") write_bytes(dir / "X.DAT", joined(sample("FULL1")));
      if (std::string(data).empty()) write_bytes(dir / "X.DAT", "");
      write_bytes(dir / "X.OUT", kept);
      fs::last_write_time(dir / "X.OUT", old_time);
    });
    EXPECT_EQ(out.status, 2);
    if (std::string(data) != "missing") {
      EXPECT_EQ(first_line(out.errors), "file already exists, unit 6, file X.OUT");
    }
    EXPECT_EQ(out.report, kept);
    EXPECT_EQ(out.report_time, old_time);
  }
}

}  // namespace
}  // namespace ostrevik::testing
