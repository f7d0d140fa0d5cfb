#pragma once
// The two ways the evaluation of a run ends early. Both are caught by the run driver, which
// writes the message to the report and then to the console, the end-of-run warning, closes the
// files and ends with exit status 1.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace ostrevik {

// A test whose data lie outside what the program can evaluate; `record` is the one-line
// Turkish message (CP857 bytes, no line end) naming the test and the offending value.
struct TestRefused : std::exception {
  explicit TestRefused(std::string message) : record(std::move(message)) {}
  const char* what() const noexcept override { return record.c_str(); }
  std::string record;
};

// " *** DENEY NO. 3: ALFN = 90 ; <rule> DENEY DEĞERLENDİRİLMEDİ." — the value in its shortest
// exact decimal form; `utf8_rule` says what the value must be, in Turkish.
TestRefused refuse_test(int test, std::string_view name, float value, std::string_view utf8_rule);
TestRefused refuse_test(int test, std::string_view name, int value, std::string_view utf8_rule);

// An iteration limit was exceeded during the per-reading computation.
struct IterationLimitExceeded : std::exception {
  const char* what() const noexcept override { return "iteration limit exceeded"; }
};

}  // namespace ostrevik
