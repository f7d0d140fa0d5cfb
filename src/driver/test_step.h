#pragma once
// The steps of one test as the test loop takes them: each prepares its part of the test read
// by a test source, computes and writes its part of the report in the report's order.
#include "codec/record.h"
#include "input/test_source.h"
#include "model/raw_test.h"
#include "model/state.h"

namespace ostrevik::driver {

// A constants block: its defaults, the frame masses, the general values.
void take_constants(Run& run, const RawConstants& raw, codec::Sink& report);

// The set-up of test number `test`, whose specimen records were prepared, in its stretches
// around the specimen echo; makes it the current test (NTEST). Throws TestRefused for data
// outside what can be evaluated.
void set_up_test(Run& run, int test, codec::Sink& report);

// The test's readings and either their check or their evaluation with Table 1A, the report
// tables and the per-test record. A count of readings outside 2..40 is refused before the read
// error of a readings record is raised. Throws TestRefused, IterationLimitExceeded and that read
// error; Table 1A holds the rows of the readings evaluated before the iteration limit.
void evaluate_readings(Run& run, const input::SourcedTest& sourced, codec::Sink& report);

}  // namespace ostrevik::driver
