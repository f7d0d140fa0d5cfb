#pragma once
// Elementary functions of a float, evaluated in double and rounded once to float, so that the
// result is the same on every platform whatever its single-precision maths library does.
#include <cmath>

namespace ostrevik::rounded {

inline float sin(float x) {
  return static_cast<float>(std::sin(static_cast<double>(x)));
}
inline float cos(float x) {
  return static_cast<float>(std::cos(static_cast<double>(x)));
}
inline float tan(float x) {
  return static_cast<float>(std::tan(static_cast<double>(x)));
}
inline float asin(float x) {
  return static_cast<float>(std::asin(static_cast<double>(x)));
}
inline float atan(float x) {
  return static_cast<float>(std::atan(static_cast<double>(x)));
}
inline float exp(float x) {
  return static_cast<float>(std::exp(static_cast<double>(x)));
}
inline float log(float x) {
  return static_cast<float>(std::log(static_cast<double>(x)));
}
inline float pow(float x, float y) {
  return static_cast<float>(std::pow(static_cast<double>(x), static_cast<double>(y)));
}

}  // namespace ostrevik::rounded

namespace ostrevik::precise {

// The angle of a slope in degrees, atan(slope) · 180 / π, for the figures kept in double.
inline double degrees_of_slope(double slope) {
  constexpr double kPi = 3.14159265358979323846;
  return std::atan(slope) * 180.0 / kPi;
}

}  // namespace ostrevik::precise
