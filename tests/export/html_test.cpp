// The HTML page of a run: read by a strict XML reader, with the charts each test and the
// strength analysis call for, a marker for every reading, and tooltips that show the values
// the report prints.
#include "export/html.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "export/xml_tree.h"
#include "sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::parse_xml;
using testing::XmlElement;

const PageInfo kInfo{"test", 0};

std::string trimmed(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// A field of the report as the page writes the number: "0" before a bare point, no point after
// a number without decimals.
std::string as_page_writes(std::string field) {
  field = trimmed(field);
  if (field.rfind(".", 0) == 0) field.insert(0, "0");
  if (field.rfind("-.", 0) == 0) field.insert(1, "0");
  if (!field.empty() && field.back() == '.') field.pop_back();
  return field;
}

// Where the report prints UBAR, VBAR, SS and TNSAVE of a reading: Table 1, or the summary table
// for PAROUT 6 and 7.
struct RowLayout {
  std::string title;  // the table's title, UTF-8
  std::size_t UBAR, VBAR, SS, TNSAVE, width_UBAR, width_VBAR, width_SS, width_TNSAVE;
};
const RowLayout kTable1{"ÇİZELGE 1", 15, 28, 40, 53, 7, 6, 6, 7};
const RowLayout kSummary{"ÖZET ÇİZELGE", 6, 11, 33, 25, 5, 7, 8, 8};

// The rows of the `index`-th table (from 0) with the title: those after its long line of
// hyphens.
std::vector<std::string> table_rows(const std::vector<std::string>& report, const RowLayout& layout,
                                    int index, int rows) {
  const std::string title = codec::to_cp857(layout.title);
  int seen = -1;
  for (std::size_t k = 0; k < report.size(); ++k) {
    if (trimmed(report[k]) != title || ++seen != index) continue;
    while (k < report.size() && report[k].find(std::string(100, '-')) == std::string::npos) ++k;
    ++k;
    return {report.begin() + static_cast<std::ptrdiff_t>(k),
            report.begin() + static_cast<std::ptrdiff_t>(std::min(report.size(), k + rows))};
  }
  return {};
}

// "Deney 2, okuma 7\nUBAR = 3.2 mm\nSS = 45.6 kPa": the value of a quantity.
std::string tip_value(const std::string& tip, const std::string& name) {
  const std::size_t at = tip.find("\n" + name + " = ");
  if (at == std::string::npos) return "?";
  const std::size_t start = at + name.size() + 4;
  return tip.substr(start, tip.find_first_of(" \n", start) - start);
}

std::vector<std::string> tips_of(const XmlElement& figure) {
  std::vector<std::string> tips;
  for (const XmlElement* title : figure.find_all("title")) tips.push_back(title->text);
  return tips;
}

const XmlElement* element_with_id(const XmlElement& root, const std::string& name,
                                  const std::string& id) {
  for (const XmlElement* e : root.find_all(name)) {
    if (e->attribute("id") == id) return e;
  }
  return nullptr;
}

// The marker groups of a chart (`<g fill=...>`): one per series drawn with markers.
std::vector<const XmlElement*> marker_groups(const XmlElement& figure) {
  std::vector<const XmlElement*> groups;
  for (const XmlElement* g : figure.find_all("g")) {
    if (!g->attribute("fill").empty()) groups.push_back(g);
  }
  return groups;
}

// The set-up value `name` as the echo of the `index`-th test (from 0) prints it: "DENSOL=1.908".
std::string echo_value(const std::vector<std::string>& report, int index, const std::string& name) {
  int seen = -1;
  for (const std::string& line : report) {
    if (line.rfind(" ALFN  =", 0) == 0) ++seen;
    if (seen != index) continue;
    const std::size_t at = line.find(" " + name + " ");
    const std::size_t at_equal = line.find(" " + name + "=");
    const std::size_t found = std::min(at, at_equal);
    if (found == std::string::npos) continue;
    const std::size_t value = line.find_first_not_of(" =", found + name.size() + 1);
    return as_page_writes(line.substr(value, line.find_first_of(" (", value) - value));
  }
  return "?";
}

TEST(HtmlPage, EverySamplePageIsWellFormedWithItsChartsAndTheReportsValues) {
  for (const char* sample : {"FULL1", "SERIES3", "SERIES5", "CHECK", "LATERAL", "TYPFRA1", "PFIXDR",
                             "TENSION1", "FREEPL"}) {
    SCOPED_TRACE(sample);
    const auto run = testing::sample_snapshot(sample);
    const std::string page = html_page(run.snapshot, kInfo);
    std::unique_ptr<XmlElement> root;
    ASSERT_NO_THROW(root = parse_xml(page));
    EXPECT_EQ(page.find("nan"), std::string::npos);
    EXPECT_EQ(page.find("inf"), std::string::npos);
    EXPECT_EQ(page.find("http:", page.find("xhtml") + 5), page.find("http://www.w3.org/2000/svg"))
        << "no address but the SVG namespace";

    const std::vector<std::string> report = testing::records_of(run.report);
    const XmlElement* series = element_with_id(*root, "section", "seri");
    ASSERT_NE(series, nullptr);
    const auto specimen_tables = series->find_all("table", "specimens");
    const std::vector<const XmlElement*> specimen_rows = specimen_tables.empty()
                                                             ? std::vector<const XmlElement*>{}
                                                             : specimen_tables[0]->find_all("tr");
    std::size_t specimen_row = 2;  // after the two heading rows
    int evaluated = 0;
    int echoed = -1;
    int table1 = 0;
    int summary = 0;
    for (const TestSnapshot& t : run.snapshot.tests) {
      SCOPED_TRACE("test " + std::to_string(t.test));
      const XmlElement* section =
          element_with_id(*root, "section", "deney-" + std::to_string(t.test));
      ASSERT_NE(section, nullptr);
      const auto charts = section->find_all("figure", "chart");
      if (t.kind != TestKind::Evaluated) {
        EXPECT_TRUE(charts.empty());
        continue;
      }
      ++evaluated;
      ASSERT_LT(specimen_row, specimen_rows.size());
      const auto cells = specimen_rows[specimen_row++]->find_all("td");
      const auto headings = specimen_rows[1]->find_all("th");
      ASSERT_EQ(cells.size(), headings.size());
      EXPECT_EQ(cells[0]->text, std::to_string(t.test));
      ASSERT_EQ(charts.size(), 2U);
      const std::vector<std::string> stress = tips_of(*charts[0]);
      const std::vector<std::string> displacement = tips_of(*charts[1]);
      const auto n = static_cast<std::size_t>(t.NREAD);
      ASSERT_EQ(stress.size(), 2 * n) << "SS and TNSAVE of every reading";
      ASSERT_EQ(displacement.size(), n);
      EXPECT_EQ(charts[0]->find_all("circle", "callout").size(), t.IMAXP == t.IEND ? 1U : 2U);

      const float PAROUT = *setup_value(t, "PAROUT");
      if (PAROUT == 8.0F) continue;  // the short echo, no table of the readings
      ++echoed;
      const bool in_summary = PAROUT == 6.0F || PAROUT == 7.0F;
      const RowLayout& layout = in_summary ? kSummary : kTable1;
      const auto rows = table_rows(report, layout, in_summary ? summary++ : table1++, t.NREAD);
      ASSERT_EQ(rows.size(), n);

      // The specimen table's row: set-up values as the echo prints them (blank where it has
      // none), the peak and end readings as the table of the readings prints them.
      const std::size_t readings_at = cells.size() - 8;
      for (std::size_t k = 1; k < readings_at; ++k) {
        const std::string name = headings[k]->text.substr(0, headings[k]->text.find(' '));
        const std::string echo = echo_value(report, echoed, name);
        EXPECT_EQ(cells[k]->text, echo == "?" ? "" : echo) << name;
      }
      for (std::size_t k = 0; k < 8; ++k) {
        const std::string& row = rows[static_cast<std::size_t>((k < 4 ? t.IMAXP : t.IEND) - 1)];
        const std::array<std::string, 4> fields{
            row.substr(layout.TNSAVE, layout.width_TNSAVE), row.substr(layout.SS, layout.width_SS),
            row.substr(layout.UBAR, layout.width_UBAR), row.substr(layout.VBAR, layout.width_VBAR)};
        EXPECT_EQ(cells[readings_at + k]->text, as_page_writes(fields[k % 4]))
            << headings[readings_at + k]->text;
      }
      for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE("reading " + std::to_string(i + 1));
        const std::string& row = rows[i];
        EXPECT_EQ(tip_value(stress[i], "UBAR"),
                  as_page_writes(row.substr(layout.UBAR, layout.width_UBAR)));
        EXPECT_EQ(tip_value(stress[i], "SS"),
                  as_page_writes(row.substr(layout.SS, layout.width_SS)));
        EXPECT_EQ(tip_value(stress[n + i], "TNSAVE"),
                  as_page_writes(row.substr(layout.TNSAVE, layout.width_TNSAVE)));
        EXPECT_EQ(tip_value(displacement[i], "VBAR"),
                  as_page_writes(row.substr(layout.VBAR, layout.width_VBAR)));
      }
    }

    EXPECT_EQ(specimen_row - 2, static_cast<std::size_t>(evaluated)) << "a row per test";

    // The overlays: a series of its own for every evaluated test, a marker for every reading.
    for (const char* id : {"seri-grafik-1", "seri-grafik-2"}) {
      const XmlElement* overlay = element_with_id(*series, "figure", id);
      if (evaluated < 2) {
        EXPECT_EQ(overlay, nullptr);
        continue;
      }
      ASSERT_NE(overlay, nullptr);
      const auto groups = marker_groups(*overlay);
      ASSERT_EQ(groups.size(), static_cast<std::size_t>(evaluated));
      std::size_t k = 0;
      for (const TestSnapshot& t : run.snapshot.tests) {
        if (t.kind != TestKind::Evaluated) continue;
        EXPECT_EQ(groups[k]->find_all("title").size(), static_cast<std::size_t>(t.NREAD));
        EXPECT_TRUE(tips_of(*groups[k++]).front().starts_with("Deney " + std::to_string(t.test)));
      }
    }

    // The envelope of the series: a label naming a test of the analysis beside every point.
    const StrengthSnapshot& st = run.snapshot.strength;
    const XmlElement* envelope = element_with_id(*series, "figure", "seri-kirilma");
    ASSERT_EQ(envelope != nullptr, st.ran);
    if (envelope != nullptr) {
      const auto labels = envelope->find_all("text", "point-label");
      EXPECT_EQ(labels.size(), 2 * st.tests.size());
      for (const XmlElement* label : labels) {
        EXPECT_NE(std::find(st.tests.begin(), st.tests.end(), std::atoi(label->text.c_str())),
                  st.tests.end())
            << label->text;
      }
    }

    // The details: the other envelopes, with the peak and end points of every test.
    const XmlElement* strength = element_with_id(*root, "section", "kayma-dayanimi");
    ASSERT_EQ(strength != nullptr, st.ran);
    if (strength == nullptr) continue;
    const auto envelopes = strength->find_all("figure", "chart");
    EXPECT_EQ(envelopes.size(), 3U);
    for (const XmlElement* chart : envelopes) {
      EXPECT_EQ(tips_of(*chart).size(), 2 * st.tests.size())
          << "the peak and end points of every test";
    }
  }
}

