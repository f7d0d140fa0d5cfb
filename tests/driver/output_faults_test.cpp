// The files of a command-line run under faults: runs at once on one data file, kills, links
// and folders where the run writes, closed or full standard streams, full disks, hostile data
// files and leftovers of stopped runs. Each row is a bash script run in a fresh folder that
// holds FULL1.DAT; $P is the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(OSTREVIK_SHARED_DIR) / "data";

struct ScriptRun {
  int status = -1;
  std::string errors;
};

ScriptRun run_script(const TempDir& dir, const std::string& script) {
  write_bytes(dir / "script.sh", "P='" + std::string(OSTREVIK_BINARY) + "'\n" + script + "\n");
  const std::string command =
      "cd '" + dir.path().string() + "' && bash script.sh </dev/null >stdout.txt 2>stderr.txt";
  const int wait_status = std::system(command.c_str());
  ScriptRun run{WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1,
                read_bytes(dir / "stderr.txt")};
  for (const char* name : {"script.sh", "stdout.txt", "stderr.txt"}) fs::remove(dir / name);
  return run;
}

// Names of the folder left by a run that are temporaries of the program.
std::vector<std::string> temporaries_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".new-") != std::string::npos || name.find(".ready-") != std::string::npos) {
      names.push_back(name);
    }
  }
  return names;
}

const std::string kOld = "an older file\r\n";

// A report without its title line (the names of the two files).
std::string after_title(const std::string& report) {
  return report.substr(std::min(report.find("\r\n"), report.size()));
}

