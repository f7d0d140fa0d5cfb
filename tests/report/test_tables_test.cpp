#include "report/test_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_lines.h"

namespace ostrevik::report::testing {
namespace {

// Print columns of every table's fields, as the column tables of the report describe them.
const std::vector<Field> kTable1 = {
    {1, 8, 1, &R::T},         {9, 15, 2, &O::BETABC},    {16, 22, 1, &O::UBAR},
    {23, 28, 1, &O::U},       {29, 34, 1, &O::VBAR},     {35, 40, 1, &O::V},
    {41, 46, 1, &O::SS},      {47, 53, 1, &O::SSNB},     {54, 60, 1, &O::TNSAVE},
    {61, 67, 1, &O::TNNB},    {68, 75, 3, &O::SOVERN},   {76, 83, 3, &O::SOVRNB},
    {84, 90, 1, &O::TNSMAX},  {91, 98, 1, &O::TNSMIN},   {99, 105, 1, &O::VPIT},
    {106, 112, 2, &O::VPITT}, {113, 116, -1, &R::INDEX}, {117, 122, -1, &R::IPARFL},
    {123, 129, 0, &O::P}};

const std::vector<Field> kTable2WithRmv = {
    {1, 6, 1, &R::T},          {7, 12, 2, &O::USTRN},     {13, 18, 2, &O::VSTRN},
    {19, 26, 2, &O::AC},       {27, 33, 2, &O::ACNB},     {34, 40, 1, &O::SECMOM},
    {41, 46, 1, &O::PERSMA},   {47, 53, 0, &O::TMOMA},    {54, 59, 0, &O::TMOM},
    {60, 65, 1, &O::DIFMOM},   {66, 72, 1, &O::DEVREC},   {73, 79, 1, &O::DEVIBA},
    {80, 86, 1, &O::DEVIB},    {87, 92, 1, &O::DEVIBT},   {93, 99, 1, &O::DEVRPT},
    {100, 106, 1, &O::DEVJNR}, {107, 113, 1, &O::DEVVPI}, {114, 120, 1, &O::DEVNB},
    {121, 126, 1, &O::ERUABS}, {127, 131, 1, &O::RMV}};

const std::vector<Field> kTable2 = {
    {1, 9, 1, &R::T},          {10, 15, 2, &O::USTRN},    {16, 21, 2, &O::VSTRN},
    {22, 29, 2, &O::AC},       {30, 36, 2, &O::ACNB},     {37, 43, 1, &O::SECMOM},
    {44, 49, 1, &O::PERSMA},   {50, 56, 1, &O::TMOMA},    {57, 63, 1, &O::TMOM},
    {64, 70, 1, &O::DIFMOM},   {71, 76, 1, &O::DEVREC},   {77, 83, 1, &O::DEVIBA},
    {84, 89, 1, &O::DEVIB},    {90, 96, 1, &O::DEVIBT},   {97, 103, 1, &O::DEVRPT},
    {104, 110, 1, &O::DEVJNR}, {111, 117, 1, &O::DEVVPI}, {118, 123, 1, &O::DEVNB},
    {124, 131, 1, &O::ERUABS}};

const std::vector<Field> kTable3Full = {
    {1, 6, 1, &R::T},          {7, 12, 1, &O::DXABS},    {13, 18, 1, &O::DY1ABS},
    {19, 25, 1, &O::DTMLP2},   {26, 31, 1, &O::DRPB},    {32, 38, 0, &O::SLATLD},
    {39, 45, 0, &O::HTFYKS},   {46, 52, 2, &O::GRSBAL},  {53, 59, 2, &O::GRDQC},
    {60, 66, 1, &O::ANGLQ},    {67, 72, 1, &O::WQNC},    {73, 78, 1, &O::DECLYK},
    {79, 85, 1, &O::TNSAVP},   {86, 92, 1, &O::SSAVP},   {93, 99, 1, &O::AVPRST},
    {100, 105, 2, &O::DVOVDU}, {106, 112, 1, &O::ALPHA}, {113, 118, 1, &O::ALPHAR},
    {119, 125, 0, &O::XFC}};

const std::vector<Field> kTable3Short = {
    {2, 6, 1, &R::T},          {7, 12, 1, &O::DXABS},    {13, 18, 1, &O::DY1ABS},
    {19, 25, 1, &O::DTMLP2},   {26, 31, 1, &O::DRPB},    {32, 37, 1, &O::SLATLD},
    {80, 85, 1, &O::TNSAVP},   {86, 92, 1, &O::SSAVP},   {93, 99, 1, &O::AVPRST},
    {100, 105, 2, &O::DVOVDU}, {106, 112, 1, &O::ALPHA}, {113, 118, 1, &O::ALPHAR},
    {119, 125, 0, &O::XFC}};

std::vector<Field> summary_fields(bool lateral_load) {
  std::vector<Field> f = {
      {1, 6, 1, &R::T},         {7, 11, 1, &O::UBAR},      {12, 18, 2, &O::VBAR},
      {19, 25, 2, &O::BETABC},  {26, 33, 1, &O::TNSAVE},   {34, 41, 1, &O::SS},
      {42, 49, 3, &O::SOVERN},  {50, 57, 0, &O::P},        {58, 64, 0, &O::SLATLD},
      {65, 72, 0, &O::XFC},     {73, 80, 0, &O::YFORCE},   {81, 88, 1, &O::AC},
      {89, 96, 1, &O::TMOM},    {97, 103, 1, &O::DEVIB},   {104, 110, 1, &O::ALPHAR},
      {111, 117, 2, &O::GRDQC}, {118, 124, 1, &O::AVPRST}, {125, 130, 2, &O::DVOVDU}};
  if (!lateral_load) f.erase(f.begin() + 15);
  return f;
}

const std::vector<Field> kTable4 = {
    {1, 6, 1, &O::TNSAVP, At::Peak},    {7, 14, 1, &O::SSAVP, At::Peak},
    {15, 20, 1, &O::TNSAVP, At::End},   {21, 28, 1, &O::SSAVP, At::End},
    {29, 35, 1, &O::TNSAVE, At::Peak},  {36, 43, 1, &O::SS, At::Peak},
    {44, 51, 1, &O::TNSAVE, At::End},   {52, 59, 1, &O::SS, At::End},
    {60, 67, 1, &O::TNNB, At::Peak},    {68, 75, 1, &O::SSNB, At::Peak},
    {76, 82, 1, &O::TNNB, At::End},     {83, 88, 1, &O::SSNB, At::End},
    {89, 97, 1, &O::AVPRST, At::Peak},  {98, 104, 2, &O::DVOVDU, At::Peak},
    {105, 111, 1, &O::AVPRST, At::End}, {112, 118, 2, &O::DVOVDU, At::End},
    {119, 128, 1, &R::T, At::Peak}};

// Header records of each table, in lines.
constexpr int kHeaderLines1 = 9, kHeaderLines2 = 9, kHeaderLines3 = 11, kHeaderLinesSummary = 9,
              kHeaderLines4 = 14;

std::vector<std::string> written(const Run& run) {
  codec::StringSink sink;
  write_test_tables(run, sink);
  return lines_of(sink);
}

// Whether a line begins, after blanks, with the title, and the title is not part of a longer
// word ("ÇİZELGE 1" is not "ÇİZELGE 1A").
bool is_title(const std::string& line, std::string_view utf8_title) {
  const std::string title = cp857(utf8_title);
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos || line.compare(start, title.size(), title) != 0) return false;
  const std::size_t after = start + title.size();
  return after == line.size() || line[after] == ' ' || title.back() == 'T';
}

TEST(ReportTables, HeaderRulesSpanTheRows) {
  ostrevik::Run run;
  run.u.NREAD = 0;
  const std::vector<std::string> lines = written(run);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines1 + kHeaderLines2 + kHeaderLines3 +
                                                   kHeaderLines4));
  // The last header line of each table is its rule of hyphens.
  struct Rule {
    int line, blanks, hyphens;
  };
  const Rule rules[] = {{kHeaderLines1 - 1, 3, 126},
                        {kHeaderLines1 + kHeaderLines2 - 1, 4, 127},
                        {kHeaderLines1 + kHeaderLines2 + kHeaderLines3 - 1, 1, 124},
                        {static_cast<int>(lines.size()) - 1, 1, 129}};
  for (const Rule& r : rules) {
    EXPECT_EQ(lines[static_cast<std::size_t>(r.line)],
              std::string(static_cast<std::size_t>(r.blanks), ' ') +
                  std::string(static_cast<std::size_t>(r.hyphens), '-'));
  }
  EXPECT_EQ(lines[2], std::string(62, ' ') + cp857("ÇİZELGE 1"));
  EXPECT_EQ(lines[3].substr(0, 71), std::string(62, ' ') + std::string(9, '-'));
}

