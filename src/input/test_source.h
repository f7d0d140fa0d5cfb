#pragma once
// Where the tests of a run come from. A source hands out one test at a time as far as it could
// read it; the driver sees only these values, whatever the format of the data.
#include <exception>
#include <span>

#include "model/raw_test.h"

namespace ostrevik::input {

// The part of a test that a read error stops: the error is raised when the test reaches it, so
// that the report holds everything a test writes before that part.
enum class TestPart { Constants, Specimen, Readings };

// One test as a source hands it out.
struct SourcedTest {
  RawTest test;              // the records read, up to the error when there is one
  int titles_read = 3;       // title records read (fewer only at the end of the input)
  bool ends_input = false;   // the input ended at a title record: this is no test
  std::exception_ptr error;  // the read error that stopped the reading, or null
  TestPart error_part = TestPart::Constants;  // the part the error belongs to

  // The title records read.
  std::span<const TitleRecord> titles() const;
  // Throws the read error when it belongs to `part`.
  void raise_error_of(TestPart part) const;
};

class TestSource {
 public:
  virtual ~TestSource() = default;
  // The next test; after a test with `ends_input` or an error nothing further is asked.
  virtual SourcedTest next() = 0;
};

}  // namespace ostrevik::input
