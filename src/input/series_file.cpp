#include "input/series_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <optional>

#include "codec/cp857.h"
#include "input/readings_csv.h"
#include "input/series_fields.h"

namespace ostrevik::input {
namespace {

constexpr std::size_t kTitleColumns = 80;

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

std::size_t edit_distance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The kind of value a node holds, for the messages.
std::string found_text(const toml::node& node) {
  if (const auto* text = node.as_string()) return "\"" + text->get() + "\"";
  if (const auto* whole = node.as_integer()) return std::to_string(whole->get());
  if (const auto* real = node.as_floating_point()) {
    std::array<char, 32> digits{};
    const auto end = std::to_chars(digits.begin(), digits.end(), real->get()).ptr;
    return std::string(digits.begin(), end);
  }
  if (const auto* flag = node.as_boolean()) return flag->get() ? "true" : "false";
  if (node.is_array()) return "an array";
  if (node.is_table()) return "a table";
  return "a date or time";
}

// The reader of one series file.
class SeriesReader {
 public:
  SeriesReader(std::string_view text, const std::string& file_name, const ReadNamedFile& read_named)
      : text_(text), file_(file_name), read_named_(read_named) {
    for (std::size_t start = 0; start <= text.size();) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }

  SeriesFile read() {
    toml::table top;
    try {
      top = toml::parse(text_, std::string_view(file_));
    } catch (const toml::parse_error& e) {
      throw series_error(file_, static_cast<long>(e.source().begin.line), "-",
                         std::string(e.description()));
    }
    check_keys(top,
               {"data", "project", "location", "sample", "laboratory", "analysis", "flags", "frame",
                "lateral", "test"},
               "");
    SeriesFile series;
    read_identity(top, series.identity);
    if (const toml::table* t = table_at(top, "analysis", "")) {
      check_keys(*t, {"regional"}, "analysis");
      if (const toml::node* regional = t->get("regional")) {
        const auto* flag = regional->as_boolean();
        if (flag == nullptr) expected(*regional, "analysis.regional", "true or false");
        series.regional = flag->get();
      }
    }
    if (const toml::node* data = top.get("data")) {
      series.data = text_of(*data, "data");
      for (const char* block : {"flags", "frame", "lateral", "test"}) {
        if (const toml::node* node = top.get(block)) {
          fail(*node, block, "a series file that names its data file holds no tests of its own");
        }
      }
      return series;
    }
    read_tests(top, series);
    return series;
  }

 private:
  [[noreturn]] void fail(const toml::node& at, std::string_view key, std::string_view what) const {
    throw series_error(file_, static_cast<long>(at.source().begin.line), key, what);
  }
  [[noreturn]] void expected(const toml::node& at, std::string_view key,
                             std::string_view what) const {
    fail(at, key, "found " + found_text(at) + ", expected " + std::string(what));
  }

  std::string path_of(std::string_view table, std::string_view key) const {
    std::string path = test_ > 0 ? "test." : "";
    if (!table.empty()) path += std::string(table) + ".";
    path += key;
    if (test_ > 0) path += " (test " + std::to_string(test_) + ")";
    return path;
  }

  // Every key of the table is one of `known`; an unknown key names the nearest known one.
  void check_keys(const toml::table& table, std::initializer_list<std::string_view> known,
                  std::string_view table_name) const {
    check_keys(table, std::vector<std::string_view>(known), table_name);
  }
  void check_keys(const toml::table& table, const std::vector<std::string_view>& known,
                  std::string_view table_name) const {
    for (auto&& [key, node] : table) {
      if (std::find(known.begin(), known.end(), key.str()) != known.end()) continue;
      const std::string_view near = nearest_key(key.str(), known);
      throw series_error(
          file_, static_cast<long>(key.source().begin.line), path_of(table_name, key.str()),
          near.empty() ? "unknown key" : "unknown key; did you mean " + std::string(near) + "?");
    }
  }

  const toml::table* table_at(const toml::table& parent, std::string_view key,
                              std::string_view table_name) const {
    const toml::node* node = parent.get(key);
    if (node == nullptr) return nullptr;
    if (!node->is_table()) expected(*node, path_of(table_name, key), "a table");
    return node->as_table();
  }

