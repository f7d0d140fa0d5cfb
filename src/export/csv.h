#pragma once
// The CSV export of a run: every reading of the evaluated tests, every test, the strength
// analysis and its triaxial table, as RFC 4180 files in UTF-8 (comma, CR LF, quotes where
// needed, no byte-order mark).
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "export/snapshot.h"

namespace ostrevik::exports {

// File name → bytes. The names are the report's name without its extension followed by
// ".readings.csv", ".tests.csv" and, when the strength analysis ran, ".strength.csv" and
// (when it wrote the triaxial table) ".triaxial.csv": "DENEY1.OUT" gives "DENEY1.tests.csv".
using CsvFiles = std::map<std::string, std::string>;

CsvFiles csv_files(const FileSnapshot& file);

// Every name csv_files may give for a report of that name, whichever files a run writes.
std::vector<std::string> csv_file_names(const std::string& report_file);

// A cell of text: quoted when it holds a comma, a quote or a line end; control characters
// become blanks; a text that a spreadsheet would take for a formula (first character =, +, -
// or @) is kept as text by a leading apostrophe.
std::string csv_text(std::string_view utf8);

// A cell of a number: the shortest decimal text that reads back to the same float; empty when
// the value is not finite.
std::string csv_number(float value);

}  // namespace ostrevik::exports
