#pragma once
// The computations of the strength analysis: the points of the stored tests, the failure
// envelopes of the six stress cases, the power-law line and the equivalent cell pressures.
// A value that the data do not determine (equal normal stresses, a zero sum of squares, a
// negative quantity under a root) is kept as `NO_VALUE` and shown as such in the report.
#include <cmath>
#include <limits>
#include <vector>

#include "model/state.h"

namespace ostrevik::strength {

inline constexpr float NO_VALUE = std::numeric_limits<float>::quiet_NaN();
inline bool has_value(float v) {
  return std::isfinite(v);
}

// The tests whose peak and end values were stored, in test order: row t of the tables is
// test `TEST`(t).
struct Points {
  int NTESTS = 0;
  Arr<int, MAXTS> TEST;
  Table x, y;  // normal and shear stresses, row = point, column = case
};

Points stored_points(const Run& run);

// The same points with the natural logarithms of both stresses.
Points logarithms(const Points& p);

// Test numbers of the points with a zero or negative stress in any case: they have no
// logarithm.
std::vector<int> nonpositive_tests(const Points& p);

enum class Pass { Linear, Logarithmic };

// Correlation and envelopes of case c: through the origin and least squares in the linear
// pass (as `IPARRG` selects; correlation COFCOR), the power law in the logarithmic pass
// (correlation COFLOG).
void regress_case(const Points& p, int c, int IPARRG, Pass pass, Strength& st);

// `SIGHI` raised to the next hundred (`SIGTOP`), ten steps up to it and the case-1 power law at
// each.
void power_law_line(Strength& st);

// Mean principal stresses and equivalent cell pressures of the case-1 peak points, for the
// envelope through the origin and for the envelope with cohesion.
void origin_columns(const Points& p, float POISNR, Strength& st);
void cohesion_columns(const Points& p, float POISNR, Strength& st);

}  // namespace ostrevik::strength
