// The strength analysis at the end of the input: which blocks each IPARRG writes, the tests
// that take part, the worked envelopes, and the treatment of data that determine no value.
#include "strength/analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "common/files.h"
#include "strength/regression.h"

namespace ostrevik::strength {
namespace {

using RunState = ostrevik::Run;

struct Point {
  int test;
  float sigma, tau;  // the same pair in all six cases
};

Run run_with(const std::vector<Point>& points, int IPARRG, int NTEST = 0) {
  RunState run;
  run.c.IPARRG = IPARRG;
  run.c.POISNR = 0.3F;
  for (const Point& p : points) {
    for (int c = 1; c <= NCASE; ++c) {
      run.pt.SIGA(p.test, c) = p.sigma;
      run.pt.TAUA(p.test, c) = p.tau;
    }
    run.pt.STORED(p.test) = true;
    run.n.NTEST = std::max(run.n.NTEST, p.test);
  }
  run.n.NTEST = std::max(run.n.NTEST, NTEST);
  return run;
}

std::vector<Point> on_line(float cohesion, float slope) {
  std::vector<Point> points;
  for (int t = 1; t <= 4; ++t) {
    const float sigma = 50.0F * static_cast<float>(t);
    points.push_back({t, sigma, cohesion + slope * sigma});
  }
  return points;
}

std::vector<std::string> analyse(RunState& run) {
  codec::StringSink report;
  analyse_end_of_input(run, report);
  EXPECT_EQ(report.nonfinite_fields, 0);
  return ostrevik::testing::records_of(report.bytes);  // CP857: columns count bytes
}

std::string cp(const std::string& utf8) {
  return codec::to_cp857(utf8);
}

bool starts(const std::string& line, const std::string& utf8_prefix) {
  const std::string prefix = cp(utf8_prefix);
  return line.compare(0, prefix.size(), prefix) == 0;
}

const std::string TABLE = "            GERÇEK KES.DZ", CORZRO = " C = 0 İÇİN",
                  PHIORG = " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI", COFCOR = " C, Fİ İÇİN",
                  COHESN = " NORMAL DOĞRUSAL", PHILRG = "                      PHILRG",
                  POWER = " ÜSLÜ KIRIL.ÇİZ.: KOREL.", ACONST = "                            ACONST",
                  BEXPNT = "                            BEXPNT", SIGLST = " SIG NIN YANDAKİ",
                  TAUF = "   TAUF = ", TRIAXIAL = " ÜÇ EKSENLİ",
                  NO_LOGARITHM = " ÜSLÜ KIRIL.ÇİZ. HESAPLANMADI", NOTE = " YOK:";

// The labels of the records that open a block, carry values or explain a marker, in order.
std::vector<std::string> labels(const std::vector<std::string>& lines) {
  static const std::vector<std::string> kLabels{TABLE,  CORZRO,   PHIORG,       COFCOR, COHESN,
                                                PHILRG, POWER,    ACONST,       BEXPNT, SIGLST,
                                                TAUF,   TRIAXIAL, NO_LOGARITHM, NOTE};
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    for (const std::string& label : kLabels) {
      if (starts(line, label)) found.push_back(label);
    }
  }
  return found;
}

const std::string* find_line(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (starts(line, prefix)) return &line;
  }
  return nullptr;
}

std::vector<Point> power_law_points() {
  std::vector<Point> points;
  int t = 0;
  for (const float sigma : {25.0F, 60.0F, 110.0F, 187.4F}) {
    points.push_back({++t, sigma, 2.0F * std::pow(sigma, 0.8F)});
  }
  return points;
}

