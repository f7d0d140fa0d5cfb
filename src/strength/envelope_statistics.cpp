#include "strength/envelope_statistics.h"

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

#include "model/elementary.h"

namespace ostrevik::strength {
namespace {

constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

// A residual standard deviation this small against the largest shear stress is the rounding of
// the points to float, not scatter.
constexpr double kExactFit = 1e-6;

struct Sums {
  double mean_x = 0, mean_y = 0;     // means of σ and τ, kPa
  double Sxx = 0, Sxy = 0, Syy = 0;  // centred sums of squares and products
};

Sums centred_sums(const std::vector<FitPoint>& points) {
  Sums s;
  const double n = static_cast<double>(points.size());
  double sum_x = 0, sum_y = 0;
  for (const FitPoint& q : points) {
    sum_x += q.sigma;
    sum_y += q.tau;
  }
  s.mean_x = sum_x / n;
  s.mean_y = sum_y / n;
  for (const FitPoint& q : points) {
    const double dx = q.sigma - s.mean_x;
    const double dy = q.tau - s.mean_y;
    s.Sxx += dx * dx;
    s.Sxy += dx * dy;
    s.Syy += dy * dy;
  }
  return s;
}

// Intercept and slope of the least-squares line through (σ, y).
struct Line {
  double intercept = 0, slope = 0;
};

Line least_squares(const std::vector<FitPoint>& points, double FitPoint::*y) {
  const double n = static_cast<double>(points.size());
  double sum_x = 0, sum_y = 0;
  for (const FitPoint& q : points) {
    sum_x += q.sigma;
    sum_y += q.*y;
  }
  const double mean_x = sum_x / n;
  const double mean_y = sum_y / n;
  double Sxx = 0, Sxy = 0;
  for (const FitPoint& q : points) {
    Sxx += (q.sigma - mean_x) * (q.sigma - mean_x);
    Sxy += (q.sigma - mean_x) * (q.*y - mean_y);
  }
  const double slope = Sxy / Sxx;
  return {mean_y - slope * mean_x, slope};
}

std::vector<FitPoint> points_of_case(const Points& p, int c) {
  std::vector<FitPoint> points;
  for (int t = 1; t <= p.NTESTS; ++t) {
    points.push_back(
        {p.TEST(t), static_cast<double>(p.x(t, c)), static_cast<double>(p.y(t, c)), 0.0, 0.0});
  }
  return points;
}

MissingStatistics why_missing(const std::vector<FitPoint>& points) {
  if (points.size() < 3) return MissingStatistics::TooFewPoints;
  for (const FitPoint& q : points) {
    if (!std::isfinite(q.sigma) || !std::isfinite(q.tau)) {
      return MissingStatistics::NonfiniteStress;
    }
  }
  const bool all_equal = std::all_of(points.begin(), points.end(), [&](const FitPoint& q) {
    return q.sigma == points.front().sigma;
  });
  return all_equal ? MissingStatistics::EqualNormalStresses : MissingStatistics::None;
}

// The straight line with its standard errors and the residual of every point.
void straight_line(EnvelopeStatistics& e) {
  const Sums sums = centred_sums(e.points);
  const double n = static_cast<double>(e.n);
  e.b = sums.Sxy / sums.Sxx;
  e.a = sums.mean_y - e.b * sums.mean_x;
  e.phi = precise::degrees_of_slope(e.b);
  double SS_res = 0, largest_tau = 0;
  for (FitPoint& q : e.points) {
    q.residual = q.tau - (e.a + e.b * q.sigma);
    SS_res += q.residual * q.residual;
    largest_tau = std::max(largest_tau, std::fabs(q.tau));
  }
  e.s = std::sqrt(SS_res / (n - 2.0));
  if (!(e.s > kExactFit * largest_tau)) {
    e.missing = MissingStatistics::ExactFit;
    return;
  }
  e.r_squared = 1.0 - SS_res / sums.Syy;
  e.se_b = e.s / std::sqrt(sums.Sxx);
  e.se_a = e.s * std::sqrt(1.0 / n + sums.mean_x * sums.mean_x / sums.Sxx);
  e.se_phi = e.se_b / (1.0 + e.b * e.b) * kDegreesPerRadian;
  e.cov_ab = -sums.mean_x * e.s * e.s / sums.Sxx;
  const auto [low, high] =
      std::minmax_element(e.points.begin(), e.points.end(),
                          [](const FitPoint& l, const FitPoint& r) { return l.sigma < r.sigma; });
  e.sigma_min = low->sigma;
  e.sigma_max = high->sigma;
}

// The line through the origin, its standard error on n − 1 degrees of freedom.
void line_through_origin(EnvelopeStatistics& e) {
  double Sxx = 0, Sxy = 0, Syy = 0;
  for (const FitPoint& q : e.points) {
    Sxx += q.sigma * q.sigma;
    Sxy += q.sigma * q.tau;
    Syy += q.tau * q.tau;
  }
  e.b0 = Sxy / Sxx;
  e.phi0 = precise::degrees_of_slope(e.b0);
  double SS_res = 0;
  for (const FitPoint& q : e.points) {
    const double r = q.tau - e.b0 * q.sigma;
    SS_res += r * r;
  }
  e.se_b0 = std::sqrt(SS_res / (static_cast<double>(e.n) - 1.0)) / std::sqrt(Sxx);
  e.r_squared0 = 1.0 - SS_res / Syy;
}

// The lower bound of the mean line at every point and the characteristic line through them.
void characteristic_line(EnvelopeStatistics& e) {
  e.t = students_t_95(e.n - 2);
  for (FitPoint& q : e.points) {
    q.tau_low = e.a + e.b * q.sigma - bound_half_width(e, q.sigma);
  }
  const Line k = least_squares(e.points, &FitPoint::tau_low);
  e.c_k = k.intercept;
  e.tan_phi_k = k.slope;
  e.phi_k = precise::degrees_of_slope(e.tan_phi_k);
}

bool all_finite(const EnvelopeStatistics& e) {
  for (const double v : {e.a, e.b, e.phi, e.s, e.r_squared, e.se_a, e.se_b, e.se_phi, e.cov_ab,
                         e.b0, e.se_b0, e.phi0, e.r_squared0, e.t, e.c_k, e.tan_phi_k, e.phi_k}) {
    if (!std::isfinite(v)) return false;
  }
  return std::all_of(e.points.begin(), e.points.end(), [](const FitPoint& q) {
    return std::isfinite(q.residual) && std::isfinite(q.tau_low);
  });
}

}  // namespace

double students_t_95(int degrees_of_freedom) {
  const boost::math::students_t distribution(static_cast<double>(degrees_of_freedom));
  return boost::math::quantile(distribution, 0.95);
}

EnvelopeStatistics envelope_statistics(const Points& p, int c, bool regional) {
  EnvelopeStatistics bare;
  bare.regional = regional;
  bare.points = points_of_case(p, c);
  bare.n = static_cast<int>(bare.points.size());
  bare.missing = why_missing(bare.points);
  if (bare.missing != MissingStatistics::None) return bare;
  EnvelopeStatistics e = bare;
  straight_line(e);
  if (e.missing == MissingStatistics::None) {
    line_through_origin(e);
    characteristic_line(e);
    if (!all_finite(e)) e.missing = MissingStatistics::NonfiniteStress;
  }
  if (e.missing == MissingStatistics::None) return e;
  // Without statistics only the points are kept.
  bare.missing = e.missing;
  return bare;
}

}  // namespace ostrevik::strength