  std::string text_of(const toml::node& node, std::string_view key) const {
    if (!node.is_string()) expected(node, key, "a text in quotes");
    return node.as_string()->get();
  }

  // The text of a number as written, when it is a decimal number: read as the fixed-column
  // reader reads its fields, so that both give the same float.
  std::optional<float> real_as_written(const toml::node& node) const {
    const toml::source_region where = node.source();
    if (where.begin.line != where.end.line || where.begin.line == 0 ||
        where.begin.line > lines_.size()) {
      return std::nullopt;
    }
    const std::string_view line = lines_[where.begin.line - 1];
    // Columns count characters: step over the bytes of each UTF-8 character before the number.
    std::size_t pos = 0;
    for (toml::source_index column = 1; column < where.begin.column && pos < line.size();) {
      ++pos;
      while (pos < line.size() && (static_cast<unsigned char>(line[pos]) & 0xC0) == 0x80) ++pos;
      ++column;
    }
    const std::size_t length = where.end.column - where.begin.column;
    std::string text(line.substr(pos, length));
    std::erase(text, '_');
    if (text.starts_with('+')) text.erase(0, 1);
    float value = 0.0F;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
  }

  float real_of(const toml::node& node, std::string_view key) const {
    if (!node.is_number()) expected(node, key, "a number");
    const double value = node.is_integer() ? static_cast<double>(node.as_integer()->get())
                                           : node.as_floating_point()->get();
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) {
      expected(node, key, "a finite number within the range of a real");
    }
    if (const std::optional<float> written = real_as_written(node)) return *written;
    return static_cast<float>(value);
  }

  std::optional<double> measure_of(const toml::table& table, std::string_view key,
                                   std::string_view table_name, bool non_negative) const {
    const toml::node* node = table.get(key);
    if (node == nullptr) return std::nullopt;
    if (!node->is_number()) expected(*node, path_of(table_name, key), "a number");
    const double value = node->is_integer() ? static_cast<double>(node->as_integer()->get())
                                            : node->as_floating_point()->get();
    if (!std::isfinite(value) || (non_negative && value < 0.0)) {
      expected(*node, path_of(table_name, key), "a number of 0 or more (m below ground)");
    }
    return value;
  }

  std::string string_of(const toml::table& table, std::string_view key,
                        std::string_view table_name) const {
    const toml::node* node = table.get(key);
    return node == nullptr ? std::string() : text_of(*node, path_of(table_name, key));
  }

  template <class Record>
  void read_record(const toml::table& table, std::span<const RealField<Record>> fields,
                   Record& record, std::string_view table_name,
                   std::string_view record_name) const {
    for (const RealField<Record>& field : fields) {
      const toml::node* node = table.get(field.name);
      if (node != nullptr) {
        record.*field.value = real_of(*node, path_of(table_name, field.name));
      } else if (field.required) {
        fail(table, path_of(table_name, field.name),
             "missing key " + std::string(field.name) + " of " + std::string(record_name));
      }
    }
  }

  template <class Record>
  static std::vector<std::string_view> names_of(std::span<const RealField<Record>> fields,
                                                std::initializer_list<std::string_view> more = {}) {
    std::vector<std::string_view> names(more);
    for (const auto& field : fields) names.push_back(field.name);
    return names;
  }

