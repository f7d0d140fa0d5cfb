#pragma once
// A test as the data typed it turned into the run state: the defaults, the standard mould set,
// the hours carried forward and the readings converted from divisions to cm.
#include <span>

#include "model/raw_test.h"
#include "model/state.h"

namespace ostrevik::input {

// The constants block in force, with its defaults; H2 also starts the working height. The
// lateral-load constants keep what an earlier block left when the block has no record 4.
void prepare_constants(Run& run, const RawConstants& raw);

// The titles of a new test (the first `titles.size()` of the three), without record 6a as yet.
void prepare_titles(Run& run, std::span<const TitleRecord> titles);

// Records 5 to 7, or the standard mould set in place of record 7. GS and WCINL keep what an
// earlier test left when record 6a is absent.
void prepare_specimen(Run& run, const RawTest& raw);

// The nine mould values of the standard set chosen by ALFN, ANGSEL, APPSEL (the set number
// persists across the tests of the run).
void select_standard_mould(Run& run);

// Throws TestRefused when the test's NREAD lies outside 2..40.
void check_reading_count(const Run& run);

// The NREAD readings converted into the run's readings: times, gauge displacements from
// reading 1 in cm, the vertical load and the lateral load in kg; the working height follows
// the load gauge when GRINL is 0. Throws TestRefused as check_reading_count does, and
// std::invalid_argument when `readings` does not hold NREAD readings.
void prepare_readings(Run& run, std::span<const RawReading> readings);

}  // namespace ostrevik::input
