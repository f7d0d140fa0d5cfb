#pragma once
// The statistics of the failure envelopes, in double precision, from the points of the report's
// regression (see model/envelope_statistics.h and docs/statistics.md).
#include "model/envelope_statistics.h"
#include "strength/regression.h"

namespace ostrevik::strength {

// The 0.95 quantile of Student's t distribution on `degrees_of_freedom` (at least 1).
double students_t_95(int degrees_of_freedom);

// The statistics of case c (1 to 6) of the points; `regional` adds 0.25·s² under the root of the
// lower bound, as for a regional data set.
EnvelopeStatistics envelope_statistics(const Points& p, int c, bool regional);

}  // namespace ostrevik::strength
