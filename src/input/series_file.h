#pragma once
// The series file: the tests of a series described by name in TOML, with the identity of what
// was tested, read into the same RawTest values that the fixed-column records give.
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/identity.h"
#include "model/raw_test.h"

namespace ostrevik::input {

// A series file, or a readings file it names, that cannot be read. The message names the file,
// the line (or row) and the key (or column), the value found and what was expected.
struct SeriesError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "FILE, line N, key KEY: WHAT", the form of every message of the series reader.
SeriesError series_error(std::string_view file, long line, std::string_view key,
                         std::string_view what);

// What a series file holds.
struct SeriesFile {
  Identity identity;           // the identity tables; empty where not given
  std::vector<RawTest> tests;  // the tests in their order; empty when `data` names the tests
  std::string data;            // a fixed-column data file that holds the tests, as named
  bool regional = false;       // [analysis] regional: the tests belong to a regional data set
};

// The bytes of a file named in the series file (a readings CSV file), by its name as written
// there; throws SeriesError when it cannot be read.
using ReadNamedFile = std::function<std::string(const std::string& name)>;

// Reads the series file `text` (UTF-8) called `file_name` in the messages. Titles become
// CP857 records as the fixed-column reader keeps them. Throws SeriesError.
SeriesFile read_series(std::string_view text, const std::string& file_name,
                       const ReadNamedFile& read_named);

// Nearest of `known` to `key` by edit distance, ignoring case; empty when none is near.
std::string_view nearest_key(std::string_view key, std::span<const std::string_view> known);

}  // namespace ostrevik::input
