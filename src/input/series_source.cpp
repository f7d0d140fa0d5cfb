#include "input/series_source.h"

#include <array>
#include <charconv>
#include <cmath>

#include "codec/cp857.h"
#include "input/fixed_column_source.h"
#include "input/series_fields.h"
#include "input/series_file.h"

namespace ostrevik::input {
namespace {

// The shortest decimal text that reads back as `value`; "-0.0" keeps the sign of a zero.
std::string shortest(float value) {
  if (value == 0.0F) return std::signbit(value) ? "-0.0" : "0";
  std::array<char, 32> digits{};
  const auto end = std::to_chars(digits.begin(), digits.end(), value).ptr;
  return std::string(digits.begin(), end);
}

// "1.5e-03" as "1.5E-3": the exponent without its plus and leading zeros.
std::string compact_exponent(std::string_view text) {
  const std::size_t mark = text.find('e');
  if (mark == std::string_view::npos) return std::string(text);
  int exponent = 0;
  std::string_view digits = text.substr(mark + 1);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
  return std::string(text.substr(0, mark)) + "E" + std::to_string(exponent);
}

// "0.56" as ".56", "-0.5" as "-.5".
std::string without_leading_zero(std::string text) {
  if (text.starts_with("0.")) return text.substr(1);
  if (text.starts_with("-0.")) return "-" + text.substr(2);
  return text;
}

// "1.5E-3" as "15E-4": the mantissa's point moved into the exponent.
std::string without_point(const std::string& text) {
  const std::size_t mark = text.find('E');
  const std::size_t point = text.find('.');
  if (mark == std::string::npos || point == std::string::npos || point > mark) return text;
  const int fraction = static_cast<int>(mark - point - 1);
  int exponent = 0;
  std::from_chars(text.data() + mark + 1, text.data() + text.size(), exponent);
  return text.substr(0, point) + text.substr(point + 1, mark - point - 1) + "E" +
         std::to_string(exponent - fraction);
}

bool reads_back(const std::string& text, float value) {
  std::string plain = text;
  for (char& c : plain) c = c == 'E' ? 'e' : c;
  float read = 0.0F;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), read);
  return error == std::errc{} && end == plain.data() + plain.size() && read == value &&
         std::signbit(read) == std::signbit(value);
}

// The value in `width` columns, right-justified, as the fixed-column reader reads it back.
std::string field_text(float value, int width, std::string_view name, int test) {
  std::array<char, 48> digits{};
  const auto scientific = std::string(
      digits.begin(),
      std::to_chars(digits.begin(), digits.end(), value, std::chars_format::scientific).ptr);
  const std::string plain = value == 0.0F ? (std::signbit(value) ? "-0" : "0") : shortest(value);
  const std::string candidates[] = {
      without_leading_zero(compact_exponent(plain)), compact_exponent(scientific),
      without_point(compact_exponent(scientific)), without_point(compact_exponent(plain))};
  const std::string* best = nullptr;
  for (const std::string& candidate : candidates) {
    if (!reads_back(candidate, value)) continue;
    if (best == nullptr || candidate.size() < best->size()) best = &candidate;
  }
  if (best == nullptr || best->size() > static_cast<std::size_t>(width)) {
    throw SeriesError("test " + std::to_string(test) + ", " + std::string(name) + " = " + plain +
                      ": expected a value that fits the " + std::to_string(width) +
                      " columns of its field in a fixed-column record");
  }
  return std::string(static_cast<std::size_t>(width) - best->size(), ' ') + *best;
}

void end_record(std::string& text, std::string record) {
  record.erase(record.find_last_not_of(' ') + 1);
  text += record;
  text += "\r\n";
}

// Records of nine fields of eight columns.
template <class Record>
void write_fields(std::string& text, std::span<const RealField<Record>> fields,
                  const Record& record, int test) {
  std::string line;
  int count = 0;
  for (const auto& field : fields) {
    line += field_text(record.*field.value, 8, field.name, test);
    if (++count % 9 == 0) {
      end_record(text, line);
      line.clear();
    }
  }
  if (count % 9 != 0) end_record(text, line);
}

