// The snapshots that the driver takes of every sample file.
#include <gtest/gtest.h>

#include "sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::sample_snapshot;

TEST(Snapshot, EveryEvaluatedTestHasItsReadings) {
  for (const char* sample : {"FULL1", "SERIES3", "SERIES5", "CHECK", "LATERAL", "TYPFRA1", "PFIXDR",
                             "TENSION1", "FREEPL"}) {
    const auto run = sample_snapshot(sample);
    SCOPED_TRACE(sample);
    EXPECT_EQ(run.snapshot.exit_status, 0);
    EXPECT_FALSE(run.snapshot.tests.empty());
    for (const TestSnapshot& t : run.snapshot.tests) {
      if (t.kind != TestKind::Evaluated) continue;
      EXPECT_EQ(static_cast<int>(t.readings.size()), t.NREAD);
      EXPECT_TRUE(t.table4.has_value());
    }
  }
}

}  // namespace
}  // namespace ostrevik::exports
