#pragma once
// The snapshots that the exports read, taken by the test loop when asked for.
#include <span>
#include <string_view>

#include "export/snapshot.h"
#include "model/raw_test.h"
#include "model/state.h"

namespace ostrevik::driver {

// The test that has just ended, as the run's state leaves it; `cp857_refusal` is the
// refusal's message for a refused test, `typed` the readings as the data typed them.
exports::TestSnapshot snapshot_of_test(const Run& run, int test, exports::TestKind kind,
                                       std::string_view cp857_refusal,
                                       std::span<const RawReading> typed);

// The strength analysis with the statistics of its envelopes; `reached`: the input ended
// normally, so the analysis was run; `regional`: the characteristic values are those of a
// regional data set.
exports::StrengthSnapshot snapshot_of_strength(const Run& run, bool reached, bool regional);

}  // namespace ostrevik::driver
