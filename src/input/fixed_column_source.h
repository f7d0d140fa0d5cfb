#pragma once
// The tests of a data file of fixed-column records.
#include "codec/record.h"
#include "input/test_source.h"

namespace ostrevik::input {

// Reads the records of one test at a time: a constants block for the first test and after a
// test with PFIXDR 1 or 3, the three titles, records 5 and 6, 6a when record 6 announces it, 7
// with PFIXDR 2 or 3, and as many readings records as the test counts (none for a count
// outside 2..40, which is refused), with the line and columns of the values of records 5 to 7.
// A read error of the first test after a blank first line, or on a field of text where numbers
// belong, says so. The input ends normally at a title record, and where a later
// test's constants block would begin; an empty file is an error of the first constants block.
class FixedColumnSource final : public TestSource {
 public:
  explicit FixedColumnSource(codec::Source& data);
  SourcedTest next() override;

 private:
  bool read_titles(SourcedTest& sourced);
  codec::Source& data_;
  bool constants_next_ = true;  // the next test begins with a constants block
  int tests_read_ = 0;          // tests handed out, ends of the input not counted
  bool blank_first_line_;       // line 1 of the data is blank
};

}  // namespace ostrevik::input
