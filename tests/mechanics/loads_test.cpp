// Lateral-load geometry, forces on the plane and the moment about the contact centroid.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "mechanics/forces.h"
#include "mechanics/lateral_load.h"
#include "mechanics/moment.h"

namespace ostrevik::mechanics {
namespace {

TEST(LateralLoad, YokePointFollowsTheRotationOfTheUpperPart) {
  // The yoke point (−XQ, YQ) turned by BETRAD moves by (−XQ·BETRAD, −YQ·BETRAD), whatever the
  // quadrant of the point.
  struct Case {
    float XSHIFT, HX, HY, BETRAD;
  };
  for (const Case& c : {Case{0.3F, 0.2F, 0.05F, 0.01F}, Case{-1.2F, 0.4F, -0.1F, -0.02F},
                        Case{0.75F, 0.5F, 0.0F, 0.015F}, Case{2.5F, 1.0F, 0.3F, 0.0F}}) {
    SCOPED_TRACE(testing::Message() << "XSHIFT " << c.XSHIFT << " BETRAD " << c.BETRAD);
    ostrevik::Run run;
    run.u.XSHIFT = c.XSHIFT;
    run.s.XBARQT = -0.5F;
    run.s.YBARQT = 5.38F;
    run.u.HQTLAT = 40.0F;
    run.c.LYOK = 30.0F;
    run.c.DCLPSB = 12.0F;
    run.c.HTFPSB = 41.0F;
    run.r.DECLYK(2) = 0.5F;
    run.r.HTFYKS(2) = 40.6F;
    const LateralLoadAngles a = lateral_load_angles(run, 2, c.HX, c.HY, c.BETRAD);

    const double XQ = c.XSHIFT - c.HX / 2.0 - 0.5;
    const double YQ = c.HY / 2.0 + 5.38;
    const double HQ = 40.0 + c.HX - YQ * c.BETRAD;
    const double LQ = 30.0 - 0.5;
    const double grdq = -std::asin((40.6 - HQ) / LQ);
    const double grsb =
        -std::atan((41.0 - 40.6) / ((5.38 + 12.0 + c.HY - XQ * c.BETRAD) - LQ * std::cos(grdq)));
    EXPECT_NEAR(a.GRDQR, grdq, 2e-5);
    EXPECT_NEAR(a.CGRDQ, std::cos(grdq), 2e-6);
    EXPECT_NEAR(a.GRSBR, grsb, 2e-5);
    EXPECT_NEAR(a.ANGQR, std::numbers::pi / 2 + grdq + c.BETRAD, 2e-5);
  }
}

// A reading of 100 kg on a plane of 30 degrees with a contact area of 50 cm².
Run loaded_reading() {
  ostrevik::Run run;
  run.r.P(3) = 100.0F;
  run.c.WBC = 1.5F;
  run.u.W = 2.5F;
  run.u.FRCW = 0.1F;
  run.o.RMR(3) = 0.8F;
  run.w.area.ACONT = 50.0F;
  run.w.area.PHALF = 4.0F;
  return run;
}

TEST(Forces, WithoutLateralLoad) {
  const float WDMLP2 = 3.0F;
  const float SP = 0.5F, CP = 0.8660254F;
  struct Case {
    float C1, C2, XFRC, YFRC, FNORM, FSHEAR;
  };
  // Without rotation the frame resistance does not act; with rotation the weights act along
  // the rotated load direction. Normal and shear force on the plane of 30 degrees.
  for (const Case& c : {Case{1.0F, 0.0F, 93.0F, 9.55F, 54.770543F, 75.765362F},
                        Case{0.99F, 0.1F, 93.07F, 9.88F, 55.091331F, 75.660984F}}) {
    SCOPED_TRACE(testing::Message() << "C1 " << c.C1);
    ostrevik::Run run = loaded_reading();
    run.o.QLAT(3) = 7.0F;  // left by an earlier reading
    store_forces_and_stresses(run, 3, c.C1, c.C2, SP, CP, 0.6F, -0.2F, WDMLP2);
    const Forces& f = run.w.forces;
    EXPECT_EQ(run.o.QLAT(3), 0.0F);
    EXPECT_EQ(f.QLATX, 0.0F);
    EXPECT_EQ(f.QLATY, 0.0F);
    EXPECT_NEAR(f.XFRC, c.XFRC, 1e-4);
    EXPECT_NEAR(f.YFRC, c.YFRC, 1e-5);
    EXPECT_NEAR(f.FNORM, c.FNORM, 1e-4);
    EXPECT_NEAR(f.FSHEAR, c.FSHEAR, 1e-4);
    EXPECT_FLOAT_EQ(f.USTR, 7.5F);  // 0.6 cm of a contact length of 8 cm
    EXPECT_FLOAT_EQ(f.VSTR, -2.5F);
  }
}

TEST(Forces, HorizontalLateralLoadPushesAlongX) {
  // Bar and yoke level (GRSBR = GRDQR = 0) and the load direction turned by 90 degrees: the
  // balance load (divided by its factor 2.23) acts along Y, the yoke weight against X.
  ostrevik::Run run = loaded_reading();
  run.r.QSPBAL(3) = 22.3F;
  run.r.WQW = 0.6F;
  run.w.lateral.GRSBR = 0.0F;
  run.w.lateral.CGRDQ = 1.0F;
  run.w.lateral.ANGQR = PI / 2.0F;
  store_forces_and_stresses(run, 3, 1.0F, 0.0F, 0.5F, 0.8660254F, 0.0F, 0.0F, 3.0F);
  EXPECT_FLOAT_EQ(run.o.QLAT(3), 10.0F);
  EXPECT_NEAR(run.w.forces.QLATX, -0.6F, 1e-5);
  EXPECT_NEAR(run.w.forces.QLATY, 10.0F, 1e-5);
  EXPECT_NEAR(run.w.forces.XFRC, 93.0F - 0.6F, 1e-4);
  EXPECT_NEAR(run.w.forces.YFRC, 9.55F + 10.0F, 1e-4);
}

// Contact area of second moment 40 cm⁴ and half length 4 cm under a mean stress SIGN.
Run bent_area(float SIGN) {
  ostrevik::Run run;
  run.w.forces.SIGN = SIGN;
  run.w.area.SECMW = 40.0F;
  run.w.area.PHALF = 4.0F;
  return run;
}

TEST(Moment, EdgeStressesFollowTheSignOfTheMoment) {
  struct Case {
    float TMOMDM, SIGN, SMAX, SMIN, DEVP;
  };
  // BSTR = PHALF·SMOM/SECMW = SMOM/10
  for (const Case& c :
       {Case{5.0F, 2.0F, 2.5F, 1.5F, 25.0F}, Case{-5.0F, 2.0F, 1.5F, 2.5F, -25.0F},
        Case{30.0F, 2.0F, 5.0F, -1.0F, 150.0F}, Case{5.0F, -1.0F, -0.5F, -1.5F, -50.0F}}) {
    SCOPED_TRACE(testing::Message() << "moment " << c.TMOMDM << " SIGN " << c.SIGN);
    ostrevik::Run run = bent_area(c.SIGN);
    run.c.TMOMDM = c.TMOMDM;
    const Moment m = moment_form_a(run, 1, 0.0F, 0.0F, 0.0F, 1.0F, 0.0F);
    EXPECT_FLOAT_EQ(m.SMOM, c.TMOMDM);
    EXPECT_FLOAT_EQ(m.PMOM, std::abs(c.TMOMDM));
    EXPECT_FLOAT_EQ(m.SMAX, c.SMAX);
    EXPECT_FLOAT_EQ(m.SMIN, c.SMIN);
    EXPECT_FLOAT_EQ(m.DEVP, c.DEVP);
  }
}

TEST(Moment, LeverArmsOfFormA) {
  // Each load alone, with displacements L1 = 0.4 (horizontal), L2 = 0.1 (vertical) and a
  // lower-end length L3 = 0.3, so that the lower end lies E = L2 − L3 = −0.2 below.
  const float L1 = 0.4F, L2 = 0.1F, L3 = 0.3F;
  const float HT = 6.0F + 20.0F;  // DOITRW + HLOAD
  struct Case {
    const char* load;
    void (*apply)(ostrevik::Run&);
    float C, S, SMOM;
  };
  const Case cases[] = {
      {"vertical force", [](ostrevik::Run& r) { r.w.forces.YFRC = 2.0F; }, 1.0F, 0.0F,
       (HT - L1 / 2) * 2.0F},
      {"horizontal force", [](ostrevik::Run& r) { r.w.forces.XFRC = 10.0F; }, 1.0F, 0.0F,
       (L2 / 2 + 0.2F) * 10.0F},
      {"cap weight", [](ostrevik::Run& r) { r.c.WBC = 1.5F; }, 1.0F, 0.0F, (L2 + 0.2F) * 1.5F / 2},
      {"weight, no rotation", [](ostrevik::Run& r) { r.u.W = 3.0F; }, 1.0F, 0.0F,
       (5.0F + L2 + 0.2F) * 3.0F},
      {"weight, rotated", [](ostrevik::Run& r) { r.u.W = 3.0F; }, 0.0F, 1.0F, -(HT - 1.0F) * 3.0F},
      {"frame resistance", [](ostrevik::Run& r) { r.o.RMR(1) = 0.8F; }, 0.0F, 1.0F, -20.0F * 0.8F},
      {"lateral load along Y", [](ostrevik::Run& r) { r.w.forces.QLATY = 4.0F; }, 1.0F, 0.0F,
       -(HT - 2.0F) * 4.0F},
      {"lateral load along X", [](ostrevik::Run& r) { r.w.forces.QLATX = 4.0F; }, 1.0F, 0.0F,
       -((3.0F + L2) + 0.2F) * 4.0F},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.load);
    ostrevik::Run run = bent_area(1.0F);
    run.u.DOITRW = 6.0F;
    run.w.HLOAD = 20.0F;
    run.u.X1C = 1.0F;
    run.u.Y1C = 5.0F;
    run.u.XQTOFS = 2.0F;
    run.u.YQTOFS = 3.0F;
    c.apply(run);
    EXPECT_NEAR(moment_form_a(run, 1, L1, L2, L3, c.C, c.S).SMOM, c.SMOM, 1e-4 * std::abs(c.SMOM));
  }
}

TEST(Moment, LeverArmsOfFormBAlongTheFreePlane) {
  // Plane trace of 12 cm at 30 degrees, no rotation: the vertical force acts at the height of
  // the plane's midpoint below the load line, the horizontal force at its offset from the
  // piston line.
  ostrevik::Run run = bent_area(1.0F);
  run.w.FPLEN = 12.0F;
  run.w.SINAN = run.w.SINREL = 0.5F;
  run.w.COSAN = run.w.COSREL = 0.8660254F;
  run.w.BETRAD = 0.0F;
  run.w.SINPSI = 1.0F;
  run.w.HLOWT = 25.0F;
  run.u.RADW1 = 4.0F;
  run.w.forces.YFRC = 2.0F;
  EXPECT_NEAR(moment_form_b(run, 1, 0.2F, 0.0F, 0.1F).SMOM, 2.0F * (25.0F - 6.0F * 0.8660254F),
              1e-4);
  run.w.forces.YFRC = 0.0F;
  run.w.forces.XFRC = 10.0F;
  EXPECT_NEAR(moment_form_b(run, 1, 0.2F, 0.0F, 0.1F).SMOM, -10.0F * (6.0F * 0.5F - (4.0F - 0.3F)),
              1e-4);
}

}  // namespace
}  // namespace ostrevik::mechanics
