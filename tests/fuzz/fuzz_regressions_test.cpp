// Every input that ever made a fuzz target crash or hang, replayed through the same entry points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/harness.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs_in(const std::string& folder) {
  std::vector<fs::path> files;
  const fs::path dir = fs::path(OSTREVIK_SOURCE_DIR) / "tests" / "fuzz-regressions" / folder;
  if (!fs::exists(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().filename() != ".gitkeep") {
      files.push_back(entry.path());
    }
  }
  return files;
}

std::string bytes_of(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressions, WholeRunInputsEndProperly) {
  for (const auto& file : inputs_in("run")) {
    SCOPED_TRACE(file.string());
    const std::string bytes = bytes_of(file);
    ostrevik::fuzz::evaluate_data_bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                        bytes.size());
  }
}

TEST(FuzzRegressions, RecordReaderInputsEndProperly) {
  for (const auto& file : inputs_in("reader")) {
    SCOPED_TRACE(file.string());
    const std::string bytes = bytes_of(file);
    ostrevik::fuzz::read_records_bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       bytes.size());
  }
}

}  // namespace
