#pragma once
// The two ways the evaluation of a run ends early. Both are caught by the run driver, which
// writes the message to the report and then to the console, the end-of-run warning, closes the
// files and ends with exit status 1.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "model/field_place.h"

namespace ostrevik {

// The rule that a refused value breaks; the report words each in one sentence.
enum class Rule {
  Between0And90,          // an angle strictly between 0 and 90 degrees
  Positive,               // greater than zero
  NonZero,                // not zero
  NotMinusOne,            // not -1 (the water content WCINL)
  NotWetDensityOfGrains,  // DENSOL not equal to (WCINL+1)*GS
  BelowDiaout,            // DIAIN smaller than DIAOUT
  NotMinusHcotd,          // HTLOWR not equal to -HCOTD
  NotMinusHcota,          // HTLOWS not equal to -HCOTA
  Between2And40,          // the number of readings NREAD, 2 to 40
  AtMost40Tests,          // a data file holds at most 40 tests
};

// A refused value as the message shows it: an integer, or a real in its shortest exact decimal
// form (a real that could not be computed shows as asterisks).
using RefusedValue = std::variant<int, float>;

// Why a test was not evaluated.
struct Refusal {
  int test = 0;                // number of the refused test
  std::string name;            // the refused quantity as the report names it ("ALFN", "NREAD")
  RefusedValue value;          // its value, in the unit of the data file or of the set-up
  Rule rule = Rule::Positive;  // what the value must be and is not
  std::optional<FieldPlace> place = std::nullopt;  // where the data typed it; none if computed
};

// A test whose data lie outside what the program can evaluate.
struct TestRefused : std::exception {
  explicit TestRefused(Refusal why) : refusal(std::move(why)) {}
  const char* what() const noexcept override { return "test refused"; }
  Refusal refusal;
};

inline TestRefused refuse_test(int test, std::string_view name, RefusedValue value, Rule rule) {
  return TestRefused(Refusal{test, std::string(name), value, rule});
}

// An iteration limit was exceeded during the per-reading computation.
struct IterationLimitExceeded : std::exception {
  const char* what() const noexcept override { return "iteration limit exceeded"; }
};

}  // namespace ostrevik