TEST(StrengthAnalysis, EnvelopeRows) {
  // The six fields of a row: the first one ends in column 45, the others are 16 wide.
  struct Case {
    std::string name;
    std::vector<Point> points;
    int IPARRG;
    std::string row;
    std::string value;  // right-justified in each of the six fields
  };
  const std::vector<Point> equal_sigma{{1, 80.0F, 40.0F}, {2, 80.0F, 60.0F}, {3, 80.0F, 50.0F}};
  const std::vector<Point> equal_tau{{1, 50.0F, 40.0F}, {2, 100.0F, 40.0F}};
  const std::vector<Case> cases{
      {"cohesion", on_line(20.0F, 0.5F), 2, COFCOR, "1.000000"},
      {"two tests", {{1, 150.5F, 312.5F}, {2, 558.4F, 382.7F}}, 2, COFCOR, "1.000000"},
      {"cohesion", on_line(20.0F, 0.5F), 2, COHESN, "20.000"},
      {"cohesion", on_line(20.0F, 0.5F), 2, PHILRG, "26.565"},
      {"origin", on_line(0.0F, 0.5F), 1, CORZRO, "1.000000"},
      {"origin", on_line(0.0F, 0.5F), 1, PHIORG, "26.565"},
      {"power", power_law_points(), 4, ACONST, "2.0000"},
      {"power", power_law_points(), 4, BEXPNT, "0.8000"},
      {"equal sigma", equal_sigma, 5, COFCOR, "YOK"},
      {"equal sigma", equal_sigma, 5, COHESN, "YOK"},
      {"equal sigma", equal_sigma, 5, PHILRG, "YOK"},
      {"equal sigma", equal_sigma, 5, PHIORG, "32.005"},
      {"equal sigma", equal_sigma, 5, ACONST, "YOK"},
      {"equal sigma", equal_sigma, 5, BEXPNT, "YOK"},
      {"equal tau", equal_tau, 3, CORZRO, "YOK"},
      {"equal tau", equal_tau, 3, COFCOR, "YOK"},
      {"equal tau", equal_tau, 3, PHILRG, "0.000"},
      {"equal tau", equal_tau, 3, PHIORG, "25.641"},
  };
  for (const Case& c : cases) {
    RunState run = run_with(c.points, c.IPARRG);
    const std::vector<std::string> lines = analyse(run);
    const std::string* row = find_line(lines, c.row);
    ASSERT_NE(row, nullptr) << c.name << ": " << c.row;
    const std::size_t first = row->compare(0, 2, " C") == 0 ? 8 : 7;  // F8.6 or F7.x
    ASSERT_EQ(row->size(), 45U + 5 * 16) << c.name << ": " << *row;
    for (std::size_t i = 0; i < NCASE; ++i) {
      const std::size_t width = i == 0 ? first : 16;
      const std::string text = row->substr(45 + 16 * i - width, width);
      EXPECT_EQ(text, std::string(width - c.value.size(), ' ') + c.value) << c.name << ": " << *row;
    }
  }
}

TEST(StrengthAnalysis, PowerLawLineSteps) {
  struct Case {
    float SIGTOP, top, step;
  };
  for (const Case& c : {Case{187.4F, 200.0F, 20.0F}, Case{200.0F, 300.0F, 30.0F},
                        Case{250.0F, 300.0F, 30.0F}, Case{-50.0F, 100.0F, 10.0F}}) {
    Strength st;
    st.SIGHI = c.SIGTOP;
    st.ACONST[0] = 2.0F;
    st.BEXPNT[0] = 1.0F;
    power_law_line(st);
    EXPECT_EQ(st.SIGTOP, c.top);
    EXPECT_EQ(st.SIGLST[0], c.step);
    EXPECT_FLOAT_EQ(st.SIGLST[9], c.top);
    EXPECT_FLOAT_EQ(st.TAULST[9], 2.0F * c.top);
  }
}

TEST(StrengthAnalysis, EquivalentCellPressure) {
  Points p;
  p.NTESTS = 1;
  p.x(1, 1) = 100.0F;
  p.y(1, 1) = 57.735F;
  Strength st;
  st.PHIORG[0] = 30.0F;
  st.PHILRG[0] = 30.0F;
  st.COHESN[0] = 0.0F;
  origin_columns(p, 0.3F, st);
  cohesion_columns(p, 0.3F, st);
  EXPECT_NEAR(st.CENORG(1), 133.33F, 0.01F);
  EXPECT_NEAR(st.AVPORG(1), 115.56F, 0.01F);
  EXPECT_NEAR(st.CELORG(1), 57.78F, 0.01F);
  EXPECT_EQ(st.CELCOH(1), st.CELORG(1));  // no cohesion: the same circle
  st.COHESN[0] = 10.0F;
  cohesion_columns(p, 0.3F, st);
  EXPECT_NEAR(st.CELCOH(1), 57.78F - 8.66F, 0.01F);
}

