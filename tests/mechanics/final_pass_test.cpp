#include "mechanics/final_pass.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrevik::mechanics {
namespace {

void fill(RArr& a, const std::vector<float>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) a(static_cast<int>(i) + 1) = values[i];
}

TEST(EndReading, LastOfTheFinalThreeWhereTheRatioNoLongerRises) {
  struct Case {
    const char* what;
    std::vector<float> SOVERN, SS;
    int IEND;
  };
  const Case cases[] = {
      {"two readings, ratio rising", {0.2F, 0.5F}, {10, 20}, 2},
      {"two readings, no shear", {0.5F, 0.2F}, {10, 0}, 2},
      {"three, falling at the end", {0.1F, 0.3F, 0.2F}, {5, 9, 8}, 3},
      {"three, falling before the end", {0.3F, 0.2F, 0.4F}, {5, 9, 8}, 2},
      {"three, rising throughout", {0.1F, 0.3F, 0.4F}, {5, 9, 8}, 1},
      {"equal ratios qualify", {0.1F, 0.3F, 0.3F}, {5, 9, 9}, 3},
      {"no shear at the last", {0.1F, 0.2F, 0.5F, 0.4F, 0.3F}, {1, 2, 3, 4, 0}, 4},
      {"six, rising throughout", {0.1F, 0.2F, 0.3F, 0.4F, 0.5F, 0.6F}, {1, 2, 3, 4, 5, 6}, 4},
      {"six, second from the end", {0.1F, 0.2F, 0.3F, 0.5F, 0.4F, 0.6F}, {1, 2, 3, 4, 5, 6}, 5},
      {"six, falling at the end", {0.1F, 0.2F, 0.5F, 0.4F, 0.5F, 0.4F}, {1, 2, 3, 4, 5, 6}, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ostrevik::Run run;
    run.u.NREAD = static_cast<int>(c.SOVERN.size());
    fill(run.o.SOVERN, c.SOVERN);
    fill(run.o.SS, c.SS);
    EXPECT_EQ(end_reading(run), c.IEND);
  }
}

TEST(PeakReading, ComparesLoadOrStressRatio) {
  struct Case {
    const char* what;
    std::vector<float> P, SOVERN, QSPBAL;
    int IMAXP;
  };
  const Case cases[] = {
      {"load peaks and softens", {10, 20, 30, 25, 28, 29}, {}, {}, 3},
      {"load peaks again higher", {10, 20, 30, 25, 28, 35}, {}, {}, 6},
      {"load keeps rising", {10, 20, 30, 40}, {}, {}, 4},
      {"load falls at once", {10, 5, 4, 3}, {}, {}, 1},
      // with a lateral load the stress ratio decides and readings 1 and 2 are not compared
      // while the load is rising
      {"ratio peaks", {10, 20, 30, 40, 50}, {0.9F, 0.3F, 0.5F, 0.6F, 0.55F}, {0, 9, 9, 9, 9}, 4},
      // a test mixing readings with and without lateral load compares the ratio throughout
      {"mixed readings",
       {100, 200, 300, 250, 260, 270},
       {0.2F, 0.3F, 0.4F, 0.5F, 0.6F, 0.55F},
       {0, 0, 0, 9, 9, 9},
       5},
      {"two readings, lateral load at the second", {10, 20}, {0.1F, 0.5F}, {0, 9}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ostrevik::Run run;
    run.u.NREAD = static_cast<int>(c.P.size());
    fill(run.o.P, c.P);
    fill(run.o.SOVERN, c.SOVERN);
    fill(run.r.QSPBAL, c.QSPBAL);
    run.o.IMAXP = 7;  // left by an earlier test
    search_peak(run);
    EXPECT_EQ(run.o.IMAXP, c.IMAXP);
  }
}

TEST(FinishTest, LengthsToMillimetresAndDilatancyRates) {
  ostrevik::Run run;
  run.u.NREAD = 4;
  fill(run.cm.UBAR, {0.3F, 0.1F, 0.25F, 0.26F});  // reading 1 as the iteration left it
  fill(run.cm.U, {0.3F, 0.12F, 0.27F, 0.28F});
  fill(run.cm.VBAR, {0.0F, 0.01F, 0.04F, 0.05F});
  fill(run.r.DXABS, {0.0F, 0.11F, 0.2F, 0.25F});
  fill(run.r.HTFYKS, {40.5F, 40.5F, 40.5F, 40.5F});
  fill(run.o.SS, {3.0F, 30.0F, 40.0F, 35.0F});
  fill(run.o.TNSAVE, {2.0F, 20.0F, 25.0F, 25.0F});
  fill(run.o.SOVERN, {1.5F, 1.5F, 1.6F, 1.4F});
  fill(run.o.P, {60, 160, 260, 250});
  finish_test(run);

  EXPECT_EQ(run.o.UBAR(1), 0.0F);
  EXPECT_EQ(run.o.U(1), 0.0F);
  EXPECT_FLOAT_EQ(run.o.UBAR(3), 2.5F);
  EXPECT_FLOAT_EQ(run.o.U(4), 2.8F);
  EXPECT_FLOAT_EQ(run.o.DXABS(2), 1.1F);
  EXPECT_FLOAT_EQ(run.o.HTFYKS(4), 405.0F);
  EXPECT_EQ(run.r.DXABS(2), 0.11F);  // the readings in cm stay as they are
  EXPECT_EQ(run.cm.UBAR(3), 0.25F);
  // first and last rate from centimetres, inner rates from millimetres: the last step of
  // 0.01 cm is too short, while 0.1 mm is long enough
  EXPECT_FLOAT_EQ(run.o.DVOVDU(1), 0.1F);
  EXPECT_EQ(run.o.DVOVDU(4), 0.0F);
  EXPECT_NEAR(run.o.DVOVDU(2), (0.1F / 1.0F + 0.3F / 1.5F) / 2.0F, 1e-6);
  EXPECT_NEAR(run.o.DVOVDU(3), (0.3F / 1.5F + 0.1F / 0.1F) / 2.0F, 1e-5);
  EXPECT_FLOAT_EQ(run.o.AVPRST(2), 30.0F * 30.0F / 20.0F + 20.0F);
  EXPECT_EQ(run.o.IMAXP, 3);
  EXPECT_EQ(run.o.IEND, 4);
}

}  // namespace
}  // namespace ostrevik::mechanics
