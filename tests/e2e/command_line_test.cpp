// The program run with arguments, as scripts and engineers run it: options, batches of data
// files, report names, existing reports, encodings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "driver/run_program.h"
#include "export/xml_tree.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(OSTREVIK_SHARED_DIR) / "data";

std::string reference(const std::string& name) {
  return read_bytes(kData / "reference" / name);
}

// A sample data file copied to `path` inside `dir`, folders made as needed.
void place(const TempDir& dir, const std::string& sample, const std::string& path) {
  fs::create_directories((dir / path).parent_path());
  fs::copy_file(kData / sample, dir / path);
}

// The files in `dir` and below, by their paths relative to it.
std::vector<std::string> files_in(const TempDir& dir) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), dir.path()).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// A report without its title line (the names of the two files).
std::string after_title(const std::string& report) {
  return report.substr(std::min(report.find("\r\n"), report.size()));
}

// The title line of a report, as the names of the two files appear in it (CP857).
std::string title_names(const std::string& report_name, const std::string& data_name) {
  return " *** " + report_name + " :  " + data_name + " VER";
}

TEST(CommandLine, HelpVersionAndArgumentsThatCannotBeTaken) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string output_start;  // standard output begins with it
    std::string error;         // standard error, whole
  };
  const std::string see_help = " (see ostrevik --help)\n";
  const Case cases[] = {
      {{"--help"}, 0, "Usage: ostrevik [OPTIONS] DATA...\n", ""},
      {{"S1.DAT", "-h"}, 0, "Usage: ostrevik [OPTIONS] DATA...\n", ""},
      {{"--version"}, 0, "ostrevik 2026.1\n", ""},
      {{"-V"}, 0, "ostrevik 2026.1\n", ""},
      {{"-x", "S1.DAT"}, 2, "", "ostrevik: unknown option '-x'" + see_help},
      {{"S1.DAT", "--fast"}, 2, "", "ostrevik: unknown option '--fast'" + see_help},
      {{"-q"}, 2, "", "ostrevik: no data file given" + see_help},
      {{"S1.DAT", "-o"}, 2, "", "ostrevik: option '-o' needs a value" + see_help},
      {{"--force=yes", "S1.DAT"}, 2, "", "ostrevik: option '--force' takes no value" + see_help},
      {{"--encoding", "latin1", "S1.DAT"},
       2,
       "",
       "ostrevik: unknown report encoding 'latin1' (cp857 or utf-8)" + see_help},
      {{"-o", "A.OUT", "S1.DAT", "S2.DAT"},
       2,
       "",
       "ostrevik: option '-o' names the report of one data file, but 2 were given" + see_help},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    TempDir dir;
    place(dir, "FULL1.DAT", "S1.DAT");
    place(dir, "FULL1.DAT", "S2.DAT");
    const ProgramRun run = run_with_arguments(dir, c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(run.console.starts_with(c.output_start)) << run.console;
    EXPECT_EQ(run.errors, c.error);
    EXPECT_EQ(files_in(dir), (std::vector<std::string>{"S1.DAT", "S2.DAT"}));
  }
}

