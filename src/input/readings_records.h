#pragma once
// The readings records of a test, their conversion, and the readings check.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::input {

// Reads NREAD readings records and converts them. Throws TestRefused when NREAD is outside
// 2..40 (before any record is read).
void read_readings(Run& run, codec::Source& data);

// The readings check of a check-only test: its table of suspect readings or the all-clear line.
void check_readings(const Run& run, codec::Sink& report);

}  // namespace ostrevik::input
