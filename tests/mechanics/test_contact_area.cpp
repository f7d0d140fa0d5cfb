#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "mechanics/contact_area.h"

namespace ostrevik::mechanics {
namespace {

struct Overlap {
  double area, second_moment;
};

// Overlap of two ellipses (semi-axes a along the displacement, b across it) displaced by u,
// integrated numerically: width 2b·sqrt(1 − ((|x| + u/2)/a)²) over |x| ≤ a − u/2, with
// |x| = c·sin t so that the integrand is smooth at the tips.
Overlap integrate_overlap(double a, double b, double u) {
  const double c = a - u / 2;
  const int n = 4000;
  const double h = (std::numbers::pi / 2) / n;
  double area = 0, moment = 0;
  for (int k = 0; k <= n; ++k) {
    const double t = k * h;
    const double x = c * std::sin(t);
    const double s = (x + u / 2) / a;
    const double width = 2 * b * std::sqrt(std::max(0.0, 1 - s * s)) * c * std::cos(t);
    const double weight = (k == 0 || k == n) ? 1 : (k % 2 == 1 ? 4 : 2);
    area += weight * width;
    moment += weight * width * x * x;
  }
  return {2 * area * h / 3, 2 * moment * h / 3};
}

TEST(ContactArea, UndisplacedIsTheWholeEllipse) {
  ostrevik::Run run;
  run.u.DIAW = 7.0F;
  const float SP = std::sin(PI * 35.0F / 180.0F);
  float RMAJ, RAB, BOVL, GOVL, ACONT, SECMW, PHALF, PLEN;
  contact_area(run, SP, 0.0F, RMAJ, RAB, BOVL, GOVL, ACONT, SECMW, PHALF, PLEN);
  EXPECT_FLOAT_EQ(RMAJ, 3.5F / SP);
  EXPECT_FLOAT_EQ(RAB, 3.5F * 3.5F / SP);
  EXPECT_EQ(BOVL, 0.0F);
  EXPECT_FLOAT_EQ(ACONT, PI * RAB);
  EXPECT_FLOAT_EQ(SECMW, PI * RAB * RMAJ * RMAJ / 4.0F);
  EXPECT_FLOAT_EQ(PHALF, RMAJ);
  EXPECT_FLOAT_EQ(PLEN, ACONT / (0.9F * 7.0F));
}

TEST(ContactArea, DisplacedOverlapMatchesIntegration) {
  struct Case {
    float DIAW, degrees, UCUR;
  };
  for (const Case& c : {Case{6.0F, 30.0F, 0.05F}, Case{6.0F, 30.0F, 0.8F}, Case{8.37F, 30.0F, 1.5F},
                        Case{10.75F, 40.0F, 2.4F}, Case{7.6F, 35.0F, 6.0F}}) {
    SCOPED_TRACE(testing::Message() << c.DIAW << " cm, " << c.degrees << " deg, u " << c.UCUR);
    ostrevik::Run run;
    run.u.DIAW = c.DIAW;
    const float SP = std::sin(PI * c.degrees / 180.0F);
    contact_area(run, SP, c.UCUR);
    const double b = c.DIAW / 2.0;
    const double a = b / SP;
    const Overlap expected = integrate_overlap(a, b, c.UCUR);
    EXPECT_NEAR(run.w.ACONT, expected.area, 2e-5 * expected.area);
    EXPECT_NEAR(run.w.SECMW, expected.second_moment, 1e-4 * expected.second_moment);
    EXPECT_NEAR(run.w.PHALF, a - c.UCUR / 2.0, 1e-5 * a);
    EXPECT_FLOAT_EQ(run.w.PLEN * 0.9F * c.DIAW, run.w.ACONT);
  }
}

}  // namespace
}  // namespace ostrevik::mechanics
