#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "report/friction_angle.h"
#include "report/test_tables.h"
#include "report_lines.h"

namespace ostrevik::report::testing {
namespace {

TEST(FrictionAngle, DegreesOfTheStressRatio) {
  struct Case {
    float SS, TNSAVE, degrees;
  };
  const Case cases[] = {
      {49.2F, 28.5F, 59.917647F},
      {-36.3F, 21.1F, -59.831967F},
      {10.0F, -10.0F, -45.0F},
      {-10.0F, -10.0F, 45.0F},
      {0.0F, 12.0F, 0.0F},
      // no normal stress: the sign of the shear stress decides, without a division
      {5.0F, 0.0F, 90.0F},
      {-5.0F, 0.0F, -90.0F},
      {0.0F, 0.0F, 0.0F},
      {3.0F, -0.0F, 90.0F},
  };
  for (const Case& c : cases) {
    const float phi = friction_angle(c.SS, c.TNSAVE);
    EXPECT_FALSE(std::isnan(phi));
    EXPECT_NEAR(phi, c.degrees, 2e-5F) << c.SS << " / " << c.TNSAVE;
  }
}

// A stored value against the print columns of its column in Table 4.
struct StoredColumn {
  const char* name;
  int first, last, decimals;
  std::function<float(const PerTest&, int)> value;
};

std::string printed(float value, int first, int last, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%*.*f", last - first + 1, decimals, static_cast<double>(value));
  return text;
}

// Three tests of a series, each with its own peak and end readings: after each test the
// record holds what its Table 4 shows, and the earlier tests' elements stay as they were.
TEST(PeakAndEnd, RecordHoldsTheValuesOfTable4) {
  const std::vector<StoredColumn> columns = {
      {"SIGA2", 1, 6, 1, [](const PerTest& p, int t) { return p.SIGA(t, 2); }},
      {"TAUA2", 7, 14, 1, [](const PerTest& p, int t) { return p.TAUA(t, 2); }},
      {"SIGA5", 15, 20, 1, [](const PerTest& p, int t) { return p.SIGA(t, 5); }},
      {"TAUA5", 21, 28, 1, [](const PerTest& p, int t) { return p.TAUA(t, 5); }},
      {"SIGA1", 29, 35, 1, [](const PerTest& p, int t) { return p.SIGA(t, 1); }},
      {"TAUA1", 36, 43, 1, [](const PerTest& p, int t) { return p.TAUA(t, 1); }},
      {"SIGA4", 44, 51, 1, [](const PerTest& p, int t) { return p.SIGA(t, 4); }},
      {"TAUA4", 52, 59, 1, [](const PerTest& p, int t) { return p.TAUA(t, 4); }},
      {"SIGA3", 60, 67, 1, [](const PerTest& p, int t) { return p.SIGA(t, 3); }},
      {"TAUA3", 68, 75, 1, [](const PerTest& p, int t) { return p.TAUA(t, 3); }},
      {"SIGA6", 76, 82, 1, [](const PerTest& p, int t) { return p.SIGA(t, 6); }},
      {"TAUA6", 83, 88, 1, [](const PerTest& p, int t) { return p.TAUA(t, 6); }},
      {"DVDUPK", 98, 104, 2, [](const PerTest& p, int t) { return p.DVDUPK(t); }},
      {"DVDUEN", 112, 118, 2, [](const PerTest& p, int t) { return p.DVDUEN(t); }},
  };
  struct SeriesTest {
    int NREAD, IMAXP, IEND;
    float PAROUT;
  };
  const SeriesTest series[] = {{5, 2, 4, 0}, {7, 7, 7, 6}, {3, 1, 3, 8}};

  ostrevik::Run run;
  std::vector<std::string> table4_rows;
  for (int t = 1; t <= 3; ++t) {
    const SeriesTest& test = series[t - 1];
    ostrevik::Run next = filled_run(test.NREAD);
    next.pt = run.pt;
    run = next;
    run.n.NTEST = t;
    run.c.PARREG = 3;
    run.o.IMAXP = test.IMAXP;
    run.o.IEND = test.IEND;
    // Shift the values of each test so that no two tests print alike.
    for (int I = 1; I <= test.NREAD; ++I) {
      for (RArr Results::*a : {&Results::TNSAVE, &Results::SS, &Results::TNSAVP, &Results::SSAVP,
                               &Results::TNNB, &Results::SSNB, &Results::DVOVDU}) {
        (run.o.*a)(I) += static_cast<float>(100 * t);
      }
    }
    run.c.PAROUT = 6;
    codec::StringSink sink;
    write_test_tables(run, sink);
    table4_rows.push_back(lines_of(sink).back());
    run.c.PAROUT = test.PAROUT;  // the record does not depend on the tables written
    store_peak_and_end(run);
  }

  for (int t = 1; t <= 3; ++t) {
    SCOPED_TRACE("test " + std::to_string(t));
    const std::string& row = table4_rows[static_cast<std::size_t>(t - 1)];
    for (const StoredColumn& c : columns) {
      EXPECT_EQ(printed(c.value(run.pt, t), c.first, c.last, c.decimals),
                row.substr(static_cast<std::size_t>(c.first - 1),
                           static_cast<std::size_t>(c.last - c.first + 1)))
          << c.name;
    }
    EXPECT_NEAR(run.pt.FIPK(t), std::atan(run.pt.TAUA(t, 1) / run.pt.SIGA(t, 1)) * 180.0F / PI,
                1e-4F);
    EXPECT_NEAR(run.pt.FIEN(t), std::atan(run.pt.TAUA(t, 4) / run.pt.SIGA(t, 4)) * 180.0F / PI,
                1e-4F);
    EXPECT_TRUE(run.pt.STORED(t));
  }
  EXPECT_EQ(run.pt.SIGA(2, 1), run.pt.SIGA(2, 4)) << "IMAXP = IEND";
  EXPECT_FALSE(run.pt.STORED(4));
  EXPECT_EQ(run.pt.SIGA(4, 1), 0.0F);
}

TEST(PeakAndEnd, NothingStoredWithoutRegression) {
  for (const float PARREG : {0.0F, -1.0F}) {
    ostrevik::Run run = filled_run(4);
    run.n.NTEST = 2;
    run.c.PARREG = PARREG;
    run.pt.SIGA(2, 1) = 7.0F;
    run.pt.FIEN(2) = 7.0F;
    store_peak_and_end(run);
    EXPECT_EQ(run.pt.SIGA(2, 1), 7.0F);
    EXPECT_EQ(run.pt.FIEN(2), 7.0F);
    EXPECT_FALSE(run.pt.STORED(2));
  }
}

}  // namespace
}  // namespace ostrevik::report::testing
