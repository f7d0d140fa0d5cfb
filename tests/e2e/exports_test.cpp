// The exports against the report they go with: every sample data file run with --csv --html,
// each set-up value of NAME.tests.csv and each per-reading value of NAME.readings.csv read back
// from the report's echo and tables, and every unit the files and the page name checked against
// the catalogue. The report's table layouts are checked against the catalogue's decimals too.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "codec/cp857.h"
#include "driver/run_program.h"
#include "export/csv_rows.h"
#include "report/test_tables.h"

namespace ostrevik::testing {
namespace {

namespace fs = std::filesystem;
using catalogue::Table;

// The quantities of each row form, in the order of its fields; "@peak" and "@end" mark the two
// readings of Table 4.
const std::map<Table, std::string> kColumns{
    {Table::Table1,
     "T BETABC UBAR U VBAR V SS SSNB TNSAVE TNNB SOVERN SOVRNB TNSMAX TNSMIN VPIT VPITT INDEX "
     "IPARFL P"},
    {Table::Table2,
     "T USTRN VSTRN AC ACNB SECMOM PERSMA TMOMA TMOM DIFMOM DEVREC DEVIBA DEVIB DEVIBT DEVRPT "
     "DEVJNR DEVVPI DEVNB ERUABS"},
    {Table::Table2WithRmv,
     "T USTRN VSTRN AC ACNB SECMOM PERSMA TMOMA TMOM DIFMOM DEVREC DEVIBA DEVIB DEVIBT DEVRPT "
     "DEVJNR DEVVPI DEVNB ERUABS RMV"},
    {Table::Table3,
     "T DXABS DY1ABS DTMLP2 DRPB SLATLD HTFYKS GRSBAL GRDQC ANGLQ WQNC DECLYK TNSAVP SSAVP AVPRST "
     "DVOVDU ALPHA ALPHAR XFC"},
    {Table::Table3WithoutLateralLoad,
     "T DXABS DY1ABS DTMLP2 DRPB SLATLD TNSAVP SSAVP AVPRST DVOVDU ALPHA ALPHAR XFC"},
    {Table::Summary,
     "T UBAR VBAR BETABC TNSAVE SS SOVERN P SLATLD XFC YFORCE AC TMOM DEVIB ALPHAR GRDQC AVPRST "
     "DVOVDU"},
    {Table::SummaryWithoutLateralLoad,
     "T UBAR VBAR BETABC TNSAVE SS SOVERN P SLATLD XFC YFORCE AC TMOM DEVIB ALPHAR AVPRST DVOVDU"},
    {Table::Table4,
     "TNSAVP@peak SSAVP@peak TNSAVP@end SSAVP@end TNSAVE@peak SS@peak TNSAVE@end SS@end "
     "TNNB@peak SSNB@peak TNNB@end SSNB@end AVPRST@peak DVOVDU@peak AVPRST@end DVOVDU@end "
     "T@peak"},
};

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

bool in_catalogue(std::string_view name) {
  for (const catalogue::Entry& e : catalogue::entries()) {
    if (e.name == name) return true;
  }
  return false;
}

std::string quantity_of(const std::string& column) {
  return column.substr(0, column.find('@'));
}

// A number field of a row layout: where it stands in the record.
struct Field {
  std::size_t begin = 0, width = 0;
  int decimals = 0;
  bool real = true;
};

std::vector<Field> fields_of(const codec::Layout& layout) {
  std::vector<Field> fields;
  std::size_t at = 0;
  for (const codec::LayoutItem& item : layout.items()) {
    using Kind = codec::LayoutItem::Kind;
    if (item.kind == Kind::Real || item.kind == Kind::Integer) {
      fields.push_back(
          {at, static_cast<std::size_t>(item.width), item.decimals, item.kind == Kind::Real});
    }
    if (item.kind == Kind::Literal) at += item.text.size();
    if (item.kind != Kind::Literal && item.kind != Kind::GroupStart &&
        item.kind != Kind::GroupEnd) {
      at += static_cast<std::size_t>(item.width);
    }
  }
  return fields;
}

TEST(ReportColumns, EveryTableFieldHasTheDecimalsOfTheCatalogue) {
  const std::vector<report::RowLayout> forms = report::row_layouts();
  ASSERT_EQ(forms.size(), kColumns.size());
  for (const report::RowLayout& form : forms) {
    const std::vector<std::string> names = words(kColumns.at(form.table));
    const std::vector<Field> fields = fields_of(*form.layout);
    SCOPED_TRACE("table form " + std::to_string(static_cast<int>(form.table)));
    ASSERT_EQ(fields.size(), names.size());
    for (std::size_t k = 0; k < fields.size(); ++k) {
      const std::string name = quantity_of(names[k]);
      EXPECT_EQ(fields[k].decimals, catalogue::decimals_in(form.table, name)) << name;
    }
  }
}

// ---- reading the files back -------------------------------------------------------------------

std::string trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::optional<float> number(const std::string& text) {
  float value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// A CSV number as an F field with `decimals` writes it ("12." for none), or as an I field.
std::string as_printed(float value, int decimals, bool real = true) {
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, real ? decimals : 0);
  return std::string(buf, end) + (real && decimals == 0 ? "." : "");
}

// The columns of a CSV file by the quantity each names: "SS [kPa]" gives "SS".
struct Csv {
  Rows rows;
  std::map<std::string, std::size_t> by_heading;  // heading without its unit
  std::map<std::string, std::string> unit_of;     // heading without its unit -> unit

