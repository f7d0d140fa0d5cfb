#include "mechanics/contact_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

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
  const float SP = std::sin(PI * 35.0F / 180.0F);
  const ContactArea a = contact_area(7.0F, SP, 0.0F);
  EXPECT_FLOAT_EQ(a.RMAJ, 3.5F / SP);
  EXPECT_FLOAT_EQ(a.RAB, 3.5F * 3.5F / SP);
  EXPECT_EQ(a.BOVL, 0.0F);
  EXPECT_FLOAT_EQ(a.ACONT, PI * a.RAB);
  EXPECT_FLOAT_EQ(a.SECMW, PI * a.RAB * a.RMAJ * a.RMAJ / 4.0F);
  EXPECT_FLOAT_EQ(a.PHALF, a.RMAJ);
  EXPECT_FLOAT_EQ(a.PLEN, a.ACONT / (0.9F * 7.0F));
}

TEST(ContactArea, DisplacedOverlapMatchesIntegration) {
  struct Case {
    float DIAW, degrees, UCUR;
  };
  for (const Case& c : {Case{6.0F, 30.0F, 0.05F}, Case{6.0F, 30.0F, 0.8F}, Case{8.37F, 30.0F, 1.5F},
                        Case{10.75F, 40.0F, 2.4F}, Case{7.6F, 35.0F, 6.0F}}) {
    SCOPED_TRACE(testing::Message() << c.DIAW << " cm, " << c.degrees << " deg, u " << c.UCUR);
    const float SP = std::sin(PI * c.degrees / 180.0F);
    const ContactArea area = contact_area(c.DIAW, SP, c.UCUR);
    const double b = c.DIAW / 2.0;
    const double a = b / SP;
    const Overlap expected = integrate_overlap(a, b, c.UCUR);
    EXPECT_NEAR(area.ACONT, expected.area, 2e-5 * expected.area);
    EXPECT_NEAR(area.SECMW, expected.second_moment, 1e-4 * expected.second_moment);
    EXPECT_NEAR(area.PHALF, a - c.UCUR / 2.0, 1e-5 * a);
    EXPECT_FLOAT_EQ(area.PLEN * 0.9F * c.DIAW, area.ACONT);
  }
}

}  // namespace
}  // namespace ostrevik::mechanics
