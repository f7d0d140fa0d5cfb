#pragma once
// Records 1 to 4 of a constants block, their defaults, and the "GENEL DEĞERLER" echo.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

// Reads the flags, frame and (when PARLAT > 0) lateral-load records, applies the defaults,
// computes the frame masses and writes the general values to the report.
void read_constants_block(Run& run, codec::Source& data, codec::Sink& report);

}  // namespace ostrevik::input