  explicit Csv(const std::string& bytes) : rows(parse_csv(bytes)) {
    for (std::size_t k = 0; k < rows.at(0).size(); ++k) {
      const std::string& h = rows[0][k];
      const std::size_t bracket = h.find(" [");
      const std::string name = h.substr(0, bracket);
      by_heading[name] = k;
      unit_of[name] =
          bracket == std::string::npos ? "" : h.substr(bracket + 2, h.size() - bracket - 3);
    }
  }
  const std::string& cell(std::size_t row, const std::string& name) const {
    return rows.at(row).at(by_heading.at(name));
  }
};

struct Mismatch {
  std::string where;     // file, test, reading
  std::string quantity;  // name as the report labels it
  std::string csv;       // the CSV cell
  std::string report;    // the report's text
  std::string kind;      // "value", "decimals", "last digits", "unit"
};

std::string describe(const Mismatch& m) {
  return m.where + " " + m.quantity + " (" + m.kind + "): CSV \"" + m.csv + "\", report \"" +
         m.report + "\"";
}

// The floats between a and b: a value the report shows as round that the CSV gives a few units
// of the last place off was spoilt by rounding on its way.
long ulps_apart(float a, float b) {
  long n = 0;
  while (a != b && n < 100) {
    a = std::nextafter(a, b);
    ++n;
  }
  return n;
}

// The printed number after "NAME  =" on a line of the echo.
std::optional<std::string> echo_text(const std::string& line, const std::string& name) {
  static std::map<std::string, std::regex> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    it = cache.emplace(name, std::regex("(^|[^A-Z0-9])" + name + " *= *([-0-9.*]+)")).first;
  }
  std::smatch m;
  if (!std::regex_search(line, m, it->second)) return std::nullopt;
  return m[2].str();
}

class Comparison {
 public:
  std::vector<Mismatch> found;
  int compared = 0;

