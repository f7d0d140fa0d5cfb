#pragma once
// Records 5, 6, 6a and 7 of a test (or the standard mould set), the set-up of the test with
// its specimen echo, and NREAD.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

void read_specimen_records(Run& run, codec::Source& data);

// The set-up of the test in its stretches around the specimen echo; numbers the test.
// Throws TestRefused for set-up data outside what can be evaluated.
void set_up_and_echo(Run& run, codec::Sink& report);

}  // namespace ostrevik::input