std::string trimmed_title(const TitleRecord& title) {
  std::string text(title.begin(), title.end());
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// A TOML basic string of the UTF-8 text.
std::string quoted(std::string_view text) {
  std::string result = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      result += '\\';
      result += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      std::array<char, 8> escape{};
      std::snprintf(escape.data(), escape.size(), "\\u%04X", unsigned{byte});
      result += escape.data();
    } else {
      result += c;
    }
  }
  return result + "\"";
}

template <class Record>
void write_table(std::string& text, std::string_view header, std::string_view comment,
                 std::span<const RealField<Record>> fields, const Record& record) {
  text += "\n[" + std::string(header) + "]  # " + std::string(comment) + "\n";
  for (const auto& field : fields) {
    text += std::string(field.name) + " = " + shortest(record.*field.value);
    if (field.unit != "-") text += "  # " + std::string(field.unit);
    text += "\n";
  }
}

void write_constants(std::string& text, const RawConstants& constants, std::string_view prefix) {
  write_table(text, std::string(prefix) + "flags", "record 1", flag_fields(), constants.flags);
  write_table(text, std::string(prefix) + "frame", "records 2 and 3", frame_fields(),
              constants.frame);
  if (constants.lateral) {
    write_table(text, std::string(prefix) + "lateral", "record 4", lateral_fields(),
                *constants.lateral);
  }
}

bool is_positive_zero(float value) {
  return value == 0.0F && !std::signbit(value);
}

// The columns of the readings: those every test needs, those of the lateral load when the
// constants have it, and any other that holds a value.
std::vector<const ReadingField*> columns_of(const RawTest& test, const RawFlags& flags) {
  std::vector<const ReadingField*> columns;
  for (const ReadingField& field : reading_fields()) {
    const bool lateral = field.name == "SPBRD1" || field.name == "HTFYKS" ||
                         field.name == "DECLYK" ||
                         (field.name == "SPBRD2" && test.specimen.PSPBDL == 1.0F);
    const bool always = field.width != 1 && field.name != "SPBRD1" && field.name != "HTFYKS" &&
                        field.name != "DECLYK" && field.name != "SPBRD2";
    const bool holds_value =
        std::any_of(test.readings.begin(), test.readings.end(),
                    [&](const RawReading& r) { return !is_positive_zero(value_of(r, field)); });
    if (always || (lateral && flags.PARLAT > 0.0F) || holds_value) columns.push_back(&field);
  }
  return columns;
}

std::string value_text(const RawReading& reading, const ReadingField& field) {
  if (field.integer != nullptr) return std::to_string(reading.*field.integer);
  return shortest(reading.*field.real);
}

std::string csv_of(const RawTest& test, const std::vector<const ReadingField*>& columns) {
  std::string csv;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (c > 0) csv += ',';
    csv += columns[c]->name;
  }
  csv += "\r\n";
  for (const RawReading& reading : test.readings) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c > 0) csv += ',';
      csv += value_text(reading, *columns[c]);
    }
    csv += "\r\n";
  }
  return csv;
}

void write_inline_readings(std::string& text, const RawTest& test,
                           const std::vector<const ReadingField*>& columns) {
  text += "\n[test.readings]\ncolumns = [";
  for (std::size_t c = 0; c < columns.size(); ++c) {
    text += (c == 0 ? "" : ", ") + quoted(columns[c]->name);
  }
  text += "]\nrows = [\n";
  for (const RawReading& reading : test.readings) {
    text += "  [";
    for (std::size_t c = 0; c < columns.size(); ++c) {
      text += (c == 0 ? "" : ", ") + value_text(reading, *columns[c]);
    }
    text += "],\n";
  }
  text += "]\n";
}

