#include "driver/data_input.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "codec/errors.h"
#include "driver/files.h"
#include "driver/test_loop.h"
#include "input/series_file.h"
#include "input/series_source.h"

namespace ostrevik::driver {
namespace {

// A name in a series file, taken from the series file's folder.
std::string beside(const std::string& series_path, const std::string& name) {
  const std::filesystem::path named(name);
  if (named.is_absolute()) return name;
  return (std::filesystem::path(series_path).parent_path() / named).string();
}

}  // namespace

bool is_series_file(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".toml";
}

DataInput DataInput::read(const std::string& path) {
  DataInput input;
  if (!is_series_file(path)) {
    input.records_.emplace(read_data_file(path));
    return input;
  }
  const std::string text = read_input_file(path);
  const std::string file_name = std::filesystem::path(path).filename().string();
  const auto read_named = [&](const std::string& name) {
    try {
      return read_input_file(beside(path, name));
    } catch (const codec::FatalError&) {
      throw input::SeriesError(file_name + ": the readings file " + name + " cannot be read");
    } catch (const FileError& e) {
      throw input::SeriesError(file_name + ": the readings file " + name + ": " + e.what());
    }
  };
  input::SeriesFile series = input::read_series(text, file_name, read_named);
  input.identity_ = std::move(series.identity);
  input.regional_ = series.regional;
  input.tests_ = std::move(series.tests);
  if (!series.data.empty()) input.records_.emplace(read_data_file(beside(path, series.data)));
  return input;
}

int DataInput::evaluate(Run& run, codec::Sink& report, codec::Sink& console,
                        exports::FileSnapshot* snapshot) {
  if (snapshot != nullptr) {
    snapshot->identity = identity_;
    snapshot->regional = snapshot->regional || regional_;
  }
  if (records_) return evaluate_data(run, *records_, report, console, snapshot);
  input::ListSource tests(tests_);
  return evaluate_tests(run, tests, report, console, snapshot);
}

std::vector<RawTest> DataInput::all_tests() {
  if (records_) return input::tests_of_records(*records_);
  return tests_;
}

}  // namespace ostrevik::driver