TEST(OutputFaults, EveryOutputSetIsWholeOrLeftAsItWas) {
  const std::string report = read_input(kData / "reference/FULL1.OUT");
  struct Row {
    const char* name;
    std::string script;               // setup, then the run whose status is the script's
    int status;                       // the script's exit status
    std::vector<std::string> errors;  // lines standard error holds, in order; none: it is empty
    std::function<void(const TempDir&)> check;  // the folder afterwards
  };
  const auto report_is = [&report](const char* name) {
    return [&report, name](const TempDir& dir) { EXPECT_EQ(read_bytes(dir / name), report); };
  };
  const Row rows[] = {
      {"two -f runs at once, each complete",
       "for k in 1 2 3 4; do $P -f -q --html FULL1.DAT & $P -f -q --html FULL1.DAT; s=$?; wait $!"
       " || exit 9; [ $s = 0 ] || exit 8; done",
       0,
       {},
       report_is("FULL1.OUT")},
      {"two runs without -f at once: one takes the names, the other names the file and -f",
       "{ $P -q --html FULL1.DAT & $P -q --html FULL1.DAT; s=$?; wait $!; t=$?; } 2>err; "
       "[ $((s + t)) = 2 ] && grep -q 'FULL1.*(-f replaces it)' err",
       0,
       {},
       report_is("FULL1.OUT")},
      {"a CSV file never replaces the data file",
       "cp FULL1.DAT X.tests.csv; $P -q --csv -o X.OUT X.tests.csv",
       0,
       {},
       [](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "X.tests.csv"), read_bytes(dir / "FULL1.DAT"));
         EXPECT_TRUE(fs::exists(dir / "X.OUT.tests.csv"));
       }},
      {"links at the old temporary names and at the outputs are replaced, never followed",
       "echo outside >../outside-$$; for n in FULL1.OUT.new FULL1.html.new FULL1.OUT.partial "
       "FULL1.html; do ln -s ../outside-$$ $n; done; ln ../outside-$$ FULL1.tests.csv; "
       "$P -f -q --html --csv FULL1.DAT; s=$?; cat ../outside-$$ >outside; rm ../outside-$$; "
       "exit $s",
       0,
       {},
       [&report](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "outside"), "outside\n");
         EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), report);
         EXPECT_FALSE(fs::exists(dir / "FULL1.OUT.partial"));
         EXPECT_FALSE(fs::is_symlink(dir / "FULL1.html"));
       }},
      {"an existing page is kept without -f, and so is the place of the report",
       "printf 'an older file\\r\\n' >FULL1.html; $P -q --html FULL1.DAT",
       2,
       {"file already exists, file FULL1.html (-f replaces it)"},
       [](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "FULL1.html"), kOld);
         EXPECT_FALSE(fs::exists(dir / "FULL1.OUT"));
       }},
      {"closed standard output and error never become the report",
       "$P FULL1.DAT >&- 2>&-",
       0,
       {},
       report_is("FULL1.OUT")},
      {"killed runs leave a whole report or none, and the next run takes the name",
       "{ for d in 0 0.001 0.002 0.003 0.004; do $P -q --html --csv FULL1.DAT & sleep $d; kill -9"
       " $!; wait $!; [ ! -e FULL1.OUT ] || cmp -s FULL1.OUT ref || exit 7; rm -f FULL1.OUT"
       " FULL1.html FULL1.*.csv; done; } 2>/dev/null; $P -q FULL1.DAT",
       0,
       {},
       report_is("FULL1.OUT")},
      {"a reader that closes the pipe ends the console only",
       "cp FULL1.DAT G.DAT; $P FULL1.DAT G.DAT | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}",
       0,
       {},
       [&report](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), report);
         EXPECT_TRUE(fs::exists(dir / "G.OUT"));
       }},
      {"a device is not read as a data file",
       "$P -q /dev/zero",
       2,
       {"cannot read data file, unit 5, file /dev/zero: a device, not a file"},
       nullptr},
      {"a console that cannot be written gives status 2",
       "$P FULL1.DAT >/dev/full",
       2,
       {"cannot write the console (standard output): No space left on device"},
       report_is("FULL1.OUT")},
      {"the report or page a folder",
       "mkdir FULL1.html; $P -f -q --html FULL1.DAT",
       2,
       {"cannot create file, file FULL1.html: Is a directory"},
       [](const TempDir& dir) { EXPECT_FALSE(fs::exists(dir / "FULL1.OUT")); }},
      {"a folder as data file, a NUL and control bytes in a field, UTF-16",
       "mkdir D.DAT; { printf '\\x1b\\0'; tail -c +3 FULL1.DAT; } >N.DAT; "
       "printf '\\xff\\xfe1\\0' >U.DAT; $P -q D.DAT N.DAT U.DAT",
       2,
       {"cannot read data file, unit 5, file D.DAT: Is a directory",
        "input conversion error, unit 5, file N.DAT: line 1, columns 1-8: \"\\x1B\\x00   0.0\"",
        "what was written before the error is kept in N.OUT.partial; N.OUT was not written",
        "cannot read data file, unit 5, file U.DAT: the file is in UTF-16: save it as UTF-8 or "
        "CP857"},
       nullptr},
      // A small file system of its own (status 77 where none can be mounted): the report fits
      // beside the old set, the page does not.
      {"a full disk with -f keeps the old set and what was written",
       "mkdir full && mount -t tmpfs -o size=44k tmpfs full || exit 77; cp FULL1.DAT full/; "
       "printf 'an older file\\r\\n' | tee full/FULL1.OUT >full/FULL1.html; "
       "$P -f -q --html full/FULL1.DAT; s=$?; cp -r full kept; umount full; exit $s",
       2,
       {"write error, file full/FULL1.html: No space left on device",
        "what was written before the error is kept in full/FULL1.OUT.partial; full/FULL1.OUT was "
        "left as it was"},
       [](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "kept/FULL1.OUT"), kOld);
         EXPECT_EQ(read_bytes(dir / "kept/FULL1.html"), kOld);
         EXPECT_EQ(temporaries_in(dir / "kept"), std::vector<std::string>{});
       }},
      {"a full disk without -f leaves no report, and the next run needs no -f",
       "mkdir full && mount -t tmpfs -o size=8k tmpfs full || exit 77; cp FULL1.DAT full/; "
       "$P -q full/FULL1.DAT; s=$?; cp -r full kept; umount full; $P -q kept/FULL1.DAT || exit 6;"
       " exit $s",
       2,
       {"write error, unit 6, file full/FULL1.OUT: No space left on device",
        "what was written before the error is kept in full/FULL1.OUT.partial; full/FULL1.OUT was "
        "not written"},
       [&report](const TempDir& dir) {
         EXPECT_FALSE(fs::exists(dir / "kept/FULL1.OUT.partial")) << "replaced by the next run";
         EXPECT_EQ(after_title(read_bytes(dir / "kept/FULL1.OUT")), after_title(report));
       }},
      {"stale temporaries and partial reports are cleaned, a half-replaced set is named",
       "printf x >FULL1.OUT.partial; printf x >FULL1.html.new-999999999-1; "
       "cp ref FULL1.OUT.ready-999999999-1; touch -d '1 hour ago' FULL1.*-1; "
       "$P -f -q --html FULL1.DAT",
       0,
       {"an earlier run was stopped while it put its files in place: FULL1.OUT and the files "
        "written with it may be from two runs (its complete report is "
        "FULL1.OUT.ready-999999999-1)"},
       [&report](const TempDir& dir) {
         EXPECT_EQ(read_bytes(dir / "FULL1.OUT"), report);
         EXPECT_FALSE(fs::exists(dir / "FULL1.OUT.partial"));
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    fs::copy_file(kData / "FULL1.DAT", dir / "FULL1.DAT");
    write_bytes(dir / "ref", report);
    const ScriptRun run = run_script(dir, row.script);
    if (run.status == 77) {
      std::printf("skipped \"%s\": no file system of its own can be mounted here\n", row.name);
      continue;
    }
    EXPECT_EQ(run.status, row.status) << run.errors;
    std::string errors;
    for (const std::string& line : row.errors) errors += line + "\n";
    EXPECT_EQ(run.errors, errors);
    EXPECT_EQ(temporaries_in(dir.path()), std::vector<std::string>{});
    if (row.check) row.check(dir);
  }
}

}  // namespace
}  // namespace ostrevik::testing
