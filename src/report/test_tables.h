#pragma once
// The report tables of an evaluated test, chosen by PAROUT, Table 1A of its no-tension
// corrections, and the per-test record.
#include <vector>

#include "catalogue/catalogue.h"
#include "codec/layout.h"
#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::report {

void write_test_tables(const Run& run, codec::Sink& report);

// The layout of each row form of the tables, by the catalogue's name of the form: the columns
// that the report's text is read by and checked against the catalogue.
struct RowLayout {
  catalogue::Table table;
  const codec::Layout* layout;
};
std::vector<RowLayout> row_layouts();

// Table 1A: its header and the rows the evaluation recorded, or nothing without rows.
void write_tension_table(const Run& run, codec::Sink& report);

// Peak and end values of test NTEST for the strength analysis (when PARREG > 0).
void store_peak_and_end(Run& run);

}  // namespace ostrevik::report
