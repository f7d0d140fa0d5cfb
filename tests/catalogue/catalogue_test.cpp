// The catalogue itself, and the guides against it: every unit that docs/report.md gives a
// quantity of the catalogue in its tables, and every "NAME [unit]" column of docs/csv.md.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ostrevik::catalogue {
namespace {

std::vector<std::string> lines_of(const std::filesystem::path& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> cells_of(const std::string& row) {
  std::vector<std::string> cells;
  std::istringstream in(row.substr(1));
  for (std::string cell; std::getline(in, cell, '|');) {
    const std::size_t first = cell.find_first_not_of(' ');
    const std::size_t last = cell.find_last_not_of(' ');
    cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
  }
  return cells;
}

bool known(const std::string& name) {
  for (const Entry& e : entries()) {
    if (e.name == name) return true;
  }
  return false;
}

TEST(Catalogue, NamesAreUniqueAndEveryEntryIsDescribed) {
  std::set<std::string_view> names;
  for (const Entry& e : entries()) {
    EXPECT_TRUE(names.insert(e.name).second) << e.name << " twice";
    EXPECT_FALSE(e.meaning.empty()) << e.name;
    EXPECT_TRUE(e.decimals >= 0 && e.decimals <= 6) << e.name;
    EXPECT_EQ(entry(e.name).name, e.name);
  }
  EXPECT_THROW(entry("NOSUCH"), std::out_of_range);
  EXPECT_EQ(decimals_in(Table::Summary, "VBAR"), 2);
  EXPECT_EQ(decimals_in(Table::Table1, "VBAR"), 1);
}

// The guide writes the units in English: "(dak)" is "min", "(cm 2)" is "cm²".
std::string in_the_guide(std::string_view unit) {
  static const std::map<std::string_view, std::string> kEnglish{
      {"dak", "min"},    {"der", "degree"},       {"oran", "ratio"}, {"sayı", "count"},
      {"cm2", "cm²"},    {"cm4", "cm⁴"},          {"N.cm", "N·cm"},  {"kg.cm", "kg·cm"},
      {"g/cc", "g/cm³"}, {"saat.dakika", "h.min"}};
  const auto it = kEnglish.find(unit);
  return it == kEnglish.end() ? std::string(unit) : it->second;
}

// Each row of a table with a "Column" or "Label" and a "Unit" column: every quantity of the
// catalogue that it names has its unit among the row's units ("cm, kg"). Table 1A is left out:
// it shows the tension correction's own values, in cm, under names of its own.
TEST(Catalogue, ReportGuideGivesEveryQuantityItsUnit) {
  const std::vector<std::string> lines =
      lines_of(std::filesystem::path(OSTREVIK_SOURCE_DIR) / "docs" / "report.md");
  static const std::regex kName("`([A-Z][A-Z0-9]*)`");
  int checked = 0;
  bool table_1a = false;
  std::size_t name_column = 0, unit_column = 0;
  for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
    const std::string& line = lines[k];
    if (line.starts_with("## ")) table_1a = line.find("Table 1A") != std::string::npos;
    if (!line.starts_with("|") || table_1a) {
      unit_column = 0;
      continue;
    }
    const std::vector<std::string> cells = cells_of(line);
    if (lines[k + 1].starts_with("|---")) {
      unit_column = name_column = 0;
      for (std::size_t c = 0; c < cells.size(); ++c) {
        if (cells[c] == "Column" || cells[c] == "Label") name_column = c;
        if (cells[c] == "Unit") unit_column = c;
      }
      continue;
    }
    if (unit_column == 0 || unit_column >= cells.size()) continue;
    std::set<std::string> units;
    std::istringstream in(cells[unit_column]);
    for (std::string u; std::getline(in, u, ',');) units.insert(u.substr(u.find_first_not_of(' ')));
    const std::string& names = cells[name_column];
    for (auto it = std::sregex_iterator(names.begin(), names.end(), kName);
         it != std::sregex_iterator(); ++it) {
      const std::string name = (*it)[1].str();
      if (!known(name) || entry(name).unit.empty()) continue;
      const std::string unit = in_the_guide(entry(name).unit);
      bool found = false;
      for (const std::string& u : units) found = found || u == unit || u.starts_with(unit + " ");
      EXPECT_TRUE(found) << "docs/report.md line " << k + 1 << ": " << name << " in "
                         << cells[unit_column] << ", the catalogue has " << unit;
      ++checked;
    }
  }
  EXPECT_GT(checked, 150);
}

// "`SS [kPa]`", "`TNSAVP peak [kPa]`", "`SIGA1 [kPa]`": the catalogue's unit of the quantity.
TEST(Catalogue, CsvGuideNamesEveryColumnWithItsUnit) {
  const std::vector<std::string> lines =
      lines_of(std::filesystem::path(OSTREVIK_SOURCE_DIR) / "docs" / "csv.md");
  static const std::regex kColumn("`([A-Z][A-Z0-9]*)( peak| end)? \\[([^\\]]+)\\]`");
  int checked = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    for (auto it = std::sregex_iterator(lines[k].begin(), lines[k].end(), kColumn);
         it != std::sregex_iterator(); ++it) {
      std::string name = (*it)[1].str();
      while (!known(name) && !name.empty() && std::isdigit(static_cast<unsigned char>(name.back())))
        name.pop_back();
      ASSERT_TRUE(known(name)) << "docs/csv.md line " << k + 1 << ": " << (*it)[0];
      EXPECT_EQ((*it)[3].str(), entry(name).unit) << "docs/csv.md line " << k + 1 << ": " << name;
      ++checked;
    }
  }
  EXPECT_GT(checked, 70);
}

}  // namespace
}  // namespace ostrevik::catalogue
