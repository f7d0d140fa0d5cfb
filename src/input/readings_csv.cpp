#include "input/readings_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "input/series_fields.h"
#include "input/series_file.h"

namespace ostrevik::input {
namespace {

// The lines of the bytes without their line ends (LF, CR LF or CR); a byte-order mark is dropped.
std::vector<std::string_view> lines_of(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') {
      ++start;
    }
  }
  return lines;
}

bool is_blank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The fields of one line; a field in double quotes may hold the separator ("" is a quote).
std::vector<std::string> fields_of(std::string_view line, char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    const char c = line[k];
    if (quoted) {
      if (c == '"' && k + 1 < line.size() && line[k + 1] == '"') {
        fields.back() += '"';
        ++k;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (std::string& field : fields) field = std::string(trimmed(field));
  return fields;
}

std::string row_where(const std::string& file_name, std::size_t line) {
  return file_name + ", row " + std::to_string(line);
}

// The separator: the one of ',' and ';' that the header holds; a header with both or neither
// cannot tell.
char separator_of(std::string_view header, const std::string& file_name) {
  const bool comma = header.find(',') != std::string_view::npos;
  const bool semicolon = header.find(';') != std::string_view::npos;
  if (comma != semicolon) return semicolon ? ';' : ',';
  throw series_error(file_name, 1, "header",
                     std::string("found \"") + std::string(header) +
                         "\", expected column names separated by commas or by semicolons" +
                         (comma ? " (both are there: give readings_separator)" : ""));
}

// The decimal mark of a file separated by semicolons: a comma when any field holds one, when no
// field has a point too; a file with both cannot tell a decimal comma from a thousands mark.
char decimal_of(const ReadingsTable& table, const std::string& file_name) {
  bool comma = false;
  bool point = false;
  for (const auto& row : table.rows) {
    for (const Cell& cell : row) {
      comma |= cell.text.find(',') != std::string::npos;
      point |= cell.text.find('.') != std::string::npos;
    }
  }
  if (comma && point) {
    throw series_error(file_name, 1, "header",
                       "the readings hold numbers with a decimal comma and with a point; expected "
                       "one of them (give readings_decimal = \",\" or \".\")");
  }
  return comma ? ',' : '.';
}

const ReadingField* reading_field_named(std::string_view name) {
  for (const ReadingField& field : reading_fields()) {
    if (std::equal(
            name.begin(), name.end(), field.name.begin(), field.name.end(),
            [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; })) {
      return &field;
    }
  }
  return nullptr;
}

[[noreturn]] void cell_error(const std::string& where, std::string_view column,
                             std::string_view found, std::string_view expected) {
  throw SeriesError(where + ", column " + std::string(column) + ": found \"" + std::string(found) +
                    "\", expected " + std::string(expected));
}

// A CSV field as a number: blank is 0; the decimal mark as the file writes it.
float real_of_text(const Cell& cell, char decimal, const std::string& where,
                   std::string_view column) {
  std::string text = cell.text;
  if (text.empty()) return 0.0F;
  if (decimal == ',') {
    if (text.find('.') != std::string::npos) cell_error(where, column, text, "a decimal comma");
    std::replace(text.begin(), text.end(), ',', '.');
  }
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  float value = 0.0F;
  const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
    cell_error(where, column, cell.text, "a number");
  }
  return value;
}

int flag_of(const Cell& cell, const std::string& where, std::string_view column) {
  constexpr std::string_view kFlag = "a flag, an integer 0 to 9";
  if (cell.number) {
    if (!cell.integral || *cell.number < 0.0F || *cell.number > 9.0F) {
      cell_error(where, column, cell.text, kFlag);
    }
    return static_cast<int>(*cell.number);
  }
  if (cell.text.empty()) return 0;
  if (cell.text.size() != 1 || cell.text[0] < '0' || cell.text[0] > '9') {
    cell_error(where, column, cell.text, kFlag);
  }
  return cell.text[0] - '0';
}

}  // namespace

ReadingsTable readings_table_of_csv(std::string_view bytes, const std::string& file_name,
                                    CsvFormat format) {
  const std::vector<std::string_view> lines = lines_of(bytes);
  std::size_t header = 0;
  while (header < lines.size() && is_blank(lines[header])) ++header;
  if (header == lines.size()) {
    throw series_error(file_name, 1, "header",
                       "found an empty file, expected a row of column names");
  }
  ReadingsTable table;
  table.format = format;
  if (table.format.separator == 0) table.format.separator = separator_of(lines[header], file_name);
  table.header_where = row_where(file_name, header + 1);
  table.columns = fields_of(lines[header], table.format.separator);
  for (std::size_t k = header + 1; k < lines.size(); ++k) {
    if (is_blank(lines[k])) continue;
    const std::vector<std::string> fields = fields_of(lines[k], table.format.separator);
    if (fields.size() != table.columns.size()) {
      throw SeriesError(row_where(file_name, k + 1) + ": found " + std::to_string(fields.size()) +
                        " fields, expected " + std::to_string(table.columns.size()) +
                        " as the header names");
    }
    std::vector<Cell>& row = table.rows.emplace_back();
    for (const std::string& field : fields) row.push_back(Cell{field, std::nullopt, false});
    table.row_where.push_back(row_where(file_name, k + 1));
  }
  if (table.format.decimal == 0) {
    table.format.decimal = table.format.separator == ';' ? decimal_of(table, file_name) : '.';
  }
  return table;
}

std::vector<RawReading> readings_of_table(const ReadingsTable& table, const std::string& file_name,
                                          const std::vector<std::string_view>& needed) {
  std::vector<const ReadingField*> fields;
  std::vector<std::string_view> known;
  for (const ReadingField& field : reading_fields()) known.push_back(field.name);
  for (const std::string& column : table.columns) {
    const ReadingField* field = reading_field_named(column);
    if (field == nullptr) {
      const std::string_view near = nearest_key(column, known);
      throw SeriesError(table.header_where + ", column " + column + ": unknown column" +
                        (near.empty() ? "" : "; did you mean " + std::string(near) + "?"));
    }
    if (std::find(fields.begin(), fields.end(), field) != fields.end()) {
      throw SeriesError(table.header_where + ", column " + column + ": given twice");
    }
    fields.push_back(field);
  }
  for (const std::string_view name : needed) {
    if (std::none_of(fields.begin(), fields.end(), [name](auto* f) { return f->name == name; })) {
      throw SeriesError(table.header_where + ": no column " + std::string(name) +
                        ", which the test needs (" + file_name + ")");
    }
  }
  std::vector<RawReading> readings;
  readings.reserve(table.rows.size());
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    RawReading& reading = readings.emplace_back();
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const Cell& cell = table.rows[r][c];
      const ReadingField& field = *fields[c];
      if (field.integer != nullptr) {
        reading.*field.integer = flag_of(cell, table.row_where[r], field.name);
      } else {
        reading.*field.real =
            cell.number ? *cell.number
                        : real_of_text(cell, table.format.decimal, table.row_where[r], field.name);
      }
    }
  }
  return readings;
}

}  // namespace ostrevik::input
