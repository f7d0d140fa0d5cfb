#include <string>
#include <vector>

#include "driver/program.h"
#include "driver/run_end.h"
#include "driver/snapshots.h"
#include "driver/test_step.h"
#include "input/constants_block.h"
#include "input/readings_records.h"
#include "input/specimen_records.h"
#include "input/title_block.h"
#include "mechanics/evaluation.h"
#include "mechanics/setup.h"
#include "model/outcome.h"
#include "report/echo.h"
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

void read_constants(Run& run, codec::Source& data, codec::Sink& report) {
  input::read_constants_block(run, data);
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

void evaluate_readings(Run& run, codec::Source& data, codec::Sink& report) {
  input::read_readings(run, data);
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

// One test: its constants block when it begins with one, its title, specimen and readings.
// A refusal leaves its message in `refusal`.
TestEnd next_test(Run& run, int test, bool with_constants, codec::Source& data, codec::Sink& report,
                  codec::Sink& console, std::string& refusal) {
  try {
    // A file whose every test brings its own constants block ends after its last test where
    // the next block would begin: the title read then meets the end, as in any other file.
    // An empty file is still an error: the first test has nothing to read.
    const bool later_test_at_end = run.n.NTEST > 0 && data.at_end();
    if (with_constants && !later_test_at_end) read_constants(run, data, report);
    if (!input::read_title_block(run, data, report)) return TestEnd::EndOfInput;
    if (run.n.NTEST >= MAXTS) {
      refusal =
          refuse_test(test, "NTEST", test, "BİR VERİ KÜTÜĞÜ EN ÇOK 40 DENEY İÇEREBİLİR.").record;
      write_to_both(refusal, report, console);
      return TestEnd::TooManyTests;
    }
    input::read_specimen_records(run, data);
    set_up_test(run, test, report);
    evaluate_readings(run, data, report);
    return TestEnd::Finished;
  } catch (const TestRefused& refused) {
    refusal = refused.record;
    write_to_both(refused.record, report, console);
    return TestEnd::Refused;
  } catch (const IterationLimitExceeded&) {
    write_iteration_limit_message(report, console);
    return TestEnd::IterationLimit;
  }
}

bool begins_with_constants(float PFIXDR) {
  return PFIXDR == 1.0F || PFIXDR == 3.0F;
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
  std::vector<int> nonfinite_tests;
  bool with_constants = true;
  TestEnd end = TestEnd::Finished;
  while (end == TestEnd::Finished) {
    const int test = run.n.NTEST + 1;
    const int nonfinite_before = report.nonfinite_fields;
    std::string refusal;
    end = next_test(run, test, with_constants, data, report, console, refusal);
    if (snapshot != nullptr && end != TestEnd::EndOfInput) {
      snapshot->tests.push_back(snapshot_of_test(run, test, kind_of(end, run), refusal));
    }
    // At the end of the input only a constants block may have been echoed: its values count for
    // the test that it would have begun.
    if (report.nonfinite_fields > nonfinite_before) {
      nonfinite_tests.push_back(test);
    }
    with_constants = begins_with_constants(run.s.PFIXDR);
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