  void read_identity(const toml::table& top, Identity& identity) const {
    if (const toml::table* t = table_at(top, "project", "")) {
      check_keys(*t, {"id", "name", "location", "client", "contractor", "engineer"}, "project");
      identity.project = {
          string_of(*t, "id", "project"),         string_of(*t, "name", "project"),
          string_of(*t, "location", "project"),   string_of(*t, "client", "project"),
          string_of(*t, "contractor", "project"), string_of(*t, "engineer", "project")};
    }
    if (const toml::table* t = table_at(top, "location", "")) {
      check_keys(*t, {"id", "type", "ground_level", "easting", "northing"}, "location");
      identity.location = {string_of(*t, "id", "location"), string_of(*t, "type", "location"),
                           measure_of(*t, "ground_level", "location", false),
                           measure_of(*t, "easting", "location", false),
                           measure_of(*t, "northing", "location", false)};
    }
    if (const toml::table* t = table_at(top, "sample", "")) {
      check_keys(*t, {"ref", "type", "id", "top", "base", "description"}, "sample");
      identity.sample = {
          string_of(*t, "ref", "sample"),         string_of(*t, "type", "sample"),
          string_of(*t, "id", "sample"),          measure_of(*t, "top", "sample", true),
          measure_of(*t, "base", "sample", true), string_of(*t, "description", "sample")};
    }
    if (const toml::table* t = table_at(top, "laboratory", "")) {
      check_keys(*t, {"name", "method", "operator", "checked_by"}, "laboratory");
      identity.laboratory = string_of(*t, "name", "laboratory");
      identity.method = string_of(*t, "method", "laboratory");
      identity.operated_by = string_of(*t, "operator", "laboratory");
      identity.checked_by = string_of(*t, "checked_by", "laboratory");
    }
  }

  SpecimenIdentity specimen_identity(const toml::table& t) const {
    SpecimenIdentity specimen;
    specimen.ref = string_of(t, "ref", "specimen");
    specimen.depth = measure_of(t, "depth", "specimen", true);
    specimen.description = string_of(t, "description", "specimen");
    specimen.preparation = string_of(t, "preparation", "specimen");
    if (const toml::node* date = t.get("test_date")) {
      if (const auto* day = date->as_date()) {
        std::array<char, 16> text{};
        std::snprintf(text.data(), text.size(), "%04u-%02u-%02u", unsigned{day->get().year},
                      unsigned{day->get().month}, unsigned{day->get().day});
        specimen.test_date = text.data();
      } else {
        specimen.test_date = text_of(*date, path_of("specimen", "test_date"));
      }
    }
    if (const auto rate = measure_of(t, "shearing_rate", "specimen", true)) {
      specimen.shearing_rate = rate;
    }
    return specimen;
  }

  // A constants block from the tables flags, frame and lateral of `parent`.
  RawConstants constants_of(const toml::table& parent, const toml::node& at) const {
    RawConstants constants;
    if (const toml::table* flags = table_at(parent, "flags", "")) {
      check_keys(*flags, names_of(flag_fields()), "flags");
      read_record(*flags, flag_fields(), constants.flags, "flags", "record 1 (flags)");
    }
    const toml::table* frame = table_at(parent, "frame", "");
    if (frame == nullptr) fail(at, path_of("", "frame"), "missing table [frame] (records 2 and 3)");
    check_keys(*frame, names_of(frame_fields()), "frame");
    read_record(*frame, frame_fields(), constants.frame, "frame", "records 2 and 3 (frame)");
    const toml::table* lateral = table_at(parent, "lateral", "");
    if (constants.flags.PARLAT > 0.0F) {
      if (lateral == nullptr) {
        fail(at, path_of("", "lateral"),
             "missing table [lateral] (record 4), which PARLAT > 0 asks for");
      }
      check_keys(*lateral, names_of(lateral_fields()), "lateral");
      read_record(*lateral, lateral_fields(), constants.lateral.emplace(), "lateral",
                  "record 4 (lateral)");
    } else if (lateral != nullptr) {
      fail(*lateral, path_of("", "lateral"), "record 4 is read only with PARLAT > 0 in [flags]");
    }
    return constants;
  }

  static bool has_own_constants(const toml::table& test) {
    return test.contains("flags") || test.contains("frame") || test.contains("lateral");
  }

