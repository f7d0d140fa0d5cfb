#include "driver/snapshots.h"

#include <memory>

#include "driver/run_end.h"
#include "input/readings_check.h"
#include "mechanics/final_pass.h"
#include "strength/analysis.h"
#include "strength/envelope_statistics.h"
#include "strength/regression.h"

namespace ostrevik::driver {

namespace {

exports::TestSnapshot snapshot_of_ended_test(const Run& run, int test, exports::TestKind kind,
                                             std::string_view cp857_refusal) {
  using exports::TestKind;
  switch (kind) {
    case TestKind::CheckOnly:
      return exports::test_snapshot(run, test, kind, input::suspect_readings(run), {}, 0);
    case TestKind::IterationLimit: {
      // The readings evaluated before the limit, in the units of the report.
      auto converted = std::make_unique<Run>(run);
      for (int I = 1; I <= run.o.NEVAL; ++I) mechanics::convert_to_mm(*converted, I);
      return exports::test_snapshot(*converted, test, kind, {}, iteration_limit_record(),
                                    run.o.NEVAL);
    }
    case TestKind::Refused:
      return exports::test_snapshot(run, test, kind, {}, cp857_refusal, 0);
    case TestKind::Evaluated:
      break;
  }
  // The readings check of a check-only test runs on every evaluated test too: what it flags
  // becomes a plausibility note.
  return exports::test_snapshot(run, test, kind, input::suspect_readings(run), {}, run.u.NREAD);
}

}  // namespace

exports::TestSnapshot snapshot_of_test(const Run& run, int test, exports::TestKind kind,
                                       std::string_view cp857_refusal,
                                       std::span<const RawReading> typed) {
  exports::TestSnapshot snapshot = snapshot_of_ended_test(run, test, kind, cp857_refusal);
  // A refused test may have been refused before its readings were prepared.
  if (kind != exports::TestKind::Refused) snapshot.gauges = exports::gauge_readings(run, typed);
  return snapshot;
}

exports::StrengthSnapshot snapshot_of_strength(const Run& run, bool reached, bool regional) {
  const bool ran = reached && strength::analysis_runs(run);
  const strength::Points points = strength::stored_points(run);
  exports::StrengthSnapshot s = exports::strength_snapshot(
      run, ran, ran ? strength::nonpositive_tests(points) : std::vector<int>{});
  s.regional = regional;
  if (!ran) return s;
  for (int c = 1; c <= NCASE; ++c) {
    s.statistics[static_cast<std::size_t>(c - 1)] =
        strength::envelope_statistics(points, c, regional);
  }
  return s;
}

}  // namespace ostrevik::driver
