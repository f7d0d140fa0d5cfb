// Every input that ever made a fuzz target crash or hang, replayed through the same entry
// points: tests/fuzz-regressions/run/ for the whole run, reader/ for the test source, series/
// for series files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/files.h"
#include "fuzz/harness.h"

namespace {

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryFoundInputEndsProperly) {
  const fs::path folder = fs::path(OSTREVIK_SOURCE_DIR) / "tests" / "fuzz-regressions";
  int runs = 0;
  int reads = 0;
  int series = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == ".gitkeep") continue;
    SCOPED_TRACE(entry.path().string());
    const std::string bytes = ostrevik::testing::read_input(entry.path());
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const fs::path kind = entry.path().parent_path().filename();
    if (kind == "reader") {
      ostrevik::fuzz::read_tests_bytes(data, bytes.size());
      ++reads;
    } else if (kind == "series") {
      ostrevik::fuzz::read_series_bytes(data, bytes.size());
      ++series;
    } else {
      ostrevik::fuzz::evaluate_data_bytes(data, bytes.size());
      ++runs;
    }
  }
  EXPECT_GT(runs, 0) << "no input found in " << folder / "run";
  EXPECT_GT(reads, 0) << "no input found in " << folder / "reader";
  EXPECT_GT(series, 0) << "no input found in " << folder / "series";
}

}  // namespace