// A data file changed by `edit` (records from 0) runs to a page that any XML reader reads.
std::string page_of_edited(const std::string& sample, int first, int last,
                           const std::function<void(std::string&)>& edit, const PageInfo& info) {
  const std::string path = std::string(OSTREVIK_SHARED_DIR) + "/data/" + sample + ".DAT";
  std::vector<std::string> records = testing::records_of(testing::read_input(path));
  for (int k = first; k <= last; ++k) edit(records.at(static_cast<std::size_t>(k)));
  std::string bytes;
  for (const std::string& r : records) bytes += r + "\r\n";
  return html_page(testing::snapshot_of_bytes(bytes, sample + ".DAT").snapshot, info);
}

TEST(HtmlPage, ADegenerateAndARefusedTestStillGiveAValidPage) {
  struct Case {
    const char* what;
    std::function<void(std::string&)> edit;  // of the readings records
  };
  const Case cases[] = {
      // Every vertical load the same: the rotation iteration gives up; the readings before.
      {"loads equal", [](std::string& r) { r.replace(40, 8, "    1560"); }},
      // Every reading the same: axes of a single value, the peak at the end.
      {"readings equal",
       [](std::string& r) { r.replace(8, 40, "    1000    2000    3000    5000    1560"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string page = page_of_edited("TENSION1", 8, 27, c.edit, kInfo);
    std::unique_ptr<XmlElement> root;
    ASSERT_NO_THROW(root = parse_xml(page));
    EXPECT_EQ(root->find_all("figure", "chart").size(), 2U);
    EXPECT_EQ(page.find("nan"), std::string::npos);
    EXPECT_EQ(page.find("inf"), std::string::npos);
  }

  // An angle of 90 degrees in the second test: its message, and no charts for it.
  const std::string refused = page_of_edited(
      "SERIES3", 31, 31, [](std::string& r) { r.replace(0, 8, "    90.0"); }, kInfo);
  const auto root = parse_xml(refused);
  const XmlElement* second = element_with_id(*root, "section", "deney-2");
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->find_all("figure").empty());
  const auto messages = second->find_all("p", "message");
  ASSERT_EQ(messages.size(), 1U);
  EXPECT_NE(messages[0]->text.find("ALFN = 90"), std::string::npos) << messages[0]->text;
  EXPECT_EQ(root->find_all("figure", "chart").size(), 2U) << "the first test's charts only";
}

TEST(HtmlPage, PlausibilityNotesStandInABoxOfTheirTest) {
  // Reading 13 of FULL1 with its load reading typed a digit short: 34 for 341.
  const std::string page = page_of_edited(
      "FULL1", 20, 20, [](std::string& r) { r.replace(40, 7, "     34"); }, kInfo);
  const auto root = parse_xml(page);
  const XmlElement* test = element_with_id(*root, "section", "deney-1");
  ASSERT_NE(test, nullptr);
  const auto boxes = test->find_all("div", "notes");
  ASSERT_EQ(boxes.size(), 1U);
  const auto items = boxes[0]->find_all("li");
  ASSERT_FALSE(items.empty());
  EXPECT_TRUE(items[0]->text.starts_with("Okuma 13: Yük okuması P = ")) << items[0]->text;
}

TEST(HtmlPage, TheDateOfTheRunComesFromSourceDateEpoch) {
  ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  const PageInfo info{"1.0", run_time_now()};
  ::unsetenv("SOURCE_DATE_EPOCH");
  const auto run = testing::sample_snapshot("FULL1");
  const std::string page = html_page(run.snapshot, info);
  EXPECT_NE(page.find("2023-11-14 22:13 UTC"), std::string::npos);
  EXPECT_EQ(page, html_page(testing::sample_snapshot("FULL1").snapshot, info));
}

}  // namespace
}  // namespace ostrevik::exports
