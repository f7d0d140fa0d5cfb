#pragma once
// The values of a run that the exports show (HTML page, CSV files): one snapshot per test of
// the data file, taken by the driver when the test is done, one of the strength analysis, and
// the file's. The exports read only these; they know nothing of the report's layout.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "model/envelope_statistics.h"
#include "model/identity.h"
#include "model/raw_test.h"
#include "model/readings_check.h"
#include "model/state.h"

namespace ostrevik::exports {

// How the work on a test ended.
enum class TestKind {
  Evaluated,       // readings evaluated, tables written
  CheckOnly,       // PDATCH > 0: the readings were only checked
  Refused,         // data the program cannot evaluate; nothing evaluated
  IterationLimit,  // the evaluation of a reading did not converge; the run stopped there
};

// The per-reading quantities of Tables 1, 2, 3 and the summary table, in table order.
// clang-format off
enum class Quantity : std::size_t {
  T, BETABC, UBAR, U, VBAR, V, SS, SSNB, TNSAVE, TNNB, SOVERN, SOVRNB, TNSMAX, TNSMIN, VPIT,
  VPITT, INDEX, IPARFL, P,                                                      // Table 1
  USTRN, VSTRN, AC, ACNB, SECMOM, PERSMA, TMOMA, TMOM, DIFMOM, DEVREC, DEVIBA, DEVIB, DEVIBT,
  DEVRPT, DEVJNR, DEVVPI, DEVNB, ERUABS, RMV,                                   // Table 2
  DXABS, DY1ABS, DTMLP2, DRPB, SLATLD, HTFYKS, GRSBAL, GRDQC, ANGLQ, WQNC, DECLYK, TNSAVP,
  SSAVP, AVPRST, DVOVDU, ALPHA, ALPHAR, XFC,                                    // Table 3
  YFORCE,                                                                       // summary
};
// clang-format on
inline constexpr std::size_t QUANTITY_COUNT = static_cast<std::size_t>(Quantity::YFORCE) + 1;

// The catalogue's entry of a per-reading quantity: name, unit, decimals ("SS", "kPa", 1).
const catalogue::Entry& info(Quantity q);

// One reading's values of every quantity in report units (mm, N, N.cm, kPa, degrees,
// minutes). `computed[q]` is false where the test did not compute quantity q for this reading:
// the load-line variants (DEVIBT, DEVRPT, DEVJNR, DEVVPI, VPITT) when PAROUT is not 0, RMV when
// the frame has no resistance term (PARINC 0), the lateral-load values (HTFYKS, GRSBAL, GRDQC,
// ANGLQ, WQNC, DECLYK) of a reading whose QSPBAL is exactly 0, and at an iteration limit the
// values of the pass after the loop (AVPRST, DVOVDU). A computed value may still be infinite
// or NaN (the report prints asterisks).
struct ReadingSnapshot {
  std::array<float, QUANTITY_COUNT> value{};
  std::array<bool, QUANTITY_COUNT> computed{};