// One invocation over several data files: each report named after its data file and exact, one
// summary line each, the highest status; then the same again, replaced, without summaries.
TEST(CommandLine, BatchOfDataFilesWithDerivedReportNames) {
  TempDir dir;
  const std::string deep = "lab results of the spring campaign/borehole 7";
  place(dir, "FULL1.DAT", "FULL1.DAT");
  place(dir, "SERIES3.DAT", deep + "/NB2_final_v2.DAT");
  place(dir, "CHECK.DAT", "lower/check.dat");
  // Test 2 of a series refused for its shear-plane angle of 90 degrees.
  std::vector<std::string> records = records_of(read_bytes(kData / "SERIES3.DAT"));
  records[31].replace(0, 8, "    90.0");
  std::string refused;
  for (const std::string& r : records) refused += r + "\r\n";
  write_bytes(dir / "R.DAT", refused);
  const std::vector<std::string> files = {"FULL1.DAT", deep + "/NB2_final_v2.DAT",
                                          "lower/check.dat", "R.DAT"};

  const ProgramRun run = run_with_arguments(dir, files);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), reference("FULL1.OUT"));
  const std::string series = read_bytes(dir / (deep + "/NB2_final_v2.OUT"));
  EXPECT_TRUE(series.starts_with(title_names("NB2_final_v2", "NB2_final_v2")));
  EXPECT_EQ(after_title(series), after_title(reference("SERIES3.OUT")));
  const std::string check = read_bytes(dir / "lower/check.out");
  EXPECT_TRUE(check.starts_with(title_names("check.out   ", "check.dat   ")));
  EXPECT_EQ(after_title(check), after_title(reference("CHECK.OUT")));
  const std::string refusal =
      codec::to_cp857(" *** DENEY NO. 2: ALFN = 90 (SATIR 32, SÜTUN 1-8) ;");
  EXPECT_NE(read_bytes(dir / "R.OUT").find(refusal), std::string::npos);

  // The envelope's figures are those of the report's COHESN and PHILRG rows (case 1).
  const std::string counts = ": 1 evaluated, 0 checked only, 0 refused, 0 at the iteration limit";
  const std::vector<std::string> expected_console = {
      "FULL1.DAT -> FULL1.OUT" + counts,
      deep + "/NB2_final_v2.DAT -> " + deep + "/NB2_final_v2.OUT" +
          ": 4 evaluated, 0 checked only, 0 refused, 0 at the iteration limit; "
          "peak envelope c = 24.716 kPa, phi = 27.891 deg",
      "lower/check.dat -> lower/check.out: 0 evaluated, 2 checked only, 0 refused, 0 at the "
      "iteration limit",
      refusal,
      "R.DAT -> R.OUT: 1 evaluated, 0 checked only, 1 refused, 0 at the iteration limit",
  };
  std::vector<std::string> console = records_of(run.console);
  ASSERT_EQ(console.size(), expected_console.size()) << run.console;
  console[3].resize(refusal.size());
  EXPECT_EQ(console, expected_console);
  EXPECT_NE(series.find(" 24.716 "), std::string::npos);
  EXPECT_NE(series.find(" 27.891 "), std::string::npos);

  std::vector<std::string> again = {"-q", "--force"};
  again.insert(again.end(), files.begin(), files.end());
  const ProgramRun quiet = run_with_arguments(dir, again);
  EXPECT_EQ(quiet.status, 1);
  EXPECT_EQ(records_of(quiet.console).size(), 1U) << "only the refusal";
  EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), reference("FULL1.OUT"));
}

// --html writes NAME.html beside the report, dated by SOURCE_DATE_EPOCH; the report is the same.
// A data file or report named NAME.html is never replaced by the page: it goes to NAME.OUT.html.
TEST(CommandLine, HtmlPageBesideTheReport) {
  TempDir dir;
  place(dir, "SERIES5.DAT", "lab/SERIES5.DAT");
  place(dir, "FULL1.DAT", "odd/F.html");
  ::setenv("SOURCE_DATE_EPOCH", "0", 1);
  const ProgramRun run = run_with_arguments(dir, {"-q", "--html", "lab/SERIES5.DAT", "odd/F.html"});
  ::unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(files_in(dir),
            (std::vector<std::string>{"lab/SERIES5.DAT", "lab/SERIES5.OUT", "lab/SERIES5.html",
                                      "odd/F.html", "odd/F.out", "odd/F.out.html"}));
  EXPECT_EQ(read_bytes(dir / "odd/F.html"), read_bytes(kData / "FULL1.DAT"));
  EXPECT_EQ(after_title(read_bytes(dir / "lab/SERIES5.OUT")),
            after_title(reference("SERIES5.OUT")));
  for (const char* page_file : {"lab/SERIES5.html", "odd/F.out.html"}) {
    const std::string page = read_bytes(dir / page_file);
    EXPECT_NO_THROW(parse_xml(page)) << page_file;
    EXPECT_NE(page.find("1970-01-01 00:00 UTC"), std::string::npos);
    EXPECT_NE(page.find("ostrevik 2026.1"), std::string::npos);
  }
}

// --ags writes NAME.ags beside the report (never over a data file of that name) and tells on
// the console, after the summary line, that the keys were derived; the report is the same.
TEST(CommandLine, AgsFileBesideTheReport) {
  TempDir dir;
  place(dir, "SERIES3.DAT", "lab/SERIES3.DAT");
  place(dir, "FULL1.DAT", "odd/F.ags");
  ::setenv("SOURCE_DATE_EPOCH", "0", 1);
  const ProgramRun run = run_with_arguments(dir, {"--ags", "lab/SERIES3.DAT", "odd/F.ags"});
  ::unsetenv("SOURCE_DATE_EPOCH");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(files_in(dir),
            (std::vector<std::string>{"lab/SERIES3.DAT", "lab/SERIES3.OUT", "lab/SERIES3.ags",
                                      "odd/F.ags", "odd/F.out", "odd/F.out.ags"}));
  EXPECT_EQ(read_bytes(dir / "odd/F.ags"), read_bytes(kData / "FULL1.DAT"));
  EXPECT_EQ(after_title(read_bytes(dir / "lab/SERIES3.OUT")),
            after_title(reference("SERIES3.OUT")));
  const std::vector<std::string> console = records_of(run.console);
  ASSERT_EQ(console.size(), 4U) << run.console;
  EXPECT_TRUE(console[1].starts_with("  AGS: no series file gave")) << console[1];
  EXPECT_NE(console[1].find("SERIES3.DAT and the test numbers"), std::string::npos);
  EXPECT_TRUE(read_bytes(dir / "lab/SERIES3.ags").find("\"1970-01-01\"") != std::string::npos);
}

