#pragma once
// The three title records of a test and their echo.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

// Sets PARSOL = 0, writes four empty lines and reads and echoes the three title records.
// Returns false when the data file ends at one of them: the normal end of the input.
bool read_title_block(Run& run, codec::Source& data, codec::Sink& report);

}  // namespace ostrevik::input
