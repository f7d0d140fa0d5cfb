// The strength block of the two sample series, recomputed from the stresses printed in the
// reference reports: the same records, column for column, with the computed values equal
// up to the rounding of those printed stresses.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "common/files.h"
#include "strength/analysis.h"

namespace ostrevik::strength {
namespace {

// The reference report's records from the table of stresses to the end.
std::vector<std::string> reference_block(const std::string& name) {
  const std::vector<std::string> lines = testing::records_of(
      testing::read_input(std::string(OSTREVIK_SHARED_DIR) + "/data/reference/" + name + ".OUT"));
  const std::string caption = codec::to_cp857("   EN YÜK. DAY.");
  for (std::size_t i = 2; i < lines.size(); ++i) {
    if (lines[i].starts_with(caption)) {
      return {lines.begin() + static_cast<std::ptrdiff_t>(i - 2), lines.end()};
    }
  }
  return {};
}

// Fills the per-test record from the rows of the printed table of stresses.
ostrevik::Run run_from_table(const std::vector<std::string>& block, int IPARRG, float POISNR) {
  ostrevik::Run run;
  run.c.IPARRG = IPARRG;
  run.c.POISNR = POISNR;
  for (std::size_t i = 5; i < block.size() && !block[i].empty(); ++i) {
    const int t = ++run.n.NTEST;
    std::istringstream row(block[i]);
    row >> run.pt.DVDUPK(t) >> run.pt.FIPK(t) >> run.pt.DVDUEN(t) >> run.pt.FIEN(t);
    for (int c = 1; c <= NCASE; ++c) row >> run.pt.SIGA(t, c) >> run.pt.TAUA(t, c);
    run.pt.STORED(t) = true;
  }
  return run;
}

// The record with every digit shown as 9: literals, signs and field columns stay visible.
std::string shape(std::string line) {
  for (char& ch : line) {
    if (ch >= '0' && ch <= '9') ch = '9';
  }
  return line;
}

// The decimal numbers of a record: runs of signs, digits and points that hold a digit.
std::vector<double> numbers(const std::string& line) {
  std::vector<double> found;
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t end = std::min(line.find_first_not_of("-.0123456789", at), line.size());
    const std::string run = line.substr(at, end - at);
    if (run.find_first_of("0123456789") != std::string::npos &&
        run.find('.') != std::string::npos) {
      found.push_back(std::stod(run));
    }
    at = end == at ? at + 1 : end;
  }
  return found;
}

// Same literals and fields at the same columns; numbers within 1 % (0.15 below 15).
void expect_same_records(const std::vector<std::string>& expected,
                         const std::vector<std::string>& actual) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(shape(actual[i]), shape(expected[i])) << "record " << i;
    const std::vector<double> want = numbers(expected[i]);
    const std::vector<double> got = numbers(actual[i]);
    ASSERT_EQ(got.size(), want.size()) << "record " << i;
    for (std::size_t k = 0; k < want.size(); ++k) {
      EXPECT_LE(std::fabs(got[k] - want[k]), std::max(0.15, 0.01 * std::fabs(want[k])))
          << "record " << i << ": " << want[k] << " / " << got[k];
    }
  }
}

// The blocks of the series' report, as the IPARRG 5 reference shows them.
struct Blocks {
  std::vector<std::string> table, origin, linear, power, triaxial_header, triaxial_rows;
};

Blocks blocks_of(const std::vector<std::string>& block) {
  const auto at = [&](const std::string& utf8) {
    const std::string label = codec::to_cp857(utf8);
    std::size_t i = 0;
    while (i < block.size() && !block[i].starts_with(label)) ++i;
    return static_cast<std::ptrdiff_t>(i);
  };
  const auto range = [&](std::ptrdiff_t from, std::ptrdiff_t to) {
    return std::vector<std::string>(block.begin() + from, block.begin() + to);
  };
  const std::ptrdiff_t corzro = at(" C = 0"), cofcor = at(" C, F"), power = at(" ÜSLÜ");
  const std::ptrdiff_t triaxial = at(" ÜÇ EKSENLİ");
  return {range(0, corzro - 1),
          range(corzro - 1, cofcor - 1),
          range(cofcor - 1, power - 1),
          range(power - 1, power + 6),
          range(triaxial - 2, triaxial + 7),
          range(triaxial + 7, static_cast<std::ptrdiff_t>(block.size()))};
}

// Triaxial rows with only the origin (columns 1-37) or only the cohesion columns (52-71).
std::vector<std::string> origin_columns_of(std::vector<std::string> rows) {
  for (std::string& row : rows) row.resize(37);
  return rows;
}
std::vector<std::string> cohesion_columns_of(std::vector<std::string> rows) {
  for (std::string& row : rows) row.replace(0, 51, std::string(51, ' '));
  return rows;
}

TEST(StrengthReferenceSeries, EveryParregWritesItsBlocks) {
  const std::vector<std::string> reference = reference_block("SERIES5");
  ASSERT_FALSE(reference.empty());
  const Blocks b = blocks_of(reference);
  ASSERT_EQ(b.origin.size(), 4U);
  ASSERT_EQ(b.linear.size(), 5U);
  ASSERT_EQ(b.triaxial_rows.size(), 4U);
  const auto join = [](std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const std::vector<std::vector<std::string>> expected{
      join({b.table, b.origin, b.triaxial_header, origin_columns_of(b.triaxial_rows)}),
      join({b.table, b.linear, b.triaxial_header, cohesion_columns_of(b.triaxial_rows)}),
      join({b.table, b.origin, b.linear, b.triaxial_header, b.triaxial_rows}),
      join({b.table, b.origin, b.power, b.triaxial_header, origin_columns_of(b.triaxial_rows)}),
      reference};
  for (int IPARRG = 1; IPARRG <= 5; ++IPARRG) {
    ostrevik::Run run = run_from_table(reference, IPARRG, 0.3F);
    codec::StringSink report;
    analyse_end_of_input(run, report);
    SCOPED_TRACE("IPARRG " + std::to_string(IPARRG));
    expect_same_records(expected[static_cast<std::size_t>(IPARRG - 1)],
                        testing::records_of(report.bytes));
  }
}

}  // namespace
}  // namespace ostrevik::strength
