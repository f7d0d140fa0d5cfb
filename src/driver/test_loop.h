#pragma once
// The test loop: every test of a data file, the strength analysis and the end-of-run warnings.
#include "codec/record.h"
#include "export/snapshot.h"
#include "input/test_source.h"
#include "model/state.h"

namespace ostrevik::driver {

// Everything after the files are open: the tests of the data file, the strength analysis and
// the end-of-run warning. Returns 0 or 1; throws codec::FatalError on a fatal read error.
// With a `snapshot`, appends the snapshot of every test as it ends, and of the strength
// analysis and the exit status at the end; the file names, and exit status 2 after a fatal
// error, are left to the caller.
int evaluate_data(Run& run, codec::Source& data, codec::Sink& report, codec::Sink& console,
                  exports::FileSnapshot* snapshot = nullptr);

// The same over the tests of any test source: evaluate_data reads a data file of fixed-column
// records through input::FixedColumnSource.
int evaluate_tests(Run& run, input::TestSource& tests, codec::Sink& report, codec::Sink& console,
                   exports::FileSnapshot* snapshot = nullptr);

}  // namespace ostrevik::driver
