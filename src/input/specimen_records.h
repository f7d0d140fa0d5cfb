#pragma once
// Records 5, 6, 6a and 7 of a test, or the standard mould set in place of record 7.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

void read_specimen_records(Run& run, codec::Source& data);

// The nine mould values of the standard set chosen by ALFN, ANGSEL, APPSEL (the set number
// persists across the tests of the run).
void select_standard_mould(Run& run);

}  // namespace ostrevik::input