  // A CSV cell against the report's text of the same value, `decimals` as the catalogue has it.
  // A value read from the data file (`typed`) that the report shows as a round number must not
  // be a few units of the last place off in the CSV file; a computed one may.
  void value(const std::string& where, const std::string& name, const std::string& cell,
             const std::string& text, const Field& field, int decimals, bool typed = false) {
    ++compared;
    if (field.real && text.find('.') != std::string::npos &&
        static_cast<int>(text.size() - text.find('.') - 1) != decimals) {
      found.push_back({where, name, cell, text, "decimals"});
    }
    const std::optional<float> v = number(cell);
    if (text.find('*') != std::string::npos) {
      if (v && as_printed(*v, decimals, field.real).size() <= field.width) {
        found.push_back({where, name, cell, text, "value"});
      }
      return;
    }
    if (!v) {
      // Not computed: the report prints a zero or leaves the column out.
      const std::optional<float> printed = number(text.ends_with(".") ? text + "0" : text);
      if (!cell.empty() || !printed || *printed != 0.0F) {
        found.push_back({where, name, cell, text, "value"});
      }
      return;
    }
    if (as_printed(*v, decimals, field.real) != text) {
      found.push_back({where, name, cell, text, "value"});
      return;
    }
    const std::optional<float> printed = number(text.ends_with(".") ? text + "0" : text);
    if (typed && printed && *printed != *v && ulps_apart(*printed, *v) <= 4) {
      found.push_back({where, name, cell, text, "last digits"});
    }
  }
};

// Where the echo of each test stands: the index of its PARFPL line, which every echo has.
std::vector<std::size_t> echo_lines(const std::vector<std::string>& report) {
  std::vector<std::size_t> at;
  for (std::size_t k = 0; k < report.size(); ++k) {
    if (report[k].starts_with(" PARFPL=")) at.push_back(k);
  }
  return at;
}

// The set-up values of one test against its echo: the specimen lines around its PARFPL line
// and the flags of the general values in force.
void compare_echo(Comparison& cmp, const std::string& where, const Csv& tests, std::size_t row,
                  const std::vector<std::string>& report, std::size_t from, std::size_t parfpl) {
  std::size_t flags = parfpl;
  while (flags > 0 && report[flags].find("PAROUT=") == std::string::npos) --flags;
  const std::size_t first = std::max(from, parfpl >= 8 ? parfpl - 8 : 0);
  const std::size_t last = std::min(report.size(), parfpl + 3);
  for (const auto& [name, column] : tests.by_heading) {
    if (!in_catalogue(name)) continue;
    std::optional<std::string> text;
    for (std::size_t k = first; k < last && !text; ++k) text = echo_text(report[k], name);
    if (!text && flags > 0) text = echo_text(report[flags], name);
    if (!text) continue;  // PAROUT 8 cuts the echo short
    // The set-up computes these: their last digits come from its arithmetic. The others are
    // read from the data file or a standard mould set and must read back as the echo shows them.
    static const std::vector<std::string> kComputed = words(
        "ALFA HTLOWS WTM WS XBARTM XBARS WD DENSOL YBARTM YBARS RM WTMC XBRTMC YBRTMC SW DOITRM "
        "XTMO1 YTMO1 X1C Y1C W SATINL DDENSL VOIDR DH1");
    const bool typed = std::find(kComputed.begin(), kComputed.end(), name) == kComputed.end();
    const int decimals = catalogue::entry(name).decimals;
    cmp.value(where, name, tests.rows[row][column], *text, {0, 99, decimals, true}, decimals,
              typed);
  }
}

// The rows of the report's table titled `title` from line `at` on.
std::vector<std::string> table_rows(const std::vector<std::string>& report, std::size_t& at,
                                    const std::string& title, std::size_t count) {
  while (at < report.size() && trimmed(report[at]) != title) ++at;
  while (at < report.size() && report[at].find(std::string(100, '-')) == std::string::npos) ++at;
  std::vector<std::string> rows;
  for (std::size_t k = 1; k <= count && at + k < report.size(); ++k) rows.push_back(report[at + k]);
  at += rows.size();
  return rows;
}

const codec::Layout& layout_of(Table table) {
  for (const report::RowLayout& form : report::row_layouts()) {
    if (form.table == table) return *form.layout;
  }
  throw std::out_of_range("no row form");
}

void compare_row(Comparison& cmp, const std::string& where, Table table, const std::string& line,
                 const std::function<std::string(const std::string&)>& cell_of) {
  const std::vector<std::string> names = words(kColumns.at(table));
  const std::vector<Field> fields = fields_of(layout_of(table));
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const std::string name = quantity_of(names[k]);
    const std::string text =
        fields[k].begin < line.size() ? trimmed(line.substr(fields[k].begin, fields[k].width)) : "";
    cmp.value(where, name, cell_of(names[k]), text, fields[k], catalogue::decimals_in(table, name));
  }
}