std::string title_text(const TitleRecord& title, int test) {
  const std::string cp857 = trimmed_title(title);
  const std::string utf8 = codec::cp857_to_utf8(cp857);
  if (codec::cp857_of_utf8_text(utf8).value_or(utf8) != cp857) {
    throw SeriesError("test " + std::to_string(test) + ", title \"" + utf8 +
                      "\": expected characters of code page 857 alone");
  }
  return quoted(utf8);
}

}  // namespace

SourcedTest ListSource::next() {
  SourcedTest sourced;
  if (next_ == tests_.size()) {
    sourced.titles_read = 0;
    sourced.ends_input = true;
    return sourced;
  }
  sourced.test = tests_[next_++];
  return sourced;
}

std::vector<RawTest> tests_of_records(codec::Source& data) {
  FixedColumnSource source(data);
  std::vector<RawTest> tests;
  for (;;) {
    SourcedTest sourced = source.next();
    if (sourced.error) std::rethrow_exception(sourced.error);
    if (sourced.ends_input) {
      if (sourced.titles_read > 0 || sourced.test.constants) {
        throw series_error(data.file_name(), data.line_number(), "-",
                           "the file ends with part of a test (a constants block or titles "
                           "without their test), which a series file cannot hold");
      }
      return tests;
    }
    tests.push_back(std::move(sourced.test));
  }
}

WrittenSeries series_text(std::span<const RawTest> tests,
                          const std::vector<std::string>& readings_files) {
  WrittenSeries written;
  std::string& text = written.toml;
  text =
      "# A series of shear tests for ostrevik: every key is a field of the fixed-column records\n"
      "# under its name in the data guide, with its unit; docs/series-file.md describes them.\n";
  RawFlags flags;
  for (std::size_t k = 0; k < tests.size(); ++k) {
    const RawTest& test = tests[k];
    const int number = static_cast<int>(k) + 1;
    if (k == 0 && test.constants) write_constants(text, *test.constants, "");
    if (test.constants) flags = test.constants->flags;
    text += "\n[[test]]\ntitles = [\n";
    for (const TitleRecord& title : test.TITLES) text += "  " + title_text(title, number) + ",\n";
    text += "]\n";
    const std::vector<const ReadingField*> columns = columns_of(test, flags);
    if (!readings_files.empty()) {
      text += "readings = " + quoted(readings_files.at(k)) + "\n";
      written.csv.push_back(csv_of(test, columns));
    }
    if (k > 0 && test.constants) write_constants(text, *test.constants, "test.");
    write_table(text, "test.specimen", "records 5 and 6", specimen_fields(), test.specimen);
    if (test.soil) write_table(text, "test.soil", "record 6a", soil_fields(), *test.soil);
    if (test.mould) write_table(text, "test.mould", "record 7", mould_fields(), *test.mould);
    if (readings_files.empty()) write_inline_readings(text, test, columns);
  }
  return written;
}

std::string fixed_column_text(std::span<const RawTest> tests) {
  std::string text;
  for (std::size_t k = 0; k < tests.size(); ++k) {
    const RawTest& test = tests[k];
    const int number = static_cast<int>(k) + 1;
    if (test.constants) {
      write_fields(text, flag_fields(), test.constants->flags, number);
      write_fields(text, frame_fields(), test.constants->frame, number);
      if (test.constants->lateral) {
        write_fields(text, lateral_fields(), *test.constants->lateral, number);
      }
    }
    for (const TitleRecord& title : test.TITLES) end_record(text, trimmed_title(title));
    write_fields(text, specimen_fields(), test.specimen, number);
    if (test.soil) write_fields(text, soil_fields(), *test.soil, number);
    if (test.mould) write_fields(text, mould_fields(), *test.mould, number);
    for (const RawReading& reading : test.readings) {
      std::string line;
      for (const ReadingField& field : reading_fields()) {
        if (field.integer != nullptr) {
          const int flag = reading.*field.integer;
          line += flag == 0 ? " " : std::to_string(flag);
        } else {
          line += field_text(reading.*field.real, field.width, field.name, number);
        }
      }
      end_record(text, line);
    }
  }
  return text;
}

}  // namespace ostrevik::input