  void read_tests(const toml::table& top, SeriesFile& series) {
    const toml::node* node = top.get("test");
    if (node == nullptr)
      fail(top, "test", "missing [[test]]: a series file holds at least one test");
    const toml::array* array = node->as_array();
    if (array == nullptr || !array->is_array_of_tables() || array->empty()) {
      expected(*node, "test", "one [[test]] table per test");
    }
    std::vector<const toml::table*> tests;
    for (const toml::node& test : *array) tests.push_back(test.as_table());
    RawConstants constants = constants_of(top, top);
    for (std::size_t k = 0; k < tests.size(); ++k) {
      test_ = static_cast<int>(k) + 1;
      const toml::table& t = *tests[k];
      RawTest& raw = series.tests.emplace_back();
      check_keys(t,
                 {"titles", "flags", "frame", "lateral", "specimen", "soil", "mould", "readings",
                  "readings_separator", "readings_decimal"},
                 "");
      if (k == 0) {
        if (has_own_constants(t)) {
          fail(t, path_of("", "frame"), "the first test takes the top-level [flags] and [frame]");
        }
        raw.constants = constants;
      } else if (has_own_constants(t)) {
        constants = constants_of(t, t);
        raw.constants = constants;
      }
      read_titles(t, raw);
      const bool next_has_constants = k + 1 < tests.size() && has_own_constants(*tests[k + 1]);
      read_specimen(t, raw, next_has_constants, k + 1 < tests.size());
      read_readings(t, raw, constants.flags);
      series.identity.specimens.push_back(t.contains("specimen")
                                              ? specimen_identity(*t.get("specimen")->as_table())
                                              : SpecimenIdentity{});
    }
    test_ = 0;
    auto& specimens = series.identity.specimens;
    while (!specimens.empty() && specimens.back().ref.empty() && !specimens.back().depth &&
           specimens.back().description.empty() && specimens.back().preparation.empty() &&
           specimens.back().test_date.empty() && !specimens.back().shearing_rate) {
      specimens.pop_back();
    }
  }

  void read_titles(const toml::table& t, RawTest& raw) const {
    for (TitleRecord& title : raw.TITLES) title.fill(' ');
    const toml::node* node = t.get("titles");
    if (node == nullptr) return;
    const std::string key = path_of("", "titles");
    const toml::array* titles = node->as_array();
    if (titles == nullptr || titles->size() > raw.TITLES.size()) {
      expected(*node, key, "an array of at most three texts");
    }
    for (std::size_t k = 0; k < titles->size(); ++k) {
      const std::string utf8 = text_of(*titles->get(k), key);
      const std::string cp857 = codec::cp857_of_utf8_text(utf8).value_or(utf8);
      if (cp857.size() > kTitleColumns || cp857.find_first_of("\r\n") != std::string::npos) {
        expected(*titles->get(k), key, "a title of at most 80 characters on one line");
      }
      std::copy(cp857.begin(), cp857.end(), raw.TITLES.at(k).begin());
    }
  }

  static bool takes_mould(float PFIXDR) { return PFIXDR == 2.0F || PFIXDR == 3.0F; }
  static bool next_takes_constants(float PFIXDR) { return PFIXDR == 1.0F || PFIXDR == 3.0F; }

  void read_specimen(const toml::table& t, RawTest& raw, bool next_has_constants,
                     bool has_next) const {
    const toml::table* specimen = table_at(t, "specimen", "");
    if (specimen == nullptr) {
      fail(t, path_of("", "specimen"), "missing table [test.specimen] (records 5 and 6)");
    }
    check_keys(*specimen,
               names_of(specimen_fields(), {"ref", "depth", "description", "preparation",
                                            "test_date", "shearing_rate"}),
               "specimen");
    read_record(*specimen, specimen_fields(), raw.specimen, "specimen",
                "records 5 and 6 (specimen)");
    const toml::table* mould = table_at(t, "mould", "");
    if (const toml::node* given = specimen->get("PFIXDR")) {
      const float PFIXDR = raw.specimen.PFIXDR;
      if (takes_mould(PFIXDR) != (mould != nullptr)) {
        expected(*given, path_of("specimen", "PFIXDR"),
                 mould != nullptr ? "2 or 3 with a mould record [test.mould]"
                                  : "0 or 1 without a mould record [test.mould]");
      }
      if (has_next && next_takes_constants(PFIXDR) != next_has_constants) {
        expected(*given, path_of("specimen", "PFIXDR"),
                 next_has_constants ? "1 or 3: the next test brings its own constants"
                                    : "0 or 2: the next test keeps these constants");
      }
    } else {
      raw.specimen.PFIXDR = (mould != nullptr ? 2.0F : 0.0F) + (next_has_constants ? 1.0F : 0.0F);
    }
    if (mould != nullptr) {
      check_keys(*mould, names_of(mould_fields()), "mould");
      read_record(*mould, mould_fields(), raw.mould.emplace(), "mould", "record 7 (mould)");
    }
    if (const toml::table* soil = table_at(t, "soil", "")) {
      check_keys(*soil, names_of(soil_fields()), "soil");
      read_record(*soil, soil_fields(), raw.soil.emplace(), "soil", "record 6a (soil)");
    }
  }

