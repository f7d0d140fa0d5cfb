// Every input that ever made a fuzz target crash or hang, replayed through the same entry
// points: tests/fuzz-regressions/run/ for the whole run, reader/ for the test source.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/harness.h"

namespace {

namespace fs = std::filesystem;

std::string bytes_of(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressions, EveryFoundInputEndsProperly) {
  const fs::path folder = fs::path(OSTREVIK_SOURCE_DIR) / "tests" / "fuzz-regressions";
  int replayed = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename() == ".gitkeep") continue;
    SCOPED_TRACE(entry.path().string());
    const std::string bytes = bytes_of(entry.path());
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (entry.path().parent_path().filename() == "reader") {
      ostrevik::fuzz::read_tests_bytes(data, bytes.size());
    } else {
      ostrevik::fuzz::evaluate_data_bytes(data, bytes.size());
    }
    ++replayed;
  }
  EXPECT_GT(replayed, 0) << "no input found in " << folder;
}

}  // namespace
