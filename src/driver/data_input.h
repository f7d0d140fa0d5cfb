#pragma once
// The tests of one data file, whatever its format: fixed-column records, or a series file
// (`*.toml`) that describes them by name and gives the identity of what was tested.
#include <optional>
#include <string>
#include <vector>

#include "codec/record.h"
#include "export/snapshot.h"
#include "model/identity.h"
#include "model/raw_test.h"
#include "model/state.h"

namespace ostrevik::driver {

// Whether the file is a series file: its name ends in ".toml" (in any case).
bool is_series_file(const std::string& path);

// A data file read whole: the fixed-column records, or the tests of a series file read and
// checked before anything is written.
class DataInput {
 public:
  // Throws codec::FatalError (the file, or the data file a series file names, cannot be read)
  // and input::SeriesError (a series file or its readings file that does not parse).
  static DataInput read(const std::string& path);

  // The tests evaluated as driver::evaluate_data does; the identity goes into the snapshot.
  int evaluate(Run& run, codec::Sink& report, codec::Sink& console,
               exports::FileSnapshot* snapshot = nullptr);

  // Every test, read whole; throws the read error of a fixed-column file.
  std::vector<RawTest> all_tests();

 private:
  std::optional<codec::Source> records_;  // the fixed-column records, when the file has them
  std::vector<RawTest> tests_;            // the tests of a series file that holds its own
  Identity identity_;                     // what a series file says was tested
  bool regional_ = false;                 // a series file says its tests are a regional set
};

}  // namespace ostrevik::driver