  // The columns a test must have: the gauges, and the lateral load's when the constants have it.
  static std::vector<std::string_view> needed_columns(const RawFlags& flags, const RawSpecimen& s) {
    std::vector<std::string_view> needed{"TIMHR",  "TIMMN", "DXABS", "DY1ABS",
                                         "DTMLP2", "DRPB",  "GRREAD"};
    if (flags.PARLAT > 0.0F) needed.insert(needed.end(), {"SPBRD1", "HTFYKS", "DECLYK"});
    if (flags.PARLAT > 0.0F && s.PSPBDL == 1.0F) needed.push_back("SPBRD2");
    return needed;
  }

  CsvFormat format_of(const toml::table& t) const {
    CsvFormat format;
    const auto mark = [&](std::string_view key, std::string_view allowed, char& into) {
      const toml::node* node = t.get(key);
      if (node == nullptr) return;
      const std::string text = text_of(*node, path_of("", key));
      if (text.size() != 1 || allowed.find(text[0]) == std::string_view::npos) {
        expected(*node, path_of("", key),
                 key == "readings_separator" ? "\",\" or \";\"" : "\".\" or \",\"");
      }
      into = text[0];
    };
    mark("readings_separator", ",;", format.separator);
    mark("readings_decimal", ".,", format.decimal);
    return format;
  }

  ReadingsTable inline_table(const toml::table& readings) const {
    check_keys(readings, {"columns", "rows"}, "readings");
    ReadingsTable table;
    const toml::node* columns = readings.get("columns");
    const toml::node* rows = readings.get("rows");
    if (columns == nullptr || rows == nullptr) {
      fail(readings, path_of("readings", columns == nullptr ? "columns" : "rows"),
           "missing key: inline readings give columns = [...] and rows = [[...], ...]");
    }
    const std::string columns_key = path_of("readings", "columns");
    if (!columns->is_array()) expected(*columns, columns_key, "an array of column names");
    for (const toml::node& name : *columns->as_array()) {
      table.columns.push_back(text_of(name, columns_key));
    }
    table.header_where =
        file_ + ", line " + std::to_string(columns->source().begin.line) + ", key " + columns_key;
    const std::string rows_key = path_of("readings", "rows");
    if (!rows->is_array()) expected(*rows, rows_key, "an array of readings");
    std::size_t number = 0;
    for (const toml::node& row : *rows->as_array()) {
      ++number;
      const std::string where = file_ + ", line " + std::to_string(row.source().begin.line) +
                                ", key " + rows_key + ", reading " + std::to_string(number);
      if (!row.is_array()) expected(row, rows_key, "an array of the values of one reading");
      if (row.as_array()->size() != table.columns.size()) {
        throw SeriesError(where + ": found " + std::to_string(row.as_array()->size()) +
                          " values, expected " + std::to_string(table.columns.size()) +
                          " as columns names");
      }
      std::vector<Cell>& cells = table.rows.emplace_back();
      std::size_t column = 0;
      for (const toml::node& value : *row.as_array()) {
        if (!value.is_number()) {
          throw SeriesError(where + ", column " + table.columns[column] + ": found " +
                            found_text(value) + ", expected a number");
        }
        cells.push_back(Cell{found_text(value), real_of(value, rows_key), value.is_integer()});
        ++column;
      }
      table.row_where.push_back(where);
    }
    return table;
  }