TEST(CommandLine, ExistingReportsReplacedOnlyWithForceAndNeverLost) {
  const std::string old = "an older complete report\r\n";
  const std::string bad = "BAD.DAT";  // FULL1 cut short in its readings
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> errors;   // lines of standard error
    std::vector<std::string> console;  // lines of standard output
    std::string old_report;            // the file that held `old` before the run
    bool old_kept;                     // it still does
    std::vector<std::string> files;    // every file afterwards
  };
  const std::string counts = "0 checked only, 0 refused, 0 at the iteration limit";
  const Case cases[] = {
      {{"FULL1.DAT", "SERIES3.DAT"},
       2,
       {"file already exists, unit 6, file FULL1.OUT (-f replaces it)"},
       {"FULL1.DAT: fatal error, no report written",
        "SERIES3.DAT -> SERIES3.OUT: 4 evaluated, " + counts +
            "; peak envelope c = 24.716 kPa, phi = 27.891 deg"},
       "FULL1.OUT",
       true,
       {"BAD.DAT", "FULL1.DAT", "FULL1.OUT", "SERIES3.DAT", "SERIES3.OUT"}},
      {{"-f", "FULL1.DAT"},
       0,
       {},
       {"FULL1.DAT -> FULL1.OUT: 1 evaluated, " + counts},
       "FULL1.OUT",
       false,
       {"BAD.DAT", "FULL1.DAT", "FULL1.OUT", "SERIES3.DAT"}},
      {{"FULL1.DAT", "--force", "-o", "OLD.OUT"},
       0,
       {},
       {"FULL1.DAT -> OLD.OUT: 1 evaluated, " + counts},
       "OLD.OUT",
       false,
       {"BAD.DAT", "FULL1.DAT", "OLD.OUT", "SERIES3.DAT"}},
      // A fatal error in the middle of a batch: the old report stays, what was written is kept
      // apart, the next file is evaluated.
      {{"FULL1.DAT", bad, "--force", "SERIES3.DAT"},
       2,
       {"end-of-file during read, unit 5, file BAD.DAT: line 13",
        "what was written before the error is kept in BAD.OUT.partial; BAD.OUT was left as it "
        "was"},
       {"FULL1.DAT -> FULL1.OUT: 1 evaluated, " + counts,
        "BAD.DAT -> BAD.OUT.partial (incomplete): 0 evaluated, " + counts + "; fatal error",
        "SERIES3.DAT -> SERIES3.OUT: 4 evaluated, " + counts +
            "; peak envelope c = 24.716 kPa, phi = 27.891 deg"},
       "BAD.OUT",
       true,
       {"BAD.DAT", "BAD.OUT", "BAD.OUT.partial", "FULL1.DAT", "FULL1.OUT", "SERIES3.DAT",
        "SERIES3.OUT"}},
      // A report named like its data file would replace it.
      {{"-f", "FULL1.OUT"},
       2,
       {"the report would replace its own data file, unit 6, file FULL1.OUT"},
       {"FULL1.OUT: fatal error, no report written"},
       "FULL1.OUT",
       true,
       {"BAD.DAT", "FULL1.DAT", "FULL1.OUT", "SERIES3.DAT"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    TempDir dir;
    place(dir, "FULL1.DAT", "FULL1.DAT");
    place(dir, "SERIES3.DAT", "SERIES3.DAT");
    const std::string full = read_bytes(dir / "FULL1.DAT");
    write_bytes(dir / bad, full.substr(0, full.find("\r\n", 600)));
    write_bytes(dir / c.old_report, old);
    const ProgramRun run = run_with_arguments(dir, c.args);
    EXPECT_EQ(run.status, c.status);
    std::string errors;
    for (const std::string& line : c.errors) errors += line + "\n";
    EXPECT_EQ(run.errors, errors);
    EXPECT_EQ(records_of(run.console), c.console);
    EXPECT_EQ(read_bytes(dir / c.old_report) == old, c.old_kept);
    EXPECT_EQ(files_in(dir), c.files);
    if (fs::exists(dir / "OLD.OUT")) {
      EXPECT_EQ(after_title(read_bytes(dir / "OLD.OUT")), after_title(reference("FULL1.OUT")));
    }
    if (fs::exists(dir / "BAD.OUT.partial")) {
      const std::string partial = read_bytes(dir / "BAD.OUT.partial");
      EXPECT_TRUE(partial.starts_with(title_names("BAD.OUT     ", "BAD.DAT     ")));
      EXPECT_TRUE(after_title(reference("FULL1.OUT")).starts_with(after_title(partial)));
    }
  }
}

TEST(CommandLine, EncodingsOfReportAndDataFile) {
  TempDir dir;
  place(dir, "SERIES3.DAT", "S.DAT");
  const ProgramRun utf8_report = run_with_arguments(dir, {"--encoding=utf-8", "-q", "S.DAT"});
  EXPECT_EQ(utf8_report.status, 0);
  EXPECT_EQ(after_title(read_bytes(dir / "S.OUT")),
            codec::cp857_to_utf8(after_title(reference("SERIES3.OUT"))));

  // Typed in a modern editor: the Turkish titles in UTF-8, in the dialogue and on the command
  // line alike.
  fs::create_directory(dir / "u");
  write_bytes(dir / "u/SERIES3.DAT", codec::cp857_to_utf8(read_bytes(kData / "SERIES3.DAT")));
  EXPECT_EQ(run_with_arguments(dir, {"-q", "u/SERIES3.DAT"}).status, 0);
  EXPECT_EQ(read_bytes(dir / "u/SERIES3.OUT"), reference("SERIES3.OUT"));
  fs::rename(dir / "u/SERIES3.DAT", dir / "SERIES3.DAT");
  EXPECT_EQ(run_program(dir, answers("SERIES3.DAT", "SERIES3.OUT")).status, 0);
  EXPECT_EQ(read_bytes(dir / "SERIES3.OUT"), reference("SERIES3.OUT"));

  // A tab where the columns want blanks.
  std::string tabbed = read_bytes(kData / "FULL1.DAT");
  tabbed.replace(tabbed.find("   3.397"), 3, "\t");
  write_bytes(dir / "T.DAT", tabbed);
  const ProgramRun run = run_with_arguments(dir, {"-q", "T.DAT"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors,
            "input conversion error, unit 5, file T.DAT: line 3, columns 1-8: \"<TAB>3.397  \" (a "
            "tab: fixed-column records need spaces)\nwhat was written before the error is kept "
            "in T.OUT.partial; T.OUT was not written\n");
}

TEST(CommandLine, NotesAndCsvFilesBesideTheReport) {
  TempDir dir;
  // Reading 13 of FULL1 with its load reading typed a digit short: 34 for 341.
  std::vector<std::string> records = records_of(read_bytes(kData / "FULL1.DAT"));
  ASSERT_EQ(records[20].substr(40, 7), "    341");
  records[20].replace(40, 7, "     34");
  std::string slipped;
  for (const std::string& r : records) slipped += r + "\r\n";
  write_bytes(dir / "SLIP.DAT", slipped);
  write_bytes(dir / "CUT.DAT", slipped.substr(0, slipped.size() / 2));

  const ProgramRun run = run_with_arguments(dir, {"--csv", "SLIP.DAT", "CUT.DAT"});
  EXPECT_EQ(run.status, 2);
  const std::vector<std::string> console = records_of(run.console);
  ASSERT_EQ(console.size(), 3U) << run.console;
  EXPECT_TRUE(console[0].starts_with("SLIP.DAT -> SLIP.OUT: 1 evaluated"));
  EXPECT_TRUE(console[1].starts_with(codec::to_cp857("  DENEY 1, OKUMA 13: Yük okuması P = ")))
      << console[1];
  EXPECT_TRUE(console[2].starts_with("CUT.DAT -> CUT.OUT.partial (incomplete)"));
  // The exports go with a complete report only; what was written of one cut short is kept apart.
  EXPECT_EQ(files_in(dir),
            (std::vector<std::string>{"CUT.DAT", "CUT.OUT.partial", "SLIP.DAT", "SLIP.OUT",
                                      "SLIP.readings.csv", "SLIP.tests.csv"}));
  EXPECT_NE(read_bytes(dir / "SLIP.tests.csv").find(",OKUMA 13: Yük okuması P = "),
            std::string::npos);
}

}  // namespace
}  // namespace ostrevik::testing
