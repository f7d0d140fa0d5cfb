// Readings records, their conversion, and the readings check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/cp857.h"
#include "data_text.h"
#include "input/fixed_column_source.h"
#include "input/prepare.h"
#include "input/readings_check.h"
#include "model/outcome.h"

namespace ostrevik::input {
namespace {

using testing::lines;
using testing::records_of;
using testing::source_of;

// One readings record: hour and minute in 4 columns, the four gauges in 8, the load gauge in 7
// and the flag in 1, the balance and yoke values in 8, 8, 4 and 4.
struct Reading {
  std::string hour, minute, dx = "0", dy = "0", dt = "0", dr = "0", load = "0", flag = "0",
                            balance1 = "", yoke_level = "", yoke_angle = "", balance2 = "";
  std::string record() const {
    return testing::fields({hour, minute}, 4) + testing::fields({dx, dy, dt, dr}) +
           testing::fields({load}, 7) + flag + testing::fields({balance1, yoke_level}) +
           testing::fields({yoke_angle, balance2}, 4);
  }
};

// The readings records of a test as the source reads them.
std::vector<RawReading> raw_readings(const std::vector<Reading>& readings) {
  testing::SpecimenRecords specimen;
  specimen.RNREAD = std::to_string(readings.size());
  std::string text = testing::constants_block() + testing::titles() + specimen.text();
  for (const Reading& r : readings) text += r.record() + "\r\n";
  codec::Source data = source_of(text);
  FixedColumnSource tests(data);
  const SourcedTest test = tests.next();
  EXPECT_FALSE(test.error);
  EXPECT_TRUE(data.at_end());
  return test.test.readings;
}

// A run with gauge constants of 0.001 cm a division and the given readings read and converted.
ostrevik::Run converted(const std::vector<Reading>& readings, ostrevik::Run run = {}) {
  run.c.CONDX = run.c.CONDY = run.c.CONYMP = run.c.CONRPB = 0.001F;
  run.c.DVPR = 0.000254F;
  run.u.NREAD = static_cast<int>(readings.size());
  prepare_readings(run, raw_readings(readings));
  return run;
}

TEST(Readings, ElapsedTimeWithBlankHours) {
  struct Case {
    std::vector<Reading> readings;
    std::vector<float> T, TIMACT;
  };
  const Case cases[] = {
      {{{"10", "55"}, {"", "58"}, {"11", "2"}}, {0, 3, 7}, {10.55F, 10.58F, 11.02F}},
      // past midnight the hour stays 23 and the time runs backwards
      {{{"23", "50"}, {"", "55"}, {"0", "5"}}, {0, 5, -45}, {23.50F, 23.55F, 23.05F}},
  };
  for (const Case& k : cases) {
    const ostrevik::Run run = converted(k.readings);
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(run.r.T(i), k.T.at(static_cast<std::size_t>(i - 1))) << i;
      EXPECT_FLOAT_EQ(run.r.TIMACT(i), k.TIMACT.at(static_cast<std::size_t>(i - 1))) << i;
    }
  }
}

// The lateral load of the spring balances, with unit balance constants unless given.
TEST(Readings, LateralLoad) {
  struct Case {
    float PARLAT, PSPBDL;
    std::string balance1, balance2;
    float ASPBL1, QSPBAL, WQNC;
  };
  const Case cases[] = {
      {1, 0, "5", "7", 0, 22.3F, 1.5F},  // balance 1 counted twice, balance 2 ignored
      {1, 1, "5", "5", 0, 22.3F, 1.5F},  // both balances
      {1, 1, "", "", 0, 0, 0},           // no lateral load
      {2, 0, "", "", 0.5F, 2.23F, 1.5F},
      // no lateral-load constants in force: no lateral load whatever an older block left
      {0, 0, "", "", 0.5F, 0, 0},
      {0, 1, "5", "5", 0, 0, 0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.PARLAT << " " << k.PSPBDL << " " << k.balance1);
    ostrevik::Run run;
    run.c.PARLAT = k.PARLAT;
    run.s.PSPBDL = k.PSPBDL;
    run.c.DSPBL1 = run.c.DSPBL2 = 1;
    run.c.ASPBL1 = k.ASPBL1;
    run.c.WYK = 1.5F;
    run.w.lateral.GRDQR = run.w.lateral.GRSBR = run.w.lateral.ANGQR = 0.3F;
    run.r.WQW = 1.5F;
    Reading r{"10", "0"};
    r.balance1 = k.balance1;
    r.balance2 = k.balance2;
    run = converted({r, r}, run);
    EXPECT_FLOAT_EQ(run.r.QSPBAL(2), k.QSPBAL);
    EXPECT_EQ(run.r.WQNC(2), k.WQNC);
    EXPECT_EQ(run.r.WQW, k.WQNC);
    EXPECT_EQ(run.w.lateral.GRDQR, k.QSPBAL == 0 ? 0.0F : 0.3F);
  }
}

TEST(Readings, GaugesLoadAndWorkingHeight) {
  struct Case {
    float GRINL, P2, H2ACT;
  };
  // P = WBC + GRSLO*GRREAD + WLP1 + WLP2 with GRINL 0, else (GRINL - GRREAD)*GRSLO + ...
  for (const Case& k : {Case{0, 0.5F + 0.25F * 1500 + 1 + 2, 20.0F - 0.000254F * 1500},
                        Case{2500, 0.5F + 1000 * 0.25F + 1 + 2, 18.0F}}) {
    ostrevik::Run run;
    run.c.GRINL = k.GRINL;
    run.c.GRSLO = 0.25F;
    run.c.WBC = 0.5F;
    run.c.WLP1 = 1;
    run.c.WLP2 = 2;
    run.c.H2 = 20;
    run.p.H2ACT = 18;
    run.s.VPI = 0.2F;
    Reading first{"9", "0", "100", "200", "300", "648", "1000", "1"};
    Reading second{"", "3", "150", "190", "310", "647.5", "1500", "0"};
    run = converted({first, second}, run);
    EXPECT_FLOAT_EQ(run.r.P(2), k.P2);
    EXPECT_FLOAT_EQ(run.p.H2ACT, k.H2ACT);  // from the last reading
    EXPECT_FLOAT_EQ(run.r.DXABS(2), 0.05F);
    EXPECT_FLOAT_EQ(run.r.DY1ABS(2), -0.01F);
    EXPECT_FLOAT_EQ(run.r.DTMLP2(1), -0.2F);
    EXPECT_FLOAT_EQ(run.r.DTMLP2(2), 0.01F - 0.2F);
    EXPECT_FLOAT_EQ(run.r.DRPB(2), 0.0005F);  // the piston reading falls: DRPB grows
    EXPECT_EQ(run.r.IPARFL(1), 1);
    EXPECT_EQ(run.r.INDEX(2), 0);
  }
}

// A count outside 2..40 reads no readings record, and the test is refused.
TEST(Readings, CountOutsideTwoToFortyIsRefusedBeforeReading) {
  struct Case {
    std::string RNREAD, soil;  // record 6 and record 6a's count ("" without record 6a)
    int NREAD;
  };
  const Case cases[] = {
      {"-3", "", -3}, {"0", "", 0}, {"1", "", 1}, {"41", "41", 41}, {"400", "400", 400}};
  for (const Case& k : cases) {
    testing::SpecimenRecords specimen;
    specimen.RNREAD = k.RNREAD;
    std::string text = testing::constants_block() + testing::titles() + specimen.text();
    if (!k.soil.empty()) text += lines({testing::fields({k.soil, "2.7", "0.2"})});
    codec::Source data = source_of(text + lines({Reading{"9", "0"}.record()}));
    FixedColumnSource tests(data);
    const SourcedTest test = tests.next();
    EXPECT_FALSE(test.error);
    EXPECT_TRUE(test.test.readings.empty());
    EXPECT_EQ(data.line_number(), k.soil.empty() ? 8 : 9);
    ostrevik::Run run;
    run.n.NTEST = 7;
    run.u.NREAD = k.NREAD;
    try {
      prepare_readings(run, test.test.readings);
      ADD_FAILURE() << k.NREAD << " not refused";
    } catch (const TestRefused& refused) {
      EXPECT_EQ(refused.refusal.test, 7);
      EXPECT_EQ(refused.refusal.name, "NREAD");
      EXPECT_EQ(refused.refusal.value, RefusedValue(k.NREAD));
      EXPECT_EQ(refused.refusal.rule, Rule::Between2And40);
    }
  }
}

// Converted gauges that move by their own steady step: 0.5, 0.25, 0.125 and 0.0625 cm a reading,
// with optional changes at single readings.
ostrevik::Run steady(int nread) {
  ostrevik::Run run;
  run.u.NREAD = nread;
  for (int i = 1; i <= nread; ++i) {
    const auto step = static_cast<float>(i - 1);
    run.r.DXABS(i) = 0.5F * step;
    run.r.DY1ABS(i) = 0.25F * step;
    run.r.DTMLP2(i) = 0.125F * step;
    run.r.DRPB(i) = 0.0625F * step;
    run.r.TIMACT(i) = 9.0F + step / 100.0F;
  }
  return run;
}

std::vector<std::string> check(const ostrevik::Run& run) {
  codec::StringSink report;
  check_readings(run, report);
  return records_of(report);
}

const std::vector<std::string> kAllClear = {
    "", "", codec::to_cp857("  *** BU DENEY VERİLERİNDE HERHANGİ BİR YANLIŞ BULUNAMAMIŞTIR. ***")};
const std::string kHeader = "   TIMACT   HIGHDX   TLOWDX   HIGHDY   TLOWDY   HIGHTL  TLOWTL";

TEST(ReadingsCheck, SteadyGaugesAreClear) {
  for (const int nread : {2, 3, 12, 40}) EXPECT_EQ(check(steady(nread)), kAllClear) << nread;
}

TEST(ReadingsCheck, OneWrongHorizontalReadingGivesOneRow) {
  ostrevik::Run run = steady(12);
  run.r.DXABS(5) += 0.25F;  // ratios 1.5, 1/3 and 2 at readings 5, 6, 7
  const std::vector<std::string> expected = {
      "", "", kHeader, "   " + std::string(60, '-'),
      "    9.04     2.25     0.00     0.00     1.00     0.00     0.00"};
  EXPECT_EQ(check(run), expected);
}

TEST(ReadingsCheck, JumpAtTheLastReading) {
  ostrevik::Run run = steady(10);
  run.r.DXABS(10) += 0.25F;
  const std::vector<std::string> out = check(run);
  ASSERT_EQ(out.size(), 5U);
  EXPECT_EQ(out[4], "    9.09     4.75     0.00     0.00     2.25     0.00     0.00");
}

// A gauge that does not move between readings 4 and 5 leaves reading 6 without ratios; were
// they formed, the last reading would be flagged on an infinite ratio.
TEST(ReadingsCheck, ZeroIncrementSuppressesTheNextRatios) {
  struct Case {
    RArr Readings::*gauge;
    float shift;  // the gauge's step, or for the top cap the piston's step
  };
  for (const Case& k : {Case{&Readings::DXABS, 0.5F}, Case{&Readings::DY1ABS, 0.25F},
                        Case{&Readings::DTMLP2, 0.0625F}}) {
    ostrevik::Run run = steady(6);
    for (int i = 5; i <= 6; ++i) (run.r.*k.gauge)(i) -= k.shift;
    EXPECT_EQ(check(run), kAllClear);
  }
}

// Every gauge alternates its step: four pairings flag 19 readings each; nothing is dropped.
TEST(ReadingsCheck, MoreThanFortyRowsAreAllWritten) {
  ostrevik::Run run = steady(40);
  for (int i = 2; i <= 40; ++i) {
    const float odd = i % 2 == 1 ? 1.0F : 0.0F;
    run.r.DXABS(i) = run.r.DXABS(i - 1) + 0.5F + odd;
    run.r.DTMLP2(i) = run.r.DTMLP2(i - 1) + 0.125F + 0.5F * odd;
  }
  const std::vector<std::string> out = check(run);
  EXPECT_EQ(out.size(), 4U + 76U);
  for (std::size_t k = 4; k < out.size(); ++k) EXPECT_EQ(out[k].size(), 62U);
}

}  // namespace
}  // namespace ostrevik::input
