#include "driver/test_loop.h"

#include <string>
#include <vector>

#include "driver/run_end.h"
#include "driver/snapshots.h"
#include "driver/test_step.h"
#include "input/fixed_column_source.h"
#include "input/prepare.h"
#include "input/readings_check.h"
#include "mechanics/evaluation.h"
#include "mechanics/setup.h"
#include "model/outcome.h"
#include "report/echo.h"
#include "report/refusal.h"
#include "report/test_tables.h"
#include "strength/analysis.h"

namespace ostrevik::driver {
namespace {

// How the work on one test of the data file ended.
enum class TestEnd {
  Finished,        // evaluated or checked; the next test may follow
  EndOfInput,      // the data file ended where a new test may end it
  TooManyTests,    // a test beyond the 40 a run holds; not evaluated
  Refused,         // data the program cannot evaluate
  IterationLimit,  // the evaluation of a reading did not converge
};

}  // namespace

void take_constants(Run& run, const RawConstants& raw, codec::Sink& report) {
  input::prepare_constants(run, raw);
  mechanics::compute_frame_masses(run);
  report::write_general_values(run.c, report);
}

void set_up_test(Run& run, int test, codec::Sink& report) {
  mechanics::set_up_geometry(run, test);
  run.n.NTEST = test;
  if (run.c.PAROUT != 8.0F) report::write_specimen_values(run, report);
  mechanics::set_up_moving_assembly(run, test);
  report::write_assembly_values(run, report);
  mechanics::set_up_working_values(run);
}

namespace {

// A test with readings of backward shear beyond 0.4 mm is listed, with their number, in the
// warning at the end of the run.
void count_backward_shear(Counters& n, int test, int readings) {
  if (readings == 0) return;
  n.NNEG = n.NNEG + 1;
  n.NEGTST(n.NNEG) = test;
  n.NEGCNT(n.NNEG) = readings;
}

}  // namespace

void evaluate_readings(Run& run, const input::SourcedTest& sourced, codec::Sink& report) {
  input::check_reading_count(run);
  sourced.raise_error_of(input::TestPart::Readings);
  input::prepare_readings(run, sourced.test.readings);
  if (run.c.PDATCH > 0) {
    input::check_readings(run, report);
    return;
  }
  try {
    mechanics::evaluate_test(run);
  } catch (const IterationLimitExceeded&) {
    count_backward_shear(run.n, run.n.NTEST, run.o.NBACK);
    report::write_tension_table(run, report);
    throw;
  }
  count_backward_shear(run.n, run.n.NTEST, run.o.NBACK);
  report::write_tension_table(run, report);
  report::write_test_tables(run, report);
  report::store_peak_and_end(run);
}

namespace {

// The refusal with the line and columns where the data typed its value, when they typed it.
Refusal placed(Refusal refusal, const std::vector<PlacedField>& places) {
  for (auto field = places.rbegin(); field != places.rend(); ++field) {
    if (field->name == refusal.name) {
      refusal.place = field->place;
      break;
    }
  }
  return refusal;
}

// One test: its constants block when it begins with one, its title, specimen and readings.
// A read error of the source is raised where the test reaches the part it belongs to. A
// refusal leaves its message in `refusal`.
TestEnd next_test(Run& run, int test, const input::SourcedTest& sourced, codec::Sink& report,
                  codec::Sink& console, std::string& refusal) {
  try {
    sourced.raise_error_of(input::TestPart::Constants);
    if (sourced.test.constants) take_constants(run, *sourced.test.constants, report);
    input::prepare_titles(run, sourced.titles());
    report::write_titles(sourced.titles(), report);
    if (sourced.ends_input) return TestEnd::EndOfInput;
    if (run.n.NTEST >= MAXTS) {
      refusal = report::refusal_record(Refusal{test, "NTEST", test, Rule::AtMost40Tests});
      write_to_both(refusal, report, console);
      return TestEnd::TooManyTests;
    }
    sourced.raise_error_of(input::TestPart::Specimen);
    input::prepare_specimen(run, sourced.test);
    set_up_test(run, test, report);
    evaluate_readings(run, sourced, report);
    return TestEnd::Finished;
  } catch (const TestRefused& refused) {
    refusal = report::refusal_record(placed(refused.refusal, sourced.test.places));
    write_to_both(refusal, report, console);
    return TestEnd::Refused;
  } catch (const IterationLimitExceeded&) {
    write_iteration_limit_message(report, console);
    return TestEnd::IterationLimit;
  }
}

exports::TestKind kind_of(TestEnd end, const Run& run) {
  switch (end) {
    case TestEnd::TooManyTests:
    case TestEnd::Refused:
      return exports::TestKind::Refused;
    case TestEnd::IterationLimit:
      return exports::TestKind::IterationLimit;
    case TestEnd::Finished:
    case TestEnd::EndOfInput:
      break;
  }
  return run.c.PDATCH > 0 ? exports::TestKind::CheckOnly : exports::TestKind::Evaluated;
}

}  // namespace

int evaluate_data(Run& run, codec::Source& data, codec::Sink& report, codec::Sink& console,
                  exports::FileSnapshot* snapshot) {
  input::FixedColumnSource tests(data);
  return evaluate_tests(run, tests, report, console, snapshot);
}

int evaluate_tests(Run& run, input::TestSource& tests, codec::Sink& report, codec::Sink& console,
                   exports::FileSnapshot* snapshot) {
  std::vector<int> nonfinite_tests;
  TestEnd end = TestEnd::Finished;
  while (end == TestEnd::Finished) {
    const int test = run.n.NTEST + 1;
    const int nonfinite_before = report.nonfinite_fields;
    std::string refusal;
    const input::SourcedTest sourced = tests.next();
    end = next_test(run, test, sourced, report, console, refusal);
    if (snapshot != nullptr && end != TestEnd::EndOfInput) {
      snapshot->tests.push_back(
          snapshot_of_test(run, test, kind_of(end, run), refusal, sourced.test.readings));
    }
    // At the end of the input only a constants block may have been echoed: its values count for
    // the test that it would have begun.
    if (report.nonfinite_fields > nonfinite_before) {
      nonfinite_tests.push_back(test);
    }
  }

  bool nonfinite_in_analysis = false;
  if (end == TestEnd::EndOfInput || end == TestEnd::TooManyTests) {
    const int nonfinite_before = report.nonfinite_fields;
    strength::analyse_end_of_input(run, report);
    nonfinite_in_analysis = report.nonfinite_fields > nonfinite_before;
  }
  write_nonfinite_warning(nonfinite_tests, nonfinite_in_analysis, report, console);
  write_negative_displacement_warning(run.n, report, console);
  const int status = end == TestEnd::EndOfInput ? 0 : 1;
  if (snapshot != nullptr) {
    const bool reached = end == TestEnd::EndOfInput || end == TestEnd::TooManyTests;
    snapshot->strength = snapshot_of_strength(run, reached, snapshot->regional);
    snapshot->exit_status = status;
  }
  return status;
}

}  // namespace ostrevik::driver
