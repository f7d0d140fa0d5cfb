#pragma once
// The readings of a test from a CSV file, as a spreadsheet saves it or a data logger writes it:
// a header row naming the columns by the readings record's field names, in any order, then one
// row per reading.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/raw_test.h"

namespace ostrevik::input {

// How the fields of a readings file are separated and how their decimals are written; a
// character 0 is found from the file, and an ambiguous file is refused with a message that
// asks for it.
struct CsvFormat {
  char separator = 0;  // ',' or ';'
  char decimal = 0;    // '.' or ','
};

// One value of a table: the text of a CSV field, or a number a series file gave already.
struct Cell {
  std::string text;             // as written; for a number given, the text the messages show
  std::optional<float> number;  // the value when the series file gave a number
  bool integral = false;        // the number was written as an integer
};

// A table of readings: the columns named, then the values of each reading in that order.
struct ReadingsTable {
  std::vector<std::string> columns;     // field names as given
  std::vector<std::vector<Cell>> rows;  // the values of each reading
  std::vector<std::string> row_where;   // where each row is, for the messages ("F.csv, row 4")
  std::string header_where;             // where the column names are
  CsvFormat format;                     // the format of a CSV file
};

// The table of a CSV file; throws SeriesError on a ragged row or an ambiguous format.
ReadingsTable readings_table_of_csv(std::string_view bytes, const std::string& file_name,
                                    CsvFormat format);

// The readings of a table: every column known, each a number (the flag an integer 0 to 9); a
// blank field is 0 as in a fixed-column record. `needed` are the columns the test must have.
// Throws SeriesError naming the row and column.
std::vector<RawReading> readings_of_table(const ReadingsTable& table, const std::string& file_name,
                                          const std::vector<std::string_view>& needed);

}  // namespace ostrevik::input
