// The evaluated readings of the sample files against Table 1 of the reference reports: every
// column of every row within one unit of its last printed digit.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "input/constants_block.h"
#include "input/readings_records.h"
#include "input/specimen_records.h"
#include "input/title_block.h"
#include "mechanics/evaluation.h"

namespace ostrevik::mechanics {
namespace {

const std::string kShared = OSTREVIK_SHARED_DIR;

constexpr int kColumns = 19;
using Row = std::array<double, kColumns>;

// Field widths and decimals of a Table 1 row; integers have no decimals.
constexpr std::array<int, kColumns> kWidth = {8, 7, 7, 6, 6, 6, 6, 7, 7, 7,
                                              8, 8, 7, 8, 7, 7, 4, 6, 7};
constexpr std::array<int, kColumns> kDecimals = {1, 2, 1, 1, 1, 1, 1, 1, 1, 1,
                                                 3, 3, 1, 1, 1, 2, 0, 0, 0};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The rows of every Table 1 of a report, as printed.
std::vector<std::vector<Row>> printed_tables(const std::string& report) {
  const std::vector<std::string> lines = lines_of(report);
  std::vector<std::vector<Row>> tables;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].find("BETABC  UBAR") == std::string::npos) continue;
    std::vector<Row>& rows = tables.emplace_back();
    for (k += 3; k < lines.size() && !lines[k].empty(); ++k) {
      Row row{};
      std::size_t column = 0;
      for (int j = 0; j < kColumns; ++j) {
        row[j] = std::stod(lines[k].substr(column, kWidth[j]));
        column += kWidth[j];
      }
      rows.push_back(row);
    }
  }
  return tables;
}

Row evaluated_row(const ostrevik::Run& run, int I) {
  const Results& o = run.o;
  return {run.r.T(I),
          o.BETABC(I),
          o.UBAR(I),
          o.U(I),
          o.VBAR(I),
          o.V(I),
          o.SS(I),
          o.SSNB(I),
          o.TNSAVE(I),
          o.TNNB(I),
          o.SOVERN(I),
          o.SOVRNB(I),
          o.TNSMAX(I),
          o.TNSMIN(I),
          o.VPIT(I),
          o.VPITT(I),
          double(run.r.INDEX(I)),
          double(run.r.IPARFL(I)),
          run.r.P(I)};
}

// Every test of a data file taken as the run takes it; the readings of the tests that print
// Table 1.
std::vector<std::vector<Row>> evaluated_tables(const std::string& name) {
  codec::Source data(read_file(kShared + "/data/" + name + ".DAT"), 5, name + ".DAT");
  codec::StringSink report;
  auto run = std::make_unique<ostrevik::Run>();
  std::vector<std::vector<Row>> tables;
  bool with_constants = true;
  for (;;) {
    if (with_constants) {
      if (run->n.NTEST > 0 && data.at_end()) break;
      input::read_constants_block(*run, data, report);
    }
    if (!input::read_title_block(*run, data, report)) break;
    input::read_specimen_records(*run, data);
    input::set_up_and_echo(*run, report);
    input::read_readings(*run, data);
    evaluate_test(*run, report);
    const float PAROUT = run->c.PAROUT;
    if (PAROUT != 6.0F && PAROUT != 7.0F && PAROUT != 8.0F) {
      std::vector<Row>& rows = tables.emplace_back();
      for (int I = 1; I <= run->u.NREAD; ++I) rows.push_back(evaluated_row(*run, I));
      EXPECT_EQ(run->o.UBAR(1), 0.0F);
      EXPECT_EQ(run->o.U(1), 0.0F);
    }
    with_constants = run->s.PFIXDR == 1.0F || run->s.PFIXDR == 3.0F;
  }
  return tables;
}

class ReferenceTable1 : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceTable1, EveryColumnWithinTheLastPrintedDigit) {
  const std::string name = GetParam();
  const auto printed = printed_tables(read_file(kShared + "/data/reference/" + name + ".OUT"));
  const auto evaluated = evaluated_tables(name);
  ASSERT_FALSE(printed.empty());
  ASSERT_EQ(evaluated.size(), printed.size());
  for (std::size_t t = 0; t < printed.size(); ++t) {
    ASSERT_EQ(evaluated[t].size(), printed[t].size()) << "test " << t + 1;
    for (std::size_t i = 0; i < printed[t].size(); ++i) {
      for (int j = 0; j < kColumns; ++j) {
        const double unit = std::pow(10.0, -kDecimals[j]);
        EXPECT_NEAR(evaluated[t][i][j], printed[t][i][j], unit * 1.0001)
            << name << " test " << t + 1 << " reading " << i + 1 << " column " << j + 1;
      }
      const double INDEX = evaluated[t][i][16];
      EXPECT_GE(INDEX, 1);
      EXPECT_LE(INDEX, 6);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SampleFiles, ReferenceTable1,
                         ::testing::Values("FULL1", "LATERAL", "FREEPL", "TENSION1", "TYPFRA1",
                                           "PFIXDR"));

}  // namespace
}  // namespace ostrevik::mechanics
