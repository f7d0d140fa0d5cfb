#pragma once
// The catalogue of every quantity that the report, the CSV files, the HTML page and the
// plausibility notes show: its name as the report labels it, its unit, the decimals of its
// report field and a short meaning. The exports take names, units and decimals from here; the
// tests check the report's layouts and the guides against it.
#include <span>
#include <string_view>

namespace ostrevik::catalogue {

struct Entry {
  std::string_view name;         // the report's label: "SS", "TNSAVE", "WSPPTM"
  std::string_view unit;         // as the page, the CSV files and the notes write it, UTF-8
                                 // ("cm2", "der"); "" for a flag or a plain number
  std::string_view report_unit;  // as the report writes it, UTF-8 ("cm 2", "deg"); "" where the
                                 // report writes none
  int decimals = 0;              // digits after the point of the report's F field (Tables 1 to
                                 // 3 for a per-reading quantity; see decimals_in)
  std::string_view meaning;      // short, English
};

// Every entry: the per-reading quantities of Tables 1 to 3 and the summary table, the general
// values of a constants block, the set-up values of the specimen echo, the readings check, and
// the strength analysis. Names are unique.
std::span<const Entry> entries();

// The entry of the given name; throws std::out_of_range for a name the catalogue lacks.
const Entry& entry(std::string_view name);

// The row forms of the report's per-test tables.
enum class Table {
  Table1,
  Table2,                     // frame types 0 and 2: 19 columns
  Table2WithRmv,              // frame type 1: 20 columns, the moments without decimals
  Table3,                     // a reading with a lateral load
  Table3WithoutLateralLoad,   // the short row
  Summary,                    // PAROUT 6 and 7, a reading with a lateral load
  SummaryWithoutLateralLoad,  // the same without GRDQC
  Table4,
};

// Decimals of the quantity's F field in a table: the entry's, except for the few columns a table
// prints with other decimals (VBAR with two in the summary table, for instance).
int decimals_in(Table table, std::string_view name);

}  // namespace ostrevik::catalogue