// A test of four readings, the middle two with a lateral load: every row of every table in
// the print columns of its fields, full and short rows side by side.
class ReportRows : public ::testing::Test {
 protected:
  void SetUp() override {
    run.c.PAROUT = 0;
    run.c.PARINC = 0;
    run.u.DHPLAN = 0.5F;
    run.r.QSPBAL(2) = 12.5F;
    run.r.QSPBAL(3) = -3.0F;
    run.o.IMAXP = 3;
    run.o.IEND = 4;
  }
  static bool with_lateral_load(int I) { return I == 2 || I == 3; }
  ostrevik::Run run = filled_run(4);
};

TEST_F(ReportRows, FullSetOfTables) {
  const std::vector<std::string> lines = written(run);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines1 + kHeaderLines2 + kHeaderLines3 +
                                                   kHeaderLines4 + 3 * 4 + 1));
  std::size_t n = kHeaderLines1;
  for (int I = 1; I <= 4; ++I) expect_row(lines[n++], 129, kTable1, run, I);
  n += kHeaderLines2;
  for (int I = 1; I <= 4; ++I) expect_row(lines[n++], 131, kTable2, run, I);
  n += kHeaderLines3;
  for (int I = 1; I <= 4; ++I) {
    SCOPED_TRACE(I);
    expect_row(lines[n++], 125, with_lateral_load(I) ? kTable3Full : kTable3Short, run, I);
  }
  n += kHeaderLines4;
  expect_row(lines[n], 128, kTable4, run, 0);
}

