#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "mechanics/contact_area.h"
#include "mechanics/tension.h"

namespace ostrevik::mechanics {
namespace {

constexpr int kReading = 2;

// Arguments 6 to 10, preset so that an untouched value shows.
struct Outputs {
  float SIGN = 11.0F, TAUN = 12.0F, DEVP = 13.0F, USTR = 14.0F, VSTR = 15.0F;
  bool operator==(const Outputs&) const = default;
};

Outputs call(Run& run, codec::Sink& report, float S = 0.5F, float U = 0.0F, float V = 0.0F,
             float VPIARG = 0.3F, float DRPARG = 0.1F) {
  Outputs o;
  correct_for_tension(run, kReading, VPIARG, DRPARG, S, U, V, o.SIGN, o.TAUN, o.DEVP, o.USTR,
                      o.VSTR, report);
  return o;
}

std::vector<std::string> records(const std::string& bytes) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (std::size_t end; (end = bytes.find("\r\n", pos)) != std::string::npos; pos = end + 2) {
    out.push_back(bytes.substr(pos, end - pos));
  }
  return out;
}

// A contact area far narrower than it is long (DIAW huge against RMAJ): the arcsine arguments
// of the search vanish, so every pass yields the same next boundary whatever the current one,
// and that boundary follows from FNORM, PMOM, RMAJ and k = PI - 2·GOVL alone. With U = 0 and
// RAB = 1 it is (FNORM·W - 32·PMOM·RMAJ)/(24·PMOM·k - 32·FNORM·RMAJ), W = 6·PI·RMAJ²; the
// compressed area is ACONT/2 on the positive side and PI/2 on the negative side.
Run frozen_state(float RMAJ, float GOVL, float FNORM, float PMOM, float PLEN) {
  ostrevik::Run run;
  run.u.DIAW = 1.0e20F;
  run.u.CKPA = CKPA_VALUE;
  run.r.T(kReading) = 3.0F;
  Work& w = run.w;
  w.JJ = 3;
  w.RMAJ = RMAJ;
  w.RAB = 1.0F;
  w.GOVL = GOVL;
  w.ACONT = 10.0F;
  w.PHALF = 4.0F;
  w.PLEN = PLEN;
  w.FNORM = FNORM;
  w.FSHEAR = 1.0F;
  w.SMOM = PMOM;
  w.PMOM = PMOM;
  return run;
}

// Boundary of the compressed part by the rectangular rule, and where the search starts from it.
float rectangular_boundary(float PLEN, float PMOM, float FNORM) {
  return 3.0F * (PLEN / 2.0F - PMOM / FNORM) - PLEN / 2.0F;
}
float positive_side_start(float PLEN, float PMOM) {
  return 0.9F * rectangular_boundary(PLEN, PMOM, 1.0F) + 0.36F;
}

TEST(Tension, SideOfTheStartAndResultAtAZeroBoundary) {
  // RMAJ 1, GOVL 0 and PMOM = W/32 put the boundary at exactly 0 on both sides.
  const float PMOM = 3.0F * (2.0F * PI) / 32.0F;
  std::optional<float> exact_plen;
  for (float PLEN = 3.0F * PMOM - 0.8F - 1.0e-5F; PLEN < 3.0F * PMOM - 0.8F + 1.0e-5F;
       PLEN = std::nextafter(PLEN, 10.0F)) {
    if (rectangular_boundary(PLEN, PMOM, 1.0F) == -0.8F) exact_plen = PLEN;
  }
  ASSERT_TRUE(exact_plen.has_value());
  struct Case {
    const char* name;
    float PLEN;
    float EFFARE;  // compressed area of the side the search finishes on
  };
  for (const Case& c :
       {Case{"-0.8 starts on the positive side", *exact_plen, 5.0F},
        Case{"-0.81 starts on the negative side", 3.0F * PMOM - 0.81F, PI / 2.0F}}) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run = frozen_state(1.0F, 0.0F, 1.0F, PMOM, c.PLEN);
    codec::StringSink report;
    const Outputs o = call(run, report);
    EXPECT_EQ(run.w.INXDU, 2);
    EXPECT_FLOAT_EQ(run.w.ACONT, c.EFFARE);
    EXPECT_FLOAT_EQ(o.SIGN, 1.0F / c.EFFARE);
    EXPECT_TRUE(report.bytes.empty());
  }
}

