#pragma once
// The report tables of an evaluated test, chosen by PAROUT, Table 1A of its no-tension
// corrections, and the per-test record.
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::report {

void write_test_tables(const Run& run, codec::Sink& report);

// Table 1A: its header and the rows the evaluation recorded, or nothing without rows.
void write_tension_table(const Run& run, codec::Sink& report);

// Peak and end values of test NTEST for the strength analysis (when PARREG > 0).
void store_peak_and_end(Run& run);

}  // namespace ostrevik::report
