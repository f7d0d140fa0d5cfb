#pragma once
// The friction angle of a reading, kept with the peak and end values of a test.

namespace ostrevik::report {

// arctan(SS / TNSAVE) in degrees, evaluated in double and rounded once to float.
float friction_angle(float SS, float TNSAVE);

}  // namespace ostrevik::report
