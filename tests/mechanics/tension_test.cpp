#include "mechanics/tension.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "mechanics/contact_area.h"

namespace ostrevik::mechanics {
namespace {

constexpr int kReading = 2;

// Arguments 6 to 10, preset so that an untouched value shows.
struct Outputs {
  float SIGN = 11.0F, TAUN = 12.0F, DEVP = 13.0F, USTR = 14.0F, VSTR = 15.0F;
  bool operator==(const Outputs&) const = default;
};

Outputs call(Run& run, float S = 0.5F, float U = 0.0F, float V = 0.0F, float VPIARG = 0.3F,
             float DRPARG = 0.1F) {
  Outputs o;
  correct_for_tension(run, kReading, VPIARG, DRPARG, S, U, V, o.SIGN, o.TAUN, o.DEVP, o.USTR,
                      o.VSTR);
  return o;
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
  w.area.RMAJ = RMAJ;
  w.area.RAB = 1.0F;
  w.area.GOVL = GOVL;
  w.area.ACONT = 10.0F;
  w.area.PHALF = 4.0F;
  w.area.PLEN = PLEN;
  w.forces.FNORM = FNORM;
  w.forces.FSHEAR = 1.0F;
  w.moment.SMOM = PMOM;
  w.moment.PMOM = PMOM;
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
    const Outputs o = call(run);
    EXPECT_EQ(run.w.INXDU, 2);
    EXPECT_FLOAT_EQ(run.w.area.ACONT, c.EFFARE);
    EXPECT_FLOAT_EQ(o.SIGN, 1.0F / c.EFFARE);
    EXPECT_EQ(run.o.NT1A, 0);  // no row for call point 3
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
    call(run);
    EXPECT_EQ(run.w.INXDU, c.passes);
  }
}

TEST(Tension, FallbackRecordsTheIterateThatLeftTheContactArea) {
  // Every pass yields 5 (PMOM/FNORM), beyond PHALF = 4; the rectangular boundary is 0.
  ostrevik::Run run = frozen_state(std::ldexp(1.0F, -40), PI / 2.0F, 1.0F, 5.0F, 15.0F);
  run.w.JJ = 1;
  const Outputs o = call(run);
  ASSERT_EQ(run.o.NT1A, 1);
  const TensionRow& row = run.o.T1A(1);
  EXPECT_EQ(row.T, 3.0F);
  EXPECT_EQ(row.DCOMCL, 0.0F);
  EXPECT_EQ(row.DCOMPU, 5.0F);
  EXPECT_FLOAT_EQ(row.PCOMTL, 112.5F);
  EXPECT_EQ(row.INXDU, 1);
  EXPECT_FLOAT_EQ(row.PERSHS, 100.0F);
  EXPECT_EQ(row.JJ, 1);
  EXPECT_FLOAT_EQ(run.w.area.ACONT, 1.0e20F * 0.9F * 15.0F);
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
  for (const Case& c : {Case{"pass beyond the limit", 0, MAX_TENSION_PASSES + 1},
                        Case{"call beyond the limit", MAX_TENSION_CALLS, 0}}) {
    SCOPED_TRACE(c.name);
    ostrevik::Run run = frozen_state(1.0F, PI / 2.0F, 1.0F, 0.5F, 2.0F);
    run.w.JJ = 1;
    run.w.N1ACAL = c.calls_before;
    run.w.INXDU = 5;
    const Outputs o = call(run);
    EXPECT_EQ(run.w.N1ACAL, c.calls_before + 1);
    EXPECT_EQ(run.w.INXDU, c.INXDU);
    EXPECT_EQ(o, Outputs{});
    EXPECT_EQ(run.w.area.ACONT, 10.0F);
    EXPECT_EQ(run.o.NT1A, 0);
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
    run.w.area.PHALF = c.PHALF;
    run.w.JJ = 1;
    const Outputs o = call(run, 0.5F, c.U, 0.05F);
    EXPECT_FLOAT_EQ(run.w.area.ACONT, 1.0e20F * 0.9F * c.PLEN);
    for (float v : {o.SIGN, o.TAUN, o.DEVP, o.USTR, o.VSTR}) EXPECT_TRUE(std::isfinite(v)) << v;
    ASSERT_EQ(run.o.NT1A, 1);
    const TensionRow& row = run.o.T1A(1);
    for (float v :
         {row.BETA, row.DCOMCL, row.DCOMPU, row.PCOMTL, row.SHS, row.TNS, row.PERSHS, row.SIGMAX}) {
      EXPECT_TRUE(std::isfinite(v)) << v;
    }
  }
}

TEST(Tension, RowsOnlyForTheCallPointsWithRotation) {
  ostrevik::Run run = frozen_state(1.0F, 0.0F, 1.0F, 3.0F * (2.0F * PI) / 32.0F, 2.0F);
  std::vector<int> rows_after_call;
  for (int JJ : {3, 1, 2, 4, 7, 1}) {
    run.w.JJ = JJ;
    call(run);
    rows_after_call.push_back(run.o.NT1A);
  }
  EXPECT_EQ(rows_after_call, (std::vector<int>{0, 1, 2, 2, 2, 3}));
  EXPECT_EQ(run.o.T1A(2).JJ, 2);
  EXPECT_EQ(run.o.T1A(3).JJ, 1);
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
    store_contact_area(run, c.S, c.U);
    Work& w = run.w;
    const float full_area = w.area.ACONT;
    w.JJ = 3;
    w.forces.FNORM = c.FNORM;
    w.forces.FSHEAR = 0.5F * c.FNORM;
    w.moment.SMOM = c.SMOM;
    w.moment.PMOM = std::fabs(c.SMOM);
    const Outputs o = call(run, c.S, c.U, 0.01F);
    ASSERT_LT(w.INXDU, 9);
    ASSERT_LT(w.area.ACONT, full_area);
    const double xb = c.U * 100.0 / o.USTR - w.area.PHALF;  // from USTR = U·100/(PHALF + DCOMPU)
    const double SIGMAX = o.SIGN * (1.0 + o.DEVP * w.moment.PMOM / (100.0 * c.SMOM));
    const Balance b =
        integrate_compressed_part(c.DIAW / (2.0 * c.S), c.DIAW / 2.0, c.U, xb, SIGMAX);
    EXPECT_NEAR(b.area / w.area.ACONT, 1.0, 2e-3);
    EXPECT_NEAR(b.force / c.FNORM, 1.0, 1e-4);
    EXPECT_NEAR(std::fabs(b.moment) / w.moment.PMOM, 1.0, 1e-4);
    EXPECT_FLOAT_EQ(o.TAUN / o.SIGN, 0.5F);
    EXPECT_EQ(o.DEVP > 0, c.SMOM > 0);
  }
}

}  // namespace
}  // namespace ostrevik::mechanics
