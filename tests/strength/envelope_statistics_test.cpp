// The statistics of an envelope on points whose figures can be checked by hand, and the data
// that give none.
#include "strength/envelope_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace ostrevik::strength {
namespace {

// The 0.95 quantiles of Student's t on one and two degrees of freedom, from the tables.
constexpr double kT1 = 6.313751514675;
constexpr double kT2 = 2.919985580354;

Points case_1_points(const std::vector<std::pair<float, float>>& sigma_tau) {
  Points p;
  for (const auto& [sigma, tau] : sigma_tau) {
    const int row = ++p.NTESTS;
    (p.TEST)(row) = row;
    p.x(row, 1) = sigma;
    p.y(row, 1) = tau;
  }
  return p;
}

struct Expected {
  double a, b, s, se_a, se_b, cov_ab, r_squared;  // the straight line
  double b0, se_b0, r_squared0;                   // the line through the origin
  double t, c_k, tan_phi_k;                       // the characteristic line
  std::vector<double> residuals;
};

struct Case {
  const char* name;
  std::vector<std::pair<float, float>> points;  // σ, τ in kPa
  bool regional;
  MissingStatistics missing;
  Expected expected;  // when the statistics are given
};

TEST(EnvelopeStatistics, HandCheckedFiguresAndDegenerateData) {
  const double s3 = std::sqrt(200.0 / 3.0);  // three points: SS_res = 200/3 on one degree
  const double s4 = std::sqrt(303.75);       // four points: SS_res = 607.5 on two degrees
  // Three points symmetric about σ = 200 and four about σ = 125: the lower bound is symmetric
  // too, so the characteristic line keeps the slope and its intercept drops by t times the mean
  // standard error of the points.
  const auto three_point_c_k = [&](double regional) {
    return 70.0 / 3.0 -
           kT1 * s3 *
               (2.0 * std::sqrt(1.0 / 3.0 + 0.5 + regional) + std::sqrt(1.0 / 3.0 + regional)) /
               3.0;
  };
  const std::vector<std::pair<float, float>> three{{100, 60}, {200, 110}, {300, 140}};
  const Expected three_fit{70.0 / 3.0,
                           0.4,
                           s3,
                           std::sqrt(1400.0 / 9.0),
                           std::sqrt(1.0 / 300.0),
                           -2.0 / 3.0,
                           1.0 - (200.0 / 3.0) / (9800.0 / 3.0),
                           0.5,
                           std::sqrt(150.0 / 140000.0),
                           1.0 - 300.0 / 35300.0,
                           kT1,
                           three_point_c_k(0.0),
                           0.4,
                           {-10.0 / 3.0, 20.0 / 3.0, -10.0 / 3.0}};
  Expected three_regional = three_fit;
  three_regional.c_k = three_point_c_k(0.25);

  const std::vector<Case> cases{
      {"three points", three, false, MissingStatistics::None, three_fit},
      {"three points, regional", three, true, MissingStatistics::None, three_regional},
      {"four points, the last an outlier: negative cohesion",
       {{50, 40}, {100, 65}, {150, 90}, {200, 160}},
       false,
       MissingStatistics::None,
       {-7.5,
        0.77,
        s4,
        std::sqrt(303.75 * 1.5),
        std::sqrt(303.75 / 12500.0),
        -125.0 * 303.75 / 12500.0,
        1.0 - 607.5 / 8018.75,
        0.72,
        std::sqrt(645.0 / 3.0 / 75000.0),
        1.0 - 645.0 / 39525.0,
        kT2,
        -7.5 - kT2 * s4 * (std::sqrt(0.7) + std::sqrt(0.3)) / 2.0,
        0.77,
        {9.0, -4.5, -18.0, 13.5}}},
      {"two points", {{100, 60}, {200, 110}}, false, MissingStatistics::TooFewPoints, {}},
      {"equal normal stresses",
       {{100, 60}, {100, 70}, {100, 65}},
       false,
       MissingStatistics::EqualNormalStresses,
       {}},
      {"three points on a line",
       {{10, 15}, {20, 20}, {30, 25}},
       false,
       MissingStatistics::ExactFit,
       {}},
      {"four points on a line",
       {{21.5F, 30.1F}, {43, 40.85F}, {86, 62.35F}, {172, 105.35F}},
       false,
       MissingStatistics::ExactFit,
       {}},
      {"equal shear stresses", {{10, 5}, {20, 5}, {30, 5}}, false, MissingStatistics::ExactFit, {}},
      {"a stress not computed",
       {{100, 60}, {200, std::nanf("")}, {300, 140}},
       false,
       MissingStatistics::NonfiniteStress,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EnvelopeStatistics e = envelope_statistics(case_1_points(c.points), 1, c.regional);
    EXPECT_EQ(e.missing, c.missing);
    EXPECT_EQ(e.n, static_cast<int>(c.points.size()));
    ASSERT_EQ(e.points.size(), c.points.size());
    if (c.missing != MissingStatistics::None) {
      EXPECT_EQ(e.s, 0.0);
      EXPECT_EQ(e.c_k, 0.0);
      continue;
    }
    const Expected& x = c.expected;
    const auto near = [](double found, double wanted) {
      EXPECT_NEAR(found, wanted, 1e-9 * std::max(1.0, std::fabs(wanted)));
    };
    for (const auto& [found, wanted] :
         std::vector<std::pair<double, double>>{{e.a, x.a},
                                                {e.b, x.b},
                                                {e.s, x.s},
                                                {e.se_a, x.se_a},
                                                {e.se_b, x.se_b},
                                                {e.cov_ab, x.cov_ab},
                                                {e.r_squared, x.r_squared},
                                                {e.b0, x.b0},
                                                {e.se_b0, x.se_b0},
                                                {e.r_squared0, x.r_squared0},
                                                {e.t, x.t},
                                                {e.c_k, x.c_k},
                                                {e.tan_phi_k, x.tan_phi_k},
                                                {e.sigma_min, c.points.front().first},
                                                {e.sigma_max, c.points.back().first}}) {
      near(found, wanted);
    }
    near(e.phi, std::atan(x.b) * 180.0 / std::acos(-1.0));  // in double
    for (std::size_t k = 0; k < e.points.size(); ++k) near(e.points[k].residual, x.residuals[k]);
    // The characteristic line lies under the mean line across the range tested.
    for (const double sigma : {e.sigma_min, e.sigma_max}) {
      EXPECT_LT(e.c_k + e.tan_phi_k * sigma, e.a + e.b * sigma);
    }
  }
}

}  // namespace
}  // namespace ostrevik::strength
