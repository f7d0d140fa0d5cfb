#pragma once
// Plausibility notes: short Turkish sentences that point at a value of the data file or of the
// result that no real test is likely to have. A note never refuses a test and never changes
// the report or the exit status; it tells the engineer where to look.
#include <string>
#include <vector>

#include "export/snapshot.h"

namespace ostrevik::exports {

struct Note {
  int test = 0;      // number of the test; 0 for a note on the strength analysis
  int reading = 0;   // number of the reading; 0 for a note on the whole test
  std::string text;  // one Turkish sentence, UTF-8
};

// The notes of one test: specimen and mould, readings, result.
std::vector<Note> test_notes(const TestSnapshot& test);

// The notes of the strength analysis (none when it did not run).
std::vector<Note> analysis_notes(const StrengthSnapshot& strength);

// The notes on how sure the envelopes are: statistics that the points do not give, and tested
// normal stresses that span less than a factor of two. Only the page shows them.
std::vector<Note> statistics_notes(const StrengthSnapshot& strength);

// Every note of the file: test by test, then the strength analysis.
std::vector<Note> file_notes(const FileSnapshot& file);

// The note as one line naming where it points: "DENEY 2, OKUMA 7: ..." (UTF-8).
std::string note_line(const Note& note);

}  // namespace ostrevik::exports