  std::optional<float> operator[](Quantity q) const {
    const auto k = static_cast<std::size_t>(q);
    return computed[k] ? std::optional<float>(value[k]) : std::nullopt;
  }
};

// The set-up values of the specimen echo (and the flags of the constants block), in echo order:
// "ALFN" (der), "DIAIN" (cm), "DENSOL" (g/cc), ... A value is absent where the echo leaves it
// out (the soil values without record 6a, DH1 and DH2 when DH2 is not positive) and for a
// refused test, whose set-up may not have been completed.
std::span<const catalogue::Entry> setup_infos();

// Table 4: the stresses and dilatancy rates at the peak reading IMAXP and the end reading IEND.
inline constexpr std::array<Quantity, 8> TABLE4_QUANTITIES{
    Quantity::TNSAVP, Quantity::SSAVP, Quantity::TNSAVE, Quantity::SS,
    Quantity::TNNB,   Quantity::SSNB,  Quantity::AVPRST, Quantity::DVOVDU};
struct Table4Snapshot {
  std::array<float, TABLE4_QUANTITIES.size()> peak{};  // at IMAXP, report units
  std::array<float, TABLE4_QUANTITIES.size()> end{};   // at IEND, report units
  float T_peak = 0;                                    // T(IMAXP), min
};

// The per-test record kept for the strength analysis (only when PARREG > 0).
struct TestRecord {
  float DVDUPK = 0, FIPK = 0;  // dilatancy rate (ratio) and friction angle (der) at the peak
  float DVDUEN = 0, FIEN = 0;  // the same at the end reading
  // normal and shear stresses (kPa) of cases 1 to 6: true plane, average plane, simple analysis
  // at the peak, then the same three at the end
  std::array<float, NCASE> SIGA{}, TAUA{};
};

// A reading's displacement and top-cap gauges as the data typed them, with its time: what the
// gauge-slip notes compare with the neighbouring readings.
struct GaugeReading {
  float T = 0;       // time from reading 1, min
  float DXABS = 0;   // horizontal displacement gauge, divisions
  float DY1ABS = 0;  // vertical displacement gauge, divisions
  float DTMLP2 = 0;  // top-cap gauge, divisions
};

struct TestSnapshot {
  int test = 0;  // number of the test in the data file, from 1
  TestKind kind = TestKind::Evaluated;
  std::array<std::array<char, 80>, 3> titles{};  // the three title records, CP857 as read
  std::vector<std::optional<float>> setup;       // parallel to setup_infos()
  int NREAD = 0;                                 // readings of the test (0 when refused)
  int IMAXP = 0, IEND = 0;                       // peak and end readings (0 when not chosen)
  std::vector<ReadingSnapshot> readings;         // readings evaluated; reading I at I - 1
  std::vector<TensionRow> tension;               // rows of Table 1A: readings corrected for tension
  std::optional<Table4Snapshot> table4;          // evaluated tests
  std::optional<TestRecord> record;              // evaluated tests with PARREG > 0
  std::vector<SuspectReading> flagged;  // readings check: the suspect readings (none: clear)
  std::string message;                  // refused or iteration limit: its text, UTF-8
  int readings_evaluated = 0;           // readings fully evaluated before the end
  std::vector<GaugeReading> gauges;     // every reading's gauges as typed (none when refused)
};

// The set-up value of the given name ("ALFN"), when the test has it.
std::optional<float> setup_value(const TestSnapshot& t, std::string_view name);

// A value of the strength analysis: not computed in this run's selection, "YOK" (the data
// determine no value), or a number.
struct AnalysisValue {
  enum class State { NotComputed, Yok, Number };
  State state = State::NotComputed;
  float value = 0;  // when state is Number
};

// One of the six cases: 1 to 3 the peak points on the true shear plane, the average shear plane
// and in the simple analysis; 4 to 6 the end points in the same order.
struct CaseSnapshot {
  AnalysisValue CORZRO, PHIORG;          // envelope through the origin: correlation, phi (der)
  AnalysisValue COFCOR, COHESN, PHILRG;  // envelope with cohesion: correlation, c (kPa), phi (der)
  AnalysisValue COFLOG, ACONST, BEXPNT;  // power law TAU = ACONST * SIG**BEXPNT (second pass)
};

// A row of the triaxial table: the equivalent cell pressures of a test's case-1 peak point.
struct TriaxialRow {
  int test = 0;
  AnalysisValue CENORG, AVPORG, CELORG;  // envelope through the origin (kPa)
  AnalysisValue CENCOH, AVPCOH, CELCOH;  // envelope with cohesion (kPa)
};

struct StrengthSnapshot {
  bool ran = false;        // at least two stored tests, IPARRG > 0, PDATCH 0
  int IPARRG = 0;          // the selection of envelopes
  int NTESTS = 0;          // tests in the analysis
  std::vector<int> tests;  // their numbers, in order
  std::array<CaseSnapshot, NCASE> cases;
  bool second_pass = false;            // the power law was computed (IPARRG 4 or 5)
  std::vector<int> without_logarithm;  // IPARRG 4 or 5: tests whose stresses have no logarithm
  std::array<float, 10> SIGLST{}, TAULST{};  // the case-1 power law at ten normal stresses (kPa)
  std::array<bool, 10> TAULST_yok{};         // TAULST[k] is "YOK"
  std::vector<TriaxialRow> triaxial;         // rows of the triaxial table when it is written
  // How sure each case's envelope is, in double precision (cases in the order of `cases`); the
  // analysis computes them whatever the selection when it ran.
  std::array<EnvelopeStatistics, NCASE> statistics;
  bool regional = false;  // the characteristic values are those of a regional data set
};

// The snapshot of the test that has just ended, from the run's state: its number `test`, how
// it ended, for a check-only test the check's rows, for a refused or stopped test the message
// (CP857, as written to the report). The readings of an evaluated test are 1..NREAD; at an
// iteration limit `run` must hold readings 1..`readings_evaluated` in report units.
TestSnapshot test_snapshot(const Run& run, int test, TestKind kind,
                           std::vector<SuspectReading> flagged, std::string_view cp857_message,
                           int readings_evaluated);

// The gauges of the readings `typed` of the test whose readings the run has prepared, with the
// time of each from the run.
std::vector<GaugeReading> gauge_readings(const Run& run, std::span<const RawReading> typed);

// The strength analysis as the run left it. `ran`: the analysis was reached and had data
// enough; `without_logarithm`: the tests that kept the second pass from running.
StrengthSnapshot strength_snapshot(const Run& run, bool ran, std::vector<int> without_logarithm);

struct FileSnapshot {
  std::string data_file;    // as the user named it
  std::string report_file;  // as the user named it
  Identity identity;        // what was tested (empty for a fixed-column file alone)
  std::vector<TestSnapshot> tests;
  StrengthSnapshot strength;
  int exit_status = 0;    // of the run: 0 normal end, 1 ended early, 2 fatal error
  bool regional = false;  // --regional: the characteristic values of a regional data set
};

}  // namespace ostrevik::exports
