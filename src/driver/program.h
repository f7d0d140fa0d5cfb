#pragma once
// The run driver: the console dialogue, the two files, the test loop, the end of the run.
#include "codec/record.h"
#include "export/snapshot.h"
#include "input/test_source.h"
#include "model/state.h"

namespace ostrevik::driver {

// The whole program: the dialogue without arguments, the command line with them. Returns the
// exit status (0 normal end, 1 evaluation ended early, 2 fatal error).
int program_main(int argc, char** argv);

// The dialogue on the process's console; returns the exit status.
int dialogue_main();

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
