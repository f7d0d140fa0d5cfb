#pragma once
// The echo of a test's input in the report: the general values of a constants block, the
// titles and the specimen values around the set-up.
#include <span>

#include "codec/record.h"
#include "model/raw_test.h"
#include "model/state.h"

namespace ostrevik::report {

// "GENEL DEĞERLER": the constants block with its defaults and frame masses.
void write_general_values(const Constants& c, codec::Sink& report);

// Four empty lines, then each title record behind 27 blanks, all 80 columns (fewer than three
// where the input ended at a title).
void write_titles(std::span<const TitleRecord> titles, codec::Sink& report);

// The specimen and mould values up to the lateral-load balances, from the first stretch of the
// set-up (not written with PAROUT 8).
void write_specimen_values(const Run& run, codec::Sink& report);

// The moving assembly, the specimen mass and mould height, and DH1, DH2.
void write_assembly_values(const Run& run, codec::Sink& report);

}  // namespace ostrevik::report