TEST(StrengthAnalysis, OnlyStoredTestsTakePart) {
  // Test 2 was only checked: its elements hold nothing and must not bend the envelope.
  RunState gap = run_with({{1, 50.0F, 45.0F}, {3, 100.0F, 70.0F}, {4, 150.0F, 95.0F}}, 5);
  RunState dense = run_with({{1, 50.0F, 45.0F}, {2, 100.0F, 70.0F}, {3, 150.0F, 95.0F}}, 5);
  EXPECT_EQ(analyse(gap), analyse(dense));
  EXPECT_NEAR(gap.st.COHESN[0], 20.0F, 1e-3F);
  EXPECT_EQ(gap.st.SIGTOP, 200.0F);  // from test 4, the last stored

  RunState one = run_with({{2, 50.0F, 45.0F}}, 3, 3);
  EXPECT_TRUE(analyse(one).empty());
}

TEST(StrengthAnalysis, ConditionsOfTheRun) {
  const std::vector<Point> points{{1, 50.0F, 45.0F}, {2, 100.0F, 70.0F}};
  RunState checked = run_with(points, 3);
  checked.c.PDATCH = 1.0F;
  EXPECT_TRUE(analyse(checked).empty());
  RunState none = run_with(points, 0);
  EXPECT_TRUE(analyse(none).empty());
  RunState beyond = run_with(points, 6);
  EXPECT_EQ(labels(analyse(beyond)), std::vector<std::string>{TABLE});

  for (const int IPARRG : {4, 5}) {
    RunState loose = run_with(points, IPARRG);
    loose.c.POISNR = 0.51F;
    EXPECT_EQ(find_line(analyse(loose), TRIAXIAL), nullptr);
    RunState limit = run_with(points, IPARRG);
    limit.c.POISNR = 0.5F;
    EXPECT_NE(find_line(analyse(limit), TRIAXIAL), nullptr);
  }
}

TEST(StrengthAnalysis, NotesExplainTheMarkers) {
  RunState run = run_with({{1, 80.0F, 40.0F}, {2, 80.0F, 60.0F}, {3, 80.0F, 50.0F}}, 5);
  const std::vector<std::string> lines = analyse(run);
  const std::vector<std::string> expected{TABLE,  CORZRO, PHIORG, COFCOR, NOTE,     COHESN, NOTE,
                                          PHILRG, NOTE,   POWER,  NOTE,   ACONST,   NOTE,   BEXPNT,
                                          NOTE,   SIGLST, TAUF,   NOTE,   TRIAXIAL, NOTE};
  EXPECT_EQ(labels(lines), expected);
  // Cohesion columns of the triaxial table: the marker in columns 52-57 and 66-71.
  EXPECT_EQ(lines[lines.size() - 2].substr(51), "   YOK           YOK");
}

TEST(StrengthAnalysis, StressWithoutLogarithm) {
  // Test 2 is not stored; test 3 has a negative shear stress at the end of the test.
  RunState run = run_with({{1, 50.0F, 45.0F}, {3, 100.0F, 70.0F}, {4, 150.0F, 95.0F}}, 5);
  run.pt.TAUA(3, 6) = -1.5F;
  const std::vector<std::string> lines = analyse(run);
  const std::vector<std::string> expected{TABLE,  CORZRO, PHIORG,       COFCOR,
                                          COHESN, PHILRG, NO_LOGARITHM, TRIAXIAL};
  EXPECT_EQ(labels(lines), expected);
  const std::string* note = find_line(lines, NO_LOGARITHM);
  ASSERT_TRUE(note);
  EXPECT_EQ(note->substr(note->size() - 6), ".:   3");
}

}  // namespace
}  // namespace ostrevik::strength
