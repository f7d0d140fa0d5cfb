#pragma once
// The steps of one test as the test loop takes them: each reads its records, computes and
// writes its part of the report in the report's order.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::driver {

// A constants block: its records and defaults, the frame masses, the general values.
void read_constants(Run& run, codec::Source& data, codec::Sink& report);

// The set-up of test number `test`, whose specimen records were read, in its stretches around
// the specimen echo; makes it the current test (NTEST). Throws TestRefused for data outside what
// can be evaluated.
void set_up_test(Run& run, int test, codec::Sink& report);

// The test's readings and either their check or their evaluation with Table 1A, the report
// tables and the per-test record. Throws TestRefused and IterationLimitExceeded; Table 1A
// holds the rows of the readings evaluated before the iteration limit.
void evaluate_readings(Run& run, codec::Source& data, codec::Sink& report);

}  // namespace ostrevik::driver
