#pragma once
// The two ways the evaluation of a run ends early. Both are caught by the run driver, which
// writes the message to the report and then to the console, the end-of-run warning, closes the
// files and ends with exit status 1.
#include <string>

namespace ostrevik {

// A test whose data lie outside what the program can evaluate; `record` is the one-line
// Turkish message (CP857 bytes, no line end) naming the test and the offending value.
struct TestRefused {
  std::string record;
};

// An iteration limit was exceeded during the per-reading computation.
struct IterationLimitExceeded {};

}  // namespace ostrevik