// Tables 1 to 4 or the summary table of one evaluated test against the readings file.
void compare_tables(Comparison& cmp, const std::string& where, const Csv& tests,
                    std::size_t test_row, const Csv& readings, std::size_t& first_reading,
                    const std::vector<std::string>& report, std::size_t at) {
  const float PAROUT = *number(tests.cell(test_row, "PAROUT"));
  const int NREAD = static_cast<int>(*number(tests.cell(test_row, "NREAD")));
  const std::size_t begin = first_reading;
  first_reading += static_cast<std::size_t>(NREAD);
  if (PAROUT == 8.0F) return;
  const auto readings_of = [&](std::size_t reading) {
    return [&, reading](const std::string& name) { return readings.cell(begin + reading, name); };
  };
  const auto lateral = [&](std::size_t reading) {
    return !readings.cell(begin + reading, "HTFYKS").empty();
  };
  std::vector<std::pair<std::string, std::function<Table(std::size_t)>>> tables;
  if (PAROUT == 6.0F || PAROUT == 7.0F) {
    tables.push_back({"ÖZET ÇİZELGE", [&](std::size_t i) {
                        return lateral(i) ? Table::Summary : Table::SummaryWithoutLateralLoad;
                      }});
  } else {
    const bool rmv = tests.cell(test_row, "PARINC") == "1";
    tables.push_back({"ÇİZELGE 1", [](std::size_t) { return Table::Table1; }});
    tables.push_back(
        {"ÇİZELGE 2", [rmv](std::size_t) { return rmv ? Table::Table2WithRmv : Table::Table2; }});
    tables.push_back({"ÇİZELGE 3", [&](std::size_t i) {
                        return lateral(i) ? Table::Table3 : Table::Table3WithoutLateralLoad;
                      }});
  }
  for (const auto& [title, form] : tables) {
    const std::vector<std::string> rows =
        table_rows(report, at, title, static_cast<std::size_t>(NREAD));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      compare_row(cmp, where + " " + title + " reading " + std::to_string(i + 1), form(i), rows[i],
                  readings_of(i));
    }
  }
  if (PAROUT == 7.0F) return;
  const std::vector<std::string> table4 = table_rows(report, at, "ÇİZELGE 4", 1);
  ASSERT_EQ(table4.size(), 1U) << where;
  compare_row(cmp, where + " ÇİZELGE 4", Table::Table4, table4[0], [&](const std::string& column) {
    const std::string name = quantity_of(column);
    return tests.cell(test_row, name + (column.ends_with("@peak") ? " peak" : " end"));
  });
}

// Every heading of a CSV file with a unit names the catalogue's unit of its quantity.
void compare_csv_units(std::vector<Mismatch>& found, const std::string& file, const Csv& csv) {
  for (const auto& [heading, unit] : csv.unit_of) {
    // "SS peak" and "SIGA1" are columns of SS and SIGA.
    std::string name = heading.substr(0, heading.find(' '));
    while (!in_catalogue(name) && !name.empty() &&
           std::isdigit(static_cast<unsigned char>(name.back()))) {
      name.pop_back();
    }
    if (!in_catalogue(name)) {
      if (!unit.empty()) found.push_back({file, heading, unit, "", "not in the catalogue"});
    } else if (catalogue::entry(name).unit != unit) {
      found.push_back({file, heading, unit, std::string(catalogue::entry(name).unit), "unit"});
    }
  }
}