  void read_readings(const toml::table& t, RawTest& raw, const RawFlags& flags) const {
    const toml::node* node = t.get("readings");
    const std::string key = path_of("", "readings");
    std::vector<RawReading> readings;
    bool given = false;
    if (node != nullptr) {
      given = true;
      std::string source = file_;
      ReadingsTable table;
      if (node->is_string()) {
        source = node->as_string()->get();
        table = readings_table_of_csv(read_named_(source), source, format_of(t));
      } else if (node->is_table()) {
        table = inline_table(*node->as_table());
      } else {
        expected(*node, key, "the name of a CSV file, or a table of columns and rows");
      }
      readings = readings_of_table(table, source, needed_columns(flags, raw.specimen));
    }
    set_reading_count(t, raw, readings.size(), given);
    raw.readings = std::move(readings);
  }

  // RNREAD of record 6 (and 6a) as given, or the number of readings when it is not.
  void set_reading_count(const toml::table& t, RawTest& raw, std::size_t rows, bool given) const {
    const toml::table& specimen = *t.get("specimen")->as_table();
    const bool count_given =
        raw.soil ? t.get("soil")->as_table()->contains("RNREAD") : specimen.contains("RNREAD");
    if (!given && !count_given) {
      fail(t, key_of_readings(), "missing readings: readings = \"FILE.csv\" or [test.readings]");
    }
    const float rows_count = static_cast<float>(rows);
    if (raw.soil) {
      if (!specimen.contains("RNREAD")) raw.specimen.RNREAD = 99.0F;
      if (raw.specimen.RNREAD <= 40.0F) {
        expected(*specimen.get("RNREAD"), path_of("specimen", "RNREAD"),
                 "a number above 40, which announces record 6a [test.soil]");
      }
      if (!count_given) raw.soil->RNREAD = rows_count;
    } else {
      if (!count_given) raw.specimen.RNREAD = rows_count;
      if (raw.specimen.RNREAD > 40.0F) {
        if (count_given) {
          expected(*specimen.get("RNREAD"), path_of("specimen", "RNREAD"),
                   "at most 40 readings (above 40 announces record 6a [test.soil])");
        }
        fail(t, key_of_readings(),
             "found " + std::to_string(rows) + " readings, expected at most 40");
      }
    }
    const float count = raw.soil ? raw.soil->RNREAD : raw.specimen.RNREAD;
    const int records = count >= 2.0F && count < 41.0F ? static_cast<int>(count) : 0;
    if (static_cast<std::size_t>(records) != rows) {
      fail(t, key_of_readings(),
           "found " + std::to_string(rows) + " readings, expected " +
               (records == 0 ? std::string("2 to 40 (a count outside 2..40 takes none)")
                             : std::to_string(records) + " as RNREAD gives"));
    }
  }

  std::string key_of_readings() const { return path_of("", "readings"); }

  std::string_view text_;
  const std::string& file_;
  const ReadNamedFile& read_named_;
  std::vector<std::string_view> lines_;
  int test_ = 0;  // the test being read, from 1; 0 outside the tests
};

}  // namespace

SeriesError series_error(std::string_view file, long line, std::string_view key,
                         std::string_view what) {
  std::string message(file);
  message += ", line " + std::to_string(line);
  if (key != "-") message += ", key " + std::string(key);
  message += ": ";
  message += what;
  return SeriesError(message);
}

std::string_view nearest_key(std::string_view key, std::span<const std::string_view> known) {
  const std::string wanted = upper(key);
  std::string_view best;
  std::size_t best_distance = std::max<std::size_t>(2, wanted.size() / 3) + 1;
  for (const std::string_view candidate : known) {
    const std::size_t distance = edit_distance(wanted, upper(candidate));
    if (distance < best_distance) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

SeriesFile read_series(std::string_view text, const std::string& file_name,
                       const ReadNamedFile& read_named) {
  return SeriesReader(text, file_name, read_named).read();
}

}  // namespace ostrevik::input