TEST(Tension, AChangeOfExactlyTheToleranceIsNotConvergence) {
  // With k = 0 and a tiny RMAJ every pass yields PMOM/FNORM = PMOM exactly. Look for a start
  // whose first change is exactly 0.005 (both values small enough to hold it exactly).
  const float RMAJ = std::ldexp(1.0F, -40);
  const float GOVL = PI / 2.0F;
  std::optional<float> found_plen, found_pmom;
  for (float PLEN = -0.375F; !found_plen && PLEN > -0.376F; PLEN = std::nextafter(PLEN, -1.0F)) {
    float lo = 0.002F, hi = 0.02F;  // first change below / not below the tolerance
    while (std::nextafter(lo, 1.0F) < hi) {
      const float mid = (lo + hi) / 2.0F;
      (mid - positive_side_start(PLEN, mid) < 0.005F ? lo : hi) = mid;
    }
    if (hi - positive_side_start(PLEN, hi) == 0.005F &&
        lo - positive_side_start(PLEN, lo) < 0.005F) {
      found_plen = PLEN;
      found_pmom = hi;
    }
  }
  ASSERT_TRUE(found_plen.has_value());
  struct Case {
    const char* name;
    float PMOM;
    int passes;
  };
  for (const Case& c : {Case{"change equal to the tolerance", *found_pmom, 2},
                        Case{"change just below it", std::nextafter(*found_pmom, 0.0F), 1}}) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run = frozen_state(RMAJ, GOVL, 1.0F, c.PMOM, *found_plen);
    codec::StringSink report;
    call(run, report);
    EXPECT_EQ(run.w.INXDU, c.passes);
  }
}

TEST(Tension, FallbackPrintsTheIterateThatLeftTheContactArea) {
  // Every pass yields 5 (PMOM/FNORM), beyond PHALF = 4; the rectangular boundary is 0.
  ostrevik::Run run = frozen_state(std::ldexp(1.0F, -40), PI / 2.0F, 1.0F, 5.0F, 15.0F);
  run.w.JJ = 1;
  codec::StringSink report;
  const Outputs o = call(run, report);
  const std::vector<std::string> rows = records(report.bytes);
  ASSERT_EQ(rows.size(), 7U);
  EXPECT_EQ(rows[6],
            "            3.0    0.00    0.30    0.10       0.00      5.00    112.50       1"
            "        0.0     0.0    100.0       0.0     1");
  EXPECT_FLOAT_EQ(run.w.ACONT, 1.0e20F * 0.9F * 15.0F);
  EXPECT_FLOAT_EQ(o.DEVP, 100.0F);
}

TEST(Tension, EndsWithoutResultsAtTheLimits) {
  struct Case {
    const char* name;
    int calls_before;
    int INXDU;
  };
  // PMOM 0.5 with k = 0 converges below 0 on the positive side and above 0 on the negative
  // side, so the search changes side until it runs out of passes.
  for (const Case& c : {Case{"ninth pass", 0, 9}, Case{"33rd call", 32, 0}}) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run = frozen_state(1.0F, PI / 2.0F, 1.0F, 0.5F, 2.0F);
    run.w.JJ = 1;
    run.w.N1ACAL = c.calls_before;
    run.w.INXDU = 5;
    codec::StringSink report;
    const Outputs o = call(run, report);
    EXPECT_EQ(run.w.N1ACAL, c.calls_before + 1);
    EXPECT_EQ(run.w.INXDU, c.INXDU);
    EXPECT_EQ(o, Outputs{});
    EXPECT_EQ(run.w.ACONT, 10.0F);
    EXPECT_FALSE(run.w.T1AHDR);
    EXPECT_TRUE(report.bytes.empty());
  }
}