// Every unit that the page writes beside a quantity's name is the catalogue's (the page leaves
// out "oran" and "sayı").
void compare_page_units(std::vector<Mismatch>& found, const std::string& file,
                        const std::string& page, int& checked) {
  // Each pattern gives the name (or stands for `name`) and the unit beside it.
  struct Pattern {
    std::regex unit_of_name;
    const char* name;
  };
  static const Pattern kPatterns[] = {
      {std::regex("<th>([A-Z][A-Z0-9]*)(?: \\(IMAXP\\))? ([^<]+)</th>"), nullptr},
      {std::regex("<dt>([A-Z][A-Z0-9]*)[^<]*</dt><dd>[-0-9.]+(?: ([^<]*))?</dd>"), nullptr},
      {std::regex("([A-Z][A-Z0-9]*) = -?[0-9.]+(?: ([^\\s<&,]+))?"), nullptr},
      {std::regex("([A-Z][A-Z0-9]*), [^(<]*\\(([^);<]+)"), nullptr},
      {std::regex("\\((TIMACT) ([^,]+), "), nullptr},
      {std::regex("öteki sütunlar ([^)]+)\\)"), "HIGHDX"},
  };
  for (const Pattern& pattern : kPatterns) {
    for (auto it = std::sregex_iterator(page.begin(), page.end(), pattern.unit_of_name);
         it != std::sregex_iterator(); ++it) {
      const std::string name = pattern.name != nullptr ? pattern.name : (*it)[1].str();
      const std::string unit = (*it)[pattern.name != nullptr ? 1 : 2].str();
      for (const catalogue::Entry& e : catalogue::entries()) {
        if (e.name != name) continue;
        ++checked;
        const bool left_out = unit.empty() && (e.unit == "oran" || e.unit == "sayı");
        if (unit != e.unit && !left_out) {
          found.push_back({file, name, unit, std::string(e.unit), "unit"});
        }
      }
    }
  }
}

TEST(Exports, CsvFilesAndPageAgreeWithTheReportOfEverySampleFile) {
  const fs::path data = fs::path(OSTREVIK_SHARED_DIR) / "data";
  Comparison cmp;
  int page_units = 0;
  int samples = 0;
  for (const auto& entry : fs::directory_iterator(data)) {
    if (entry.path().extension() != ".DAT") continue;
    const std::string stem = entry.path().stem().string();
    SCOPED_TRACE(stem);
    ++samples;
    TempDir dir;
    fs::copy_file(entry.path(), dir / (stem + ".DAT"));
    const ProgramRun run = run_with_arguments(dir, {"-q", "--csv", "--html", stem + ".DAT"});
    ASSERT_LE(run.status, 1) << run.errors;
    const std::vector<std::string> report =
        records_of(codec::cp857_to_utf8(read_input(dir / (stem + ".OUT"))));
    const Csv tests(read_input(dir / (stem + ".tests.csv")));
    const Csv readings(read_input(dir / (stem + ".readings.csv")));
    compare_csv_units(cmp.found, stem + ".tests.csv", tests);
    compare_csv_units(cmp.found, stem + ".readings.csv", readings);
    for (const char* kind : {".strength.csv", ".triaxial.csv"}) {
      if (fs::exists(dir / (stem + kind))) {
        compare_csv_units(cmp.found, stem + kind, Csv(read_input(dir / (stem + kind))));
      }
    }
    compare_page_units(cmp.found, stem + ".html", read_input(dir / (stem + ".html")), page_units);

    const std::vector<std::size_t> echoes = echo_lines(report);
    std::size_t echo = 0;
    std::size_t first_reading = 1;
    for (std::size_t row = 1; row < tests.rows.size(); ++row) {
      const std::string kind = tests.cell(row, "kind");
      if (kind == "refused") continue;
      ASSERT_LT(echo, echoes.size()) << "test " << tests.cell(row, "test");
      const std::string where = stem + " test " + tests.cell(row, "test");
      const std::size_t from = echo == 0 ? 0 : echoes[echo - 1] + 3;
      compare_echo(cmp, where, tests, row, report, from, echoes[echo]);
      if (kind == "evaluated") {
        compare_tables(cmp, where, tests, row, readings, first_reading, report, echoes[echo]);
      } else if (kind == "iteration_limit") {
        first_reading += static_cast<std::size_t>(*number(tests.cell(row, "readings evaluated")));
      }
      ++echo;
    }
    EXPECT_EQ(first_reading, readings.rows.size());
  }
  EXPECT_EQ(samples, 9);
  EXPECT_GT(cmp.compared, 5000);
  EXPECT_GT(page_units, 100);
  for (const Mismatch& m : cmp.found) ADD_FAILURE() << describe(m);
}

}  // namespace
}  // namespace ostrevik::testing
