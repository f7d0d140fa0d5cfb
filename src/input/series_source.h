#pragma once
// The tests of a series file as a test source, and the series written back: as a series file
// and as fixed-column records.
#include <span>
#include <string>
#include <vector>

#include "codec/record.h"
#include "input/test_source.h"
#include "model/raw_test.h"

namespace ostrevik::input {

// Hands out the tests of a list in their order, then the end of the input.
class ListSource final : public TestSource {
 public:
  explicit ListSource(std::span<const RawTest> tests) : tests_(tests) {}
  SourcedTest next() override;

 private:
  std::span<const RawTest> tests_;
  std::size_t next_ = 0;
};

// Every test of a fixed-column data file. Throws the read error of a test, and SeriesError
// when the file ends with part of a test (titles, or a constants block without its test),
// which a series file cannot hold.
std::vector<RawTest> tests_of_records(codec::Source& data);

// A series file that holds the tests, with the readings inline, or in the CSV files named
// `readings_files` (one a test) whose bytes are returned in `csv`.
struct WrittenSeries {
  std::string toml;              // the series file, UTF-8, LF line ends
  std::vector<std::string> csv;  // the bytes of each readings file, when named
};
WrittenSeries series_text(std::span<const RawTest> tests,
                          const std::vector<std::string>& readings_files = {});

// The fixed-column records of the tests, CP857 with CR LF line ends. Throws SeriesError when a
// value cannot be written in the columns of its field.
std::string fixed_column_text(std::span<const RawTest> tests);

}  // namespace ostrevik::input