TEST(Tension, DegenerateBalanceTakesTheFallbackWithFiniteResults) {
  struct Case {
    const char* name;
    float FNORM, PMOM, GOVL, PLEN, PHALF, U;
  };
  // No compressed length left: the start -0.33 of the negative side sits on the far edge.
  const float far_edge = -(0.88F * -1.0F + 0.55F);
  for (const Case& c : {
           Case{"no normal force", 0.0F, 1.0F, 0.0F, 2.0F, 4.0F, 0.1F},
           Case{"no moment", 1.0F, 0.0F, 0.0F, 2.0F, 4.0F, 0.1F},
           Case{"neither", 0.0F, 0.0F, 0.0F, 2.0F, 4.0F, 0.1F},
           Case{"no normal force, no compressed length", 0.0F, 1.0F, 0.0F, 2.0F, far_edge, 0.1F},
           // k = 1 and 24·PMOM·k = 4·FNORM·8·RMAJ: the divisor of the next boundary vanishes.
           Case{"zero divisor", 3.0F, 4.0F, (PI - 1.0F) / 2.0F, 6.0F, 4.0F, 0.0F},
       }) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run = frozen_state(1.0F, c.GOVL, c.FNORM, c.PMOM, c.PLEN);
    run.w.PHALF = c.PHALF;
    run.w.JJ = 1;
    codec::StringSink report;
    const Outputs o = call(run, report, 0.5F, c.U, 0.05F);
    EXPECT_FLOAT_EQ(run.w.ACONT, 1.0e20F * 0.9F * c.PLEN);
    for (float v : {o.SIGN, o.TAUN, o.DEVP, o.USTR, o.VSTR}) EXPECT_TRUE(std::isfinite(v)) << v;
    EXPECT_EQ(report.nonfinite_fields, 0);
    EXPECT_EQ(report.bytes.find('*'), std::string::npos) << report.bytes;
  }
}

TEST(Tension, HeaderOnceBeforeTheFirstRowOfEachTest) {
  ostrevik::Run run = frozen_state(1.0F, 0.0F, 1.0F, 3.0F * (2.0F * PI) / 32.0F, 2.0F);
  codec::StringSink report;
  std::vector<std::size_t> records_after_call;
  auto next_test = [&] {
    run.w.N1ACAL = 0;
    run.w.T1AHDR = false;
  };
  for (int JJ : {3, 1, 2, 4, 1, 0, 3, 2}) {
    if (JJ == 0) {
      next_test();
      continue;
    }
    run.w.JJ = JJ;
    call(run, report);
    records_after_call.push_back(records(report.bytes).size());
  }
  // The first test: nothing for code 3, header and row for code 1, rows only after that.
  // The second test: nothing for code 3, header and row for code 2.
  EXPECT_EQ(records_after_call, (std::vector<std::size_t>{0, 7, 8, 8, 9, 9, 16}));
  const std::vector<std::string> all = records(report.bytes);
  ASSERT_EQ(all.size(), 16U);
  for (std::size_t first : {0U, 9U}) {
    EXPECT_EQ(all[first], "");
    EXPECT_NE(all[first + 2].find("1A. KESME"), std::string::npos);
    EXPECT_EQ(all[first + 5], std::string(10, ' ') + std::string(112, '-'));
  }
  for (std::size_t row : {6U, 7U, 8U, 15U}) EXPECT_EQ(all[row].size(), 122U) << all[row];
}

// Overlap of the two displaced ellipses cut at the boundary xb: the compressed part runs from
// the end at -PHALF to xb, with a normal stress falling linearly from SIGMAX there to 0 at xb.
struct Balance {
  double area, force, moment;
};
Balance integrate_compressed_part(double a, double b, double U, double xb, double SIGMAX) {
  const double PHALF = a - U / 2;
  const int n = 20000;
  const double h = (xb + PHALF) / n;
  Balance s{0, 0, 0};
  for (int i = 0; i <= n; ++i) {
    const double x = -PHALF + i * h;
    const double t = (std::fabs(x) + U / 2) / a;
    const double width = 2 * b * std::sqrt(std::max(0.0, 1 - t * t));
    const double weight = (i == 0 || i == n) ? 1 : (i % 2 == 1 ? 4 : 2);
    const double stress = SIGMAX * (xb - x) / (xb + PHALF);
    s.area += weight * width;
    s.force += weight * width * stress;
    s.moment += weight * width * stress * x;
  }
  return {s.area * h / 3, s.force * h / 3, s.moment * h / 3};
}

