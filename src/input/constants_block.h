#pragma once
// Records 1 to 4 of a constants block and their defaults.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

// Reads the flags, frame and (when PARLAT > 0) lateral-load records and applies the defaults.
void read_constants_block(Run& run, codec::Source& data);

}  // namespace ostrevik::input
