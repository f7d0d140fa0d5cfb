#pragma once
// The readings check of a check-only test.
#include <vector>

#include "codec/record.h"
#include "model/readings_check.h"
#include "model/state.h"

namespace ostrevik::input {

// The readings check: the readings 3..NREAD whose gauge rates look like a single wrong value,
// pairing by pairing (horizontal against vertical, vertical against horizontal, top cap against
// vertical, vertical against top cap).
std::vector<SuspectReading> suspect_readings(const Run& run);

// The table of the suspect readings, or the all-clear line when there is none.
void write_readings_check(const std::vector<SuspectReading>& rows, codec::Sink& report);

// The readings check of a check-only test, written to the report.
void check_readings(const Run& run, codec::Sink& report);

}  // namespace ostrevik::input