TEST(Tension, CompressedPartBalancesTheNormalForceAndTheMoment) {
  struct Case {
    const char* name;
    float S, DIAW, U, FNORM, SMOM;
  };
  for (const Case& c : {
           Case{"boundary on the positive side", 0.5F, 7.0F, 0.03F, 1.415F, 3.371F},
           Case{"negative moment", 0.5F, 7.0F, 0.03F, 1.415F, -3.371F},
           Case{"large displacement", 0.6427876F, 6.0F, 1.2F, 40.0F, 70.0F},
           Case{"boundary on the negative side", 0.5F, 7.0F, 0.5F, 1.0F, 4.6F},
       }) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run;
    run.u.DIAW = c.DIAW;
    run.u.CKPA = CKPA_VALUE;
    contact_area(run, c.S, c.U);
    Work& w = run.w;
    const float full_area = w.ACONT;
    w.JJ = 3;
    w.FNORM = c.FNORM;
    w.FSHEAR = 0.5F * c.FNORM;
    w.SMOM = c.SMOM;
    w.PMOM = std::fabs(c.SMOM);
    codec::StringSink report;
    const Outputs o = call(run, report, c.S, c.U, 0.01F);
    ASSERT_LT(w.INXDU, 9);
    ASSERT_LT(w.ACONT, full_area);
    const double xb = c.U * 100.0 / o.USTR - w.PHALF;  // from USTR = U·100/(PHALF + DCOMPU)
    const double SIGMAX = o.SIGN * (1.0 + o.DEVP * w.PMOM / (100.0 * c.SMOM));
    const Balance b =
        integrate_compressed_part(c.DIAW / (2.0 * c.S), c.DIAW / 2.0, c.U, xb, SIGMAX);
    EXPECT_NEAR(b.area / w.ACONT, 1.0, 2e-3);
    EXPECT_NEAR(b.force / c.FNORM, 1.0, 1e-4);
    EXPECT_NEAR(std::fabs(b.moment) / w.PMOM, 1.0, 1e-4);
    EXPECT_FLOAT_EQ(o.TAUN / o.SIGN, 0.5F);
    EXPECT_EQ(o.DEVP > 0, c.SMOM > 0);
  }
}

TEST(Tension, RowOfTheSampleFileMatchesItsReport) {
  // The state of the code-1 call at reading 2 of TENSION1.DAT.
  ostrevik::Run run;
  run.u.DIAW = 7.0F;
  run.u.CKPA = CKPA_VALUE;
  run.r.T(kReading) = 3.0F;
  Work& w = run.w;
  w.JJ = 1;
  w.N1ACAL = 1;
  w.RMAJ = 7.0F;
  w.RAB = 24.5F;
  w.BOVL = 0.00208491366F;
  w.GOVL = 0.00833964255F;
  w.ACONT = 76.7647095F;
  w.PHALF = 6.98540545F;
  w.PLEN = 12.1848755F;
  w.FNORM = 1.41502893F;
  w.FSHEAR = 2.30977702F;
  w.SMOM = 3.37100887F;
  w.PMOM = 3.37100887F;
  w.BETRAD = 4.55525296e-05F;
  codec::StringSink report;
  call(run, report, 0.5F, 0.0291887708F, 0.00432198728F, 0.300000012F, 0.00100000005F);

  std::ifstream in(OSTREVIK_SHARED_DIR "/data/reference/TENSION1.OUT", std::ios::binary);
  ASSERT_TRUE(in);
  const std::vector<std::string> reference =
      records(std::string(std::istreambuf_iterator<char>(in), {}));
  std::size_t title = 0;
  while (title < reference.size() && reference[title].find("1A. KESME") == std::string::npos) {
    ++title;
  }
  ASSERT_TRUE(title >= 2 && title + 4 < reference.size());
  const std::vector<std::string> expected(reference.begin() + static_cast<long>(title) - 2,
                                          reference.begin() + static_cast<long>(title) + 5);
  EXPECT_EQ(records(report.bytes), expected);
}

}  // namespace
}  // namespace ostrevik::mechanics
