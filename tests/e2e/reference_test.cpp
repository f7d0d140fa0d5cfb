// Every sample data file, run as the user runs it, against the reports and consoles of an
// independent implementation.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/run_program.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kShared = OSTREVIK_SHARED_DIR;

std::vector<std::string> sample_names() {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(kShared / "data", ignored)) {
    if (entry.path().extension() == ".DAT") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool have_python() {
  return std::system("python3 -c '' >/dev/null 2>&1") == 0;
}

// repcmp.py on the reference and our report; its listing of the lines that differ goes to the
// test log, and a difference, or a comparison that could not be made, fails the test.
void compare_reports(const fs::path& expected, const fs::path& actual) {
  const std::string command = "python3 '" + (kShared / "tools/repcmp.py").string() + "' '" +
                              expected.string() + "' '" + actual.string() + "' --strict --max 20";
  EXPECT_EQ(std::system(command.c_str()), 0) << "repcmp.py: the reports differ";
}

class Sample : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    name_ = GetParam();
    fs::copy_file(kShared / "data" / (name_ + ".DAT"), dir_ / (name_ + ".DAT"));
    run_ = run_program(dir_, answers(name_ + ".DAT", name_ + ".OUT"));
  }
  fs::path reference(const std::string& extension) const {
    return kShared / "data/reference" / (name_ + extension);
  }
  fs::path report() const { return dir_ / (name_ + ".OUT"); }

  TempDir dir_;
  std::string name_;
  ProgramRun run_;
};

TEST_P(Sample, RunsToItsNormalEnd) {
  EXPECT_EQ(run_.status, 0);
  EXPECT_EQ(run_.errors, "");
  EXPECT_EQ(read_bytes(dir_ / (name_ + ".DAT")), read_bytes(kShared / "data" / (name_ + ".DAT")))
      << "the data file is only read";
}

// Compared here and by the comparison tool, which on a difference lists the lines that differ.
TEST_P(Sample, ReportIsByteIdenticalToReference) {
  EXPECT_TRUE(read_bytes(report()) == read_input(reference(".OUT")))
      << "the report differs from the reference";
  if (have_python()) compare_reports(reference(".OUT"), report());
}

// The credit lines of the banner (lines 10 and 11) are each implementation's own.
TEST_P(Sample, ConsoleIsTheReferenceApartFromTheCreditLines) {
  const std::vector<std::string> expected = records_of(read_input(reference(".CON")));
  const std::vector<std::string> actual = records_of(run_.console);
  EXPECT_TRUE(run_.console.ends_with("\r\n"));
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < actual.size(); ++k) {
    if (k + 1 == 10 || k + 1 == 11) continue;
    EXPECT_EQ(actual[k], expected[k]) << "console line " << k + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Reference, Sample, ::testing::ValuesIn(sample_names()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(LargestDataFile, FortyTestsOfFortyReadingsRunToTheirNormalEnd) {
  const fs::path big = kShared / "bench/BIG4040.DAT";
  if (!fs::exists(big)) GTEST_SKIP() << "no benchmark data";
  TempDir dir;
  fs::copy_file(big, dir / "BIG4040.DAT");
  const ProgramRun run = run_program(dir, answers("BIG4040.DAT", "BIG4040.OUT"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
  const std::vector<std::string> report = records_of(read_bytes(dir / "BIG4040.OUT"));
  EXPECT_GT(report.size(), 7000U);
  EXPECT_TRUE(std::none_of(report.begin(), report.end(), [](const std::string& r) {
    return r.find('\n') != std::string::npos || r.find('\r') != std::string::npos;
  })) << "every record ends in CR LF";
}

}  // namespace
}  // namespace ostrevik::testing
