#pragma once
// A row of the readings check of a check-only test.

namespace ostrevik {

// A reading whose gauge rates look like a single wrong value: its clock time (hours.minutes,
// 9.04 for 9 h 04 min) and the suspect gauge movements since the first reading (cm, of the
// converted readings); a column that the row does not flag is 0.
struct SuspectReading {
  int reading = 0;  // number of the reading in the test
  float TIMACT = 0, HIGHDX = 0, TLOWDX = 0, HIGHDY = 0, TLOWDY = 0, HIGHTL = 0, TLOWTL = 0;
};

}  // namespace ostrevik