TEST_F(ReportRows, Table2WithFrameResistanceOnlyForParincOne) {
  for (const float PARINC : {1.0F, 2.0F, 0.0F, -1.0F}) {
    SCOPED_TRACE(PARINC);
    run.c.PARINC = PARINC;
    const std::vector<std::string> lines = written(run);
    const std::size_t first = kHeaderLines1 + 4 + kHeaderLines2;
    ASSERT_GT(lines.size(), first + 4);
    for (int I = 1; I <= 4; ++I) {
      expect_row(lines[first + static_cast<std::size_t>(I) - 1], 131,
                 PARINC == 1.0F ? kTable2WithRmv : kTable2, run, I);
    }
    EXPECT_EQ(lines[first - 3].ends_with("ERUABS RMV"), PARINC == 1.0F) << lines[first - 3];
  }
}

TEST_F(ReportRows, SummaryTableAndTable4) {
  run.c.PAROUT = 6;
  const std::vector<std::string> lines = written(run);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLinesSummary + 4 + kHeaderLines4 + 1));
  for (int I = 1; I <= 4; ++I) {
    SCOPED_TRACE(I);
    const std::string& row = lines[static_cast<std::size_t>(kHeaderLinesSummary + I - 1)];
    expect_row(row, 130, summary_fields(with_lateral_load(I)), run, I);
  }
  expect_row(lines.back(), 128, kTable4, run, 0);
}

// The tables each PAROUT selects, in order: 1, 2, 3 for Tables 1 to 3, S the summary table,
// 4 Table 4, N the DH note (written when DH exceeds 16).
TEST(ReportTables, OrderChosenByParout) {
  struct Case {
    float PAROUT, DH;
    const char* tables;
  };
  const Case cases[] = {
      {0, 88, "1234N"},  {0, 16.0F, "1234"}, {0, 16.01F, "1234N"}, {1, 0, "1234"}, {5, 0, "1234"},
      {-1, 0, "1234"},   {9, 0, "1234"},     {6.5F, 0, "1234"},    {6, 88, "S4N"}, {6, 16.0F, "S4"},
      {7, 16.01F, "SN"}, {7, 0, "S"},        {8, 88, ""},          {8, 0, ""},
  };
  const std::pair<char, const char*> titles[] = {{'1', "ÇİZELGE 1"},    {'2', "ÇİZELGE 2"},
                                                 {'3', "ÇİZELGE 3"},    {'4', "ÇİZELGE 4"},
                                                 {'S', "ÖZET ÇİZELGE"}, {'N', "***NOT"}};
  for (const Case& c : cases) {
    ostrevik::Run run = filled_run(2);
    run.c.PAROUT = c.PAROUT;
    run.u.DHPLAN = c.DH;
    std::string seen;
    for (const std::string& line : written(run)) {
      for (const auto& [tag, title] : titles) {
        if (is_title(line, title)) seen += tag;
      }
    }
    EXPECT_EQ(seen, c.tables) << "PAROUT " << c.PAROUT << ", DH " << c.DH;
  }
}

// Table 1A: nothing for a test without rows, otherwise its header once and a row per record.
TEST(TensionTable, HeaderOnlyAboveRows) {
  const TensionRow row{3.0F, 0.0F, 0.3F, 0.1F, 0.0F, 5.0F, 112.5F, 1, 0.0F, 0.0F, 100.0F, 0.0F, 1};
  const std::string text =
      "            3.0    0.00    0.30    0.10       0.00      5.00    112.50       1        0.0"
      "     0.0    100.0       0.0     1";
  for (const int rows : {0, 1, 3}) {
    SCOPED_TRACE(rows);
    ostrevik::Run run;
    for (int k = 1; k <= rows; ++k) run.o.T1A(k) = row;
    run.o.NT1A = rows;
    codec::StringSink sink;
    write_tension_table(run, sink);
    const std::vector<std::string> lines = lines_of(sink);
    ASSERT_EQ(lines.size(), rows == 0 ? 0U : 6U + static_cast<std::size_t>(rows));
    if (rows == 0) continue;
    EXPECT_EQ(lines[2].substr(48), cp857("ÇİZELGE 1A. KESME DÜZL.DE ÇEKME GER."));
    EXPECT_EQ(lines[5], std::string(10, ' ') + std::string(112, '-'));
    for (int k = 0; k < rows; ++k) EXPECT_EQ(lines[6 + k], text);
  }
}

}  // namespace
}  // namespace ostrevik::report::testing
