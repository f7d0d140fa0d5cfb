#pragma once
// How sure a failure envelope is: the least-squares line τ = a + b·σ of one case of the strength
// analysis and the line through the origin, with their standard errors, the one-sided lower
// confidence bound of the mean line and the characteristic values drawn from it. These figures
// are evaluated in double precision from the points that the report's regression takes; the
// report itself shows none of them.
#include <cmath>
#include <vector>

namespace ostrevik {

// Why a case has no statistics.
enum class MissingStatistics {
  None,                 // the statistics are given
  TooFewPoints,         // fewer than three points
  NonfiniteStress,      // a stress of a point could not be computed
  EqualNormalStresses,  // every point has the same normal stress
  ExactFit,             // the points lie on a straight line: no residual to judge the scatter by
};

// One point of the fit.
struct FitPoint {
  int test = 0;         // number of the test in the data file
  double sigma = 0;     // normal stress, kPa
  double tau = 0;       // shear stress, kPa
  double residual = 0;  // tau less a + b·sigma, kPa (statistics given only)
  double tau_low = 0;   // the lower confidence bound of the mean line at sigma, kPa (the same)
};

// The statistics of one case; the figures after `n` are set only when `missing` is None.
struct EnvelopeStatistics {
  MissingStatistics missing = MissingStatistics::TooFewPoints;
  bool regional = false;  // the bound allows for a regional data set (0.25·s² under the root)
  std::vector<FitPoint> points;  // the points of the case, in test order
  int n = 0;                     // number of points
  double a = 0;                  // intercept: cohesion of the line, kPa
  double b = 0;                  // slope: tan φ of the line
  double phi = 0;                // friction angle, the arctangent of b, degrees
  double s = 0;                  // residual standard deviation √(SS_res / (n − 2)), kPa
  double r_squared = 0;          // coefficient of determination 1 − SS_res / S_ττ
  double se_a = 0;               // standard error of a, kPa
  double se_b = 0;               // standard error of b
  double se_phi = 0;             // standard error of φ, degrees, se_b / (1 + b²) in degrees
  double cov_ab = 0;             // covariance of a and b, kPa
  double sigma_min = 0;          // lowest normal stress tested, kPa
  double sigma_max = 0;          // highest normal stress tested, kPa
  double b0 = 0;                 // tan φ of the line through the origin
  double se_b0 = 0;              // its standard error, on n − 1 degrees of freedom
  double phi0 = 0;               // friction angle, the arctangent of b0, degrees
  double r_squared0 = 0;         // uncentred coefficient of determination 1 − SS_res0 / Σ τ²
  double t = 0;                  // 0.95 quantile of Student's t on n − 2 degrees of freedom
  double c_k = 0;        // characteristic cohesion: intercept of the line through tau_low, kPa
  double tan_phi_k = 0;  // characteristic tan φ: slope of that line
  double phi_k = 0;      // characteristic friction angle, the arctangent of tan_phi_k, degrees
};

// The share of s² that a regional data set adds under the root of the lower bound: 1 − 0.75.
inline constexpr double REGIONAL_SHARE = 1.0 - 0.75;

// t times the standard error of the mean line at the normal stress `sigma` (kPa), with
// REGIONAL_SHARE·s² under the root for a regional set, kPa: the lower bound of the mean line is
// a + b·sigma less this, the upper bound a + b·sigma plus this.
inline double bound_half_width(const EnvelopeStatistics& e, double sigma) {
  const double regional = e.regional ? REGIONAL_SHARE * e.s * e.s : 0.0;
  return e.t * std::sqrt(e.se_a * e.se_a + sigma * sigma * e.se_b * e.se_b +
                         2.0 * sigma * e.cov_ab + regional);
}

}  // namespace ostrevik
