// The snapshots that the driver takes of the sample files: what each test computed and what it
// did not, and the strength analysis as the report shows it.
#include "export/snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sample_snapshot.h"

namespace ostrevik::exports {
namespace {

using testing::sample_snapshot;
using testing::SnapshotRun;
using State = AnalysisValue::State;

const TestSnapshot& test(const SnapshotRun& run, int number) {
  return run.snapshot.tests.at(static_cast<std::size_t>(number - 1));
}

bool computed(const TestSnapshot& t, int reading, Quantity q) {
  return t.readings.at(static_cast<std::size_t>(reading - 1))[q].has_value();
}

TEST(Snapshot, SampleFilesShowWhatEachTestComputed) {
  struct Case {
    const char* sample;
    const char* fact;
    std::function<bool(const SnapshotRun&)> holds;
  };
  const Case cases[] = {
      {"FULL1", "PAROUT 0 computes the load-line variants",
       [](const SnapshotRun& r) { return computed(test(r, 1), 5, Quantity::DEVIBT); }},
      {"PFIXDR", "PAROUT 1 leaves them out",
       [](const SnapshotRun& r) { return !computed(test(r, 1), 5, Quantity::VPITT); }},
      {"LATERAL", "a reading without lateral load has no lateral-load values",
       [](const SnapshotRun& r) {
         return !computed(test(r, 1), 1, Quantity::GRDQC) &&
                computed(test(r, 1), 2, Quantity::GRDQC) &&
                computed(test(r, 1), 1, Quantity::SLATLD);
       }},
      {"TYPFRA1", "record 6a brings the soil values",
       [](const SnapshotRun& r) {
         return setup_value(test(r, 1), "GS") == 2.63F && !setup_value(test(r, 2), "GS") &&
                computed(test(r, 1), 1, Quantity::RMV);
       }},
      {"SERIES5", "DH2 brings DH1 and DH2",
       [](const SnapshotRun& r) {
         return setup_value(test(r, 2), "DH2") == 0.45F && !setup_value(test(r, 1), "DH1");
       }},
      {"SERIES5", "the three titles are kept",
       [](const SnapshotRun& r) {
         const auto& titles = test(r, 4).titles;
         return titles[0] != titles[1] && titles[1] != titles[2] && titles[0][0] != '\0';
       }},
      {"SERIES5", "the per-test record's end shear stress is Table 4's",
       [](const SnapshotRun& r) {
         const TestSnapshot& t = test(r, 3);
         return t.record->TAUA[3] == t.table4->end[3];
       }},
      {"CHECK", "the check's verdict and flagged rows",
       [](const SnapshotRun& r) {
         const auto& flagged = test(r, 2).flagged;
         return test(r, 1).kind == TestKind::CheckOnly && test(r, 1).flagged.empty() &&
                flagged.size() == 4 && flagged[0].TIMACT == 9.04F && flagged[3].TIMACT == 9.24F &&
                test(r, 2).readings.empty() && !r.snapshot.strength.ran;
       }},
      {"SERIES3", "the analysis with both envelopes and no power law",
       [](const SnapshotRun& r) {
         const StrengthSnapshot& s = r.snapshot.strength;
         return s.ran && s.NTESTS == 4 && !s.second_pass && s.triaxial.size() == 4 &&
                s.cases[0].COHESN.state == State::Number &&
                s.cases[0].ACONST.state == State::NotComputed &&
                s.triaxial[0].CELCOH.state == State::Number;
       }},
      {"SERIES5", "the power law of the second pass",
       [](const SnapshotRun& r) {
         const StrengthSnapshot& s = r.snapshot.strength;
         return s.second_pass && s.cases[5].BEXPNT.state == State::Number &&
                s.SIGLST[9] > s.SIGLST[0] && !s.TAULST_yok[9] &&
                s.cases[0].COFLOG.value != s.cases[0].COFCOR.value;
       }},
      {"FULL1", "one test: no analysis",
       [](const SnapshotRun& r) {
         return !r.snapshot.strength.ran && r.snapshot.strength.NTESTS <= 1;
       }},
  };
  for (const Case& c : cases) {
    const SnapshotRun run = sample_snapshot(c.sample);
    EXPECT_EQ(run.snapshot.exit_status, 0) << c.sample;
    EXPECT_TRUE(c.holds(run)) << c.sample << ": " << c.fact;
  }
}

}  // namespace
}  // namespace ostrevik::exports
