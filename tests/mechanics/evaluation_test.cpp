#include "mechanics/evaluation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/outcome.h"

namespace ostrevik::mechanics {
namespace {

// A 30-degree mould with an 8.37 cm specimen under a vertical load, set up as the set-up of a
// test leaves it; readings of a steadily sheared specimen in cm and kg.
Run toy_test() {
  ostrevik::Run run;
  Constants& c = run.c;
  c.WBC = 0.05F;
  c.DIASTB = 1.59F;
  c.TMOMDM = 0.05F;
  c.FRCOEF = 0.0015F;
  c.TLP1MN = 1.58F;
  c.VPTI = 0.25F;
  Specimen& s = run.s;
  s.D1 = 4.18F;
  s.D2 = 1.3F;
  s.D3 = 6.68F;
  s.VPI = 0.27F;
  s.DIASP = 8.37F;
  s.HTLOWR = 5.73F;
  s.XBARQT = -0.49F;
  s.YBARQT = 5.38F;
  run.p.H2ACT = 20.8F;
  Setup& u = run.u;
  u.CKPA = CKPA_VALUE;
  u.GACC = GACC_VALUE;
  u.ALFRAD = PI / 6.0F;
  u.SINA = std::sin(u.ALFRAD);
  u.COSA = std::cos(u.ALFRAD);
  u.SINN = u.SINA;
  u.COTN = u.COSA / u.SINA;
  u.SIN4 = std::sin(PI * 4.0F / 180.0F);
  u.COS4 = std::cos(PI * 4.0F / 180.0F);
  u.WDMLP2 = 1.612F;
  u.CLRH = 0.25F;
  u.W = 3.34F;
  u.X1C = 8.67F;
  u.Y1C = 0.62F;
  u.SUMWY = u.Y1C * u.W;
  u.RM = 4.78F;
  u.XTMOW = 8.42F;
  u.YTMOW = 0.62F;
  u.DIAW = 8.37F;
  u.DOITRW = 14.81F;
  u.DOITR2 = 18.87F;
  u.VPIW = 0.27F;
  u.FRCW = 0.0015F;
  u.XLEN1 = 15.0F;
  u.XLEN2 = 13.22F;
  u.XLEN3 = 4.45F;
  u.RADW1 = u.RADW2 = 4.185F;
  u.HCOTW = 7.25F;
  const float DX[] = {0.0F, 0.02F, 0.06F, 0.12F, 0.2F, 0.3F};
  const float DY[] = {0.0F, 0.0F, 0.01F, 0.03F, 0.06F, 0.1F};
  const float P[] = {6.5F, 18.0F, 38.0F, 52.0F, 60.0F, 55.0F};
  u.NREAD = 6;
  for (int i = 1; i <= u.NREAD; ++i) {
    run.r.DXABS(i) = DX[i - 1];
    run.r.DY1ABS(i) = DY[i - 1];
    run.r.DTMLP2(i) = DY[i - 1] / 2.0F - s.VPI;
    run.r.DRPB(i) = 0.001F * static_cast<float>(i);
    run.r.P(i) = P[i - 1];
    run.r.T(i) = 2.0F * static_cast<float>(i - 1);
  }
  run.n.NTEST = 1;
  return run;
}

TEST(Evaluation, EveryReadingConvergesAndIsStoredInReportUnits) {
  ostrevik::Run run = toy_test();
  evaluate_test(run);
  const Results& o = run.o;
  for (int I = 1; I <= 6; ++I) {
    SCOPED_TRACE(I);
    EXPECT_GE(run.r.INDEX(I), 1);
    EXPECT_LE(run.r.INDEX(I), 3);
    for (const RArr* a : {&o.TNSAVE, &o.SS, &o.DEVIB, &o.DEVIBT, &o.DEVRPT, &o.DEVJNR, &o.DEVVPI,
                          &o.VPITT, &o.DEVREC, &o.PERSMA}) {
      EXPECT_TRUE(std::isfinite((*a)(I)));
    }
    EXPECT_FLOAT_EQ(o.ALPHA(I), 30.0F);
    EXPECT_EQ(o.ERUABS(I), 0.0F);
    EXPECT_FLOAT_EQ(o.VPIT(I), (0.27F + 0.001F * static_cast<float>(I)) * 10.0F);
    // the correction for the rotation stays small beside the displacement
    EXPECT_NEAR(o.UBAR(I), o.U(I), 0.02F + 0.1F * std::abs(o.U(I)));
  }
  EXPECT_EQ(o.UBAR(1), 0.0F);
  EXPECT_EQ(o.U(1), 0.0F);
  EXPECT_FLOAT_EQ(o.P(5), 60.0F * GACC_VALUE);
  EXPECT_FLOAT_EQ(o.DXABS(6), 3.0F);
  // the inputs keep their units: kg and cm
  EXPECT_EQ(run.r.P(5), 60.0F);
  EXPECT_EQ(run.r.DXABS(6), 0.3F);
  // reading 1 is undisplaced: the whole ellipse of semi-axes 4.185/sin 30° and 4.185
  EXPECT_NEAR(o.ACNB(1), PI * 4.185F * 8.37F, 1e-3);
  EXPECT_EQ(o.IMAXP, 5);
  EXPECT_GE(o.IEND, 4);
  EXPECT_EQ(o.NBACK, 0);
}

TEST(Evaluation, BackwardShearIsCountedForEachTestAnew) {
  ostrevik::Run run = toy_test();
  run.r.DXABS(4) = -0.12F;
  run.r.DXABS(5) = -0.2F;
  run.r.DXABS(6) = 0.01F;
  evaluate_test(run);
  EXPECT_EQ(run.o.NBACK, 2);

  run.r.DXABS(4) = 0.12F;
  run.r.DXABS(5) = 0.2F;
  run.r.DXABS(3) = -0.1F;
  evaluate_test(run);
  EXPECT_EQ(run.o.NBACK, 1);
}

TEST(Evaluation, NinthRotationPassAbandonsTheEvaluation) {
  // A lever of a few millimetres makes the rotation, and with it the correction, grow from
  // pass to pass.
  ostrevik::Run run = toy_test();
  run.u.DOITRW = 0.6F - run.p.H2ACT - run.c.DIASTB;
  EXPECT_THROW(evaluate_test(run), IterationLimitExceeded);
  EXPECT_EQ(run.r.INDEX(1), 9);
}

TEST(Evaluation, OutputsOfTheVariantsAndLateralLoadsBelongToTheTest) {
  // Values an earlier test left in the arrays.
  ostrevik::Run run = toy_test();
  for (int I = 1; I <= 6; ++I) {
    run.o.DEVIBT(I) = run.o.DEVRPT(I) = run.o.DEVJNR(I) = run.o.DEVVPI(I) = 12.0F;
    run.o.VPITT(I) = 0.5F;
    run.o.SLATLD(I) = run.o.RMV(I) = 99.0F;
  }
  run.c.PAROUT = 1.0F;
  evaluate_test(run);
  for (int I = 1; I <= 6; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(run.o.DEVIBT(I), 0.0F);
    EXPECT_EQ(run.o.DEVRPT(I), 0.0F);
    EXPECT_EQ(run.o.DEVJNR(I), 0.0F);
    EXPECT_EQ(run.o.DEVVPI(I), 0.0F);
    EXPECT_EQ(run.o.VPITT(I), 0.0F);
    EXPECT_EQ(run.o.SLATLD(I), 0.0F);
    EXPECT_EQ(run.o.RMV(I), 0.0F);
  }
}

// The toy test with a lateral load of 40 kg from reading 2 on, through a level yoke.
ostrevik::Run toy_test_with_lateral_load(float PARINC) {
  ostrevik::Run run = toy_test();
  run.c.PARLAT = 1.0F;
  run.c.PARINC = PARINC;
  run.c.LYOK = 30.0F;
  run.c.DCLPSB = 12.0F;
  run.c.HTFPSB = 41.0F;
  run.u.HQTLAT = 40.0F;
  run.u.XSHIFT = 0.3F;
  run.r.WQW = 0.6F;
  for (int I = 1; I <= run.u.NREAD; ++I) {
    run.r.HTFYKS(I) = 40.5F;
    run.r.DECLYK(I) = 0.5F;
    if (I >= 2) {
      run.r.QSPBAL(I) = 40.0F;
      run.r.WQNC(I) = 0.6F;
    }
    run.o.SLATLD(I) = run.o.RMV(I) = 99.0F;  // left by an earlier test
  }
  return run;
}

TEST(Evaluation, LateralLoadsInNewtonWhateverTheFrame) {
  for (const float PARINC : {0.0F, -1.0F, 2.0F}) {
    SCOPED_TRACE(PARINC);
    ostrevik::Run run = toy_test_with_lateral_load(PARINC);
    evaluate_test(run);
    EXPECT_EQ(run.o.SLATLD(1), 0.0F);
    EXPECT_EQ(run.o.WQNC(1), 0.0F);
    for (int I = 2; I <= 6; ++I) {
      SCOPED_TRACE(I);
      // nearly level yoke and bar: the balance load divided by its factor 2.23
      EXPECT_NEAR(run.o.SLATLD(I), GACC_VALUE * 40.0F / 2.23F, 0.5F);
      EXPECT_FLOAT_EQ(run.o.SLATLD(I), GACC_VALUE * run.o.QLAT(I));
      EXPECT_FLOAT_EQ(run.o.WQNC(I), GACC_VALUE * 0.6F);
    }
    for (int I = 1; I <= 6; ++I) {
      EXPECT_EQ(run.o.RMV(I), PARINC > 0.0F ? GACC_VALUE * 4.78F : 0.0F);
    }
  }
}

TEST(Evaluation, NothingOfAnEarlierFreePlaneTestLeaksIn) {
  // A moment large enough to put part of the contact area in tension at every call point;
  // the plane values an earlier free-plane test left must not change anything.
  const auto evaluate = [](float SINAN, float CREL, float ERUABS) {
    ostrevik::Run run = toy_test();
    run.c.TMOMDM = 90.0F;
    run.w.SINAN = SINAN;
    run.w.CREL = CREL;
    for (int I = 1; I <= run.u.NREAD; ++I) run.o.ERUABS(I) = ERUABS;
    evaluate_test(run);
    EXPECT_GT(run.w.N1ACAL, 2 * (run.u.NREAD - 1));  // the variants meet tension too
    return run;
  };
  const ostrevik::Run left = evaluate(0.0F, 0.0F, 0.0F);
  const ostrevik::Run right = evaluate(0.8F, 0.3F, 2.5F);
  for (int I = 1; I <= 6; ++I) {
    SCOPED_TRACE(I);
    for (const auto a : {&Results::DEVIBT, &Results::DEVRPT, &Results::DEVJNR, &Results::DEVVPI,
                         &Results::VPITT, &Results::ERUABS}) {
      EXPECT_EQ((left.o.*a)(I), (right.o.*a)(I));
      EXPECT_TRUE(std::isfinite((left.o.*a)(I)));
    }
    EXPECT_EQ(left.o.ERUABS(I), 0.0F);
  }
}

TEST(Evaluation, FreePlaneIsRecomputedUntilTheFirstFlaggedReading) {
  ostrevik::Run run = toy_test();
  run.s.PARFPL = 1.0F;
  run.r.IPARFL(3) = 1;
  run.r.IPARFL(5) = 2;
  evaluate_test(run);
  const Results& o = run.o;
  for (int I = 2; I <= 3; ++I) {
    SCOPED_TRACE(I);
    EXPECT_NE(o.ERUABS(I), 0.0F);
    EXPECT_NE(o.ALPHA(I), o.ALPHA(I - 1));
    EXPECT_FLOAT_EQ(o.ALPHAR(I), o.ALPHA(I) - o.BETABC(I));
  }
  for (int I = 4; I <= 6; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(o.ERUABS(I), 0.0F);
    EXPECT_EQ(o.ALPHA(I), o.ALPHA(3));
    EXPECT_EQ(o.ALPHAR(I), o.ALPHAR(3));
  }
  EXPECT_EQ(run.w.NPARFL, 2);
}

}  // namespace
}  // namespace ostrevik::mechanics
