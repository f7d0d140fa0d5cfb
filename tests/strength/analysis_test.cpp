// The strength analysis at the end of the input: which blocks each IPARRG writes, the tests
// that take part, the worked envelopes, and the treatment of data that determine no value.
#include "strength/analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "codec/cp857.h"
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

// The report's records, CP857 bytes: columns count bytes.
std::vector<std::string> lines_of(const codec::StringSink& sink) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t end; (end = sink.bytes.find("\r\n", from)) != std::string::npos;
       from = end + 2) {
    lines.push_back(sink.bytes.substr(from, end - from));
  }
  return lines;
}

std::vector<std::string> analyse(RunState& run) {
  codec::StringSink report;
  analyse_end_of_input(run, report);
  EXPECT_EQ(report.nonfinite_fields, 0);
  return lines_of(report);
}

std::string cp(const std::string& utf8) {
  return codec::to_cp857(utf8);
}

bool starts(const std::string& line, const std::string& utf8_prefix) {
  const std::string prefix = cp(utf8_prefix);
  return line.compare(0, prefix.size(), prefix) == 0;
}

// The label of every row of the analysis, in order: the first characters of the lines that
// open a block or carry values.
std::vector<std::string> labels(const std::vector<std::string>& lines) {
  static const std::vector<std::string> kLabels{"            GERÇEK KES.DZ",
                                                " C = 0 İÇİN",
                                                " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI",
                                                " C, Fİ İÇİN",
                                                " NORMAL DOĞRUSAL",
                                                "                      PHILRG",
                                                " ÜSLÜ KIRIL.ÇİZ.: KOREL.",
                                                "        ACONST",
                                                "                            BEXPNT",
                                                " SIG NIN YANDAKİ",
                                                "   TAUF = ",
                                                " ÜÇ EKSENLİ",
                                                " ÜSLÜ KIRIL.ÇİZ. HESAPLANMADI",
                                                " YOK:"};
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    for (const std::string& label : kLabels) {
      if (starts(line, label) ||
          (label == "        ACONST" && starts(line, std::string(28, ' ') + "ACONST"))) {
        found.push_back(label);
      }
    }
  }
  return found;
}

// Value field `i` (0-based) of a six-case row whose first field ends in column `first_end`
// and whose other fields are `width` wide.
std::string field(const std::string& line, int first_end, int first_width, int width, int i) {
  const int end = first_end + i * width;
  const int w = i == 0 ? first_width : width;
  return line.substr(static_cast<std::size_t>(end - w), static_cast<std::size_t>(w));
}

const std::string* find_line(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (starts(line, prefix)) return &line;
  }
  return nullptr;
}

TEST(StrengthAnalysis, EachParregWritesItsBlocks) {
  const std::string table = "            GERÇEK KES.DZ", corzro = " C = 0 İÇİN",
                    phiorg = " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI", cofcor = " C, Fİ İÇİN",
                    cohesn = " NORMAL DOĞRUSAL", philrg = "                      PHILRG",
                    power = " ÜSLÜ KIRIL.ÇİZ.: KOREL.", aconst = "        ACONST",
                    bexpnt = "                            BEXPNT", siglst = " SIG NIN YANDAKİ",
                    tauf = "   TAUF = ", triaxial = " ÜÇ EKSENLİ";
  struct Case {
    int IPARRG;
    std::vector<std::string> blocks;
  };
  const std::vector<Case> cases{
      {1, {table, corzro, phiorg, triaxial}},
      {2, {table, cofcor, cohesn, philrg, triaxial}},
      {3, {table, corzro, phiorg, cofcor, cohesn, philrg, triaxial}},
      {4, {table, corzro, phiorg, power, aconst, bexpnt, siglst, tauf, triaxial}},
      {5,
       {table, corzro, phiorg, cofcor, cohesn, philrg, power, aconst, bexpnt, siglst, tauf,
        triaxial}},
      {6, {table}},
      {0, {}},
  };
  const std::vector<Point> points{{1, 20.7F, 35.7F}, {2, 37.2F, 44.2F}, {3, 80.9F, 67.6F}};
  for (const Case& c : cases) {
    RunState run = run_with(points, c.IPARRG);
    const std::vector<std::string> lines = analyse(run);
    EXPECT_EQ(labels(lines), c.blocks) << "IPARRG " << c.IPARRG;
    const int passes = c.IPARRG == 4 || c.IPARRG == 5 ? 8 : 7;
    EXPECT_EQ(run.st.IANMOD, passes) << "IPARRG " << c.IPARRG;
  }
}

TEST(StrengthAnalysis, TriaxialColumnsOfEachParreg) {
  // Columns of the value rows after the seven header lines of the table.
  struct Case {
    int IPARRG;
    std::vector<std::pair<int, int>> fields;  // first and last column, from 1
  };
  const std::vector<Case> cases{{1, {{17, 22}, {32, 37}}},
                                {2, {{52, 57}, {66, 71}}},
                                {3, {{17, 22}, {32, 37}, {52, 57}, {66, 71}}},
                                {4, {{17, 22}, {32, 37}}},
                                {5, {{17, 22}, {32, 37}, {52, 57}, {66, 71}}}};
  const std::vector<Point> points{{1, 20.7F, 35.7F}, {2, 37.2F, 44.2F}, {3, 80.9F, 67.6F}};
  for (const Case& c : cases) {
    RunState run = run_with(points, c.IPARRG);
    const std::vector<std::string> lines = analyse(run);
    ASSERT_GE(lines.size(), 3U);
    const std::string& row = lines[lines.size() - 3];  // first of the three tests
    EXPECT_EQ(row.size(), static_cast<std::size_t>(c.fields.back().second)) << c.IPARRG;
    std::size_t from = 0;
    for (const auto& [first, last] : c.fields) {
      const std::string blanks = row.substr(from, static_cast<std::size_t>(first - 1) - from);
      EXPECT_EQ(blanks.find_first_not_of(' '), std::string::npos) << c.IPARRG << ": " << row;
      const std::string number = row.substr(static_cast<std::size_t>(first - 1),
                                            static_cast<std::size_t>(last - first + 1));
      EXPECT_EQ(number[number.size() - 2], '.') << c.IPARRG << ": " << row;
      from = static_cast<std::size_t>(last);
    }
  }
}

TEST(StrengthAnalysis, LinearEnvelopeWithCohesion) {
  RunState run = run_with(on_line(20.0F, 0.5F), 3);
  const std::vector<std::string> lines = analyse(run);
  const std::string* cofcor = find_line(lines, " C, Fİ İÇİN");
  const std::string* cohesn = find_line(lines, " NORMAL DOĞRUSAL");
  const std::string* philrg = find_line(lines, "                      PHILRG");
  ASSERT_TRUE(cofcor && cohesn && philrg);
  for (int i = 0; i < NCASE; ++i) {
    EXPECT_EQ(field(*cofcor, 45, 8, 16, i), i == 0 ? "1.000000" : "        1.000000");
    EXPECT_EQ(field(*cohesn, 45, 7, 16, i), i == 0 ? " 20.000" : "          20.000");
    EXPECT_EQ(field(*philrg, 45, 7, 16, i), i == 0 ? " 26.565" : "          26.565");
  }
  EXPECT_EQ(cohesn->size(), 125U);
}

TEST(StrengthAnalysis, EnvelopeThroughTheOrigin) {
  RunState run = run_with(on_line(0.0F, 0.5F), 1);
  const std::vector<std::string> lines = analyse(run);
  const std::string* corzro = find_line(lines, " C = 0 İÇİN");
  const std::string* phiorg = find_line(lines, " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI");
  ASSERT_TRUE(corzro && phiorg);
  EXPECT_EQ(field(*corzro, 45, 8, 16, 0), "1.000000");
  EXPECT_EQ(field(*phiorg, 45, 7, 16, 5), "          26.565");
  EXPECT_NEAR(run.st.CORZRO[0], 1.0F, 1e-6F);
}

TEST(StrengthAnalysis, PowerLawOnTheLogarithms) {
  std::vector<Point> points;
  int t = 0;
  for (const float sigma : {25.0F, 60.0F, 110.0F, 187.4F}) {
    points.push_back({++t, sigma, 2.0F * std::pow(sigma, 0.8F)});
  }
  RunState run = run_with(points, 4);
  const std::vector<std::string> lines = analyse(run);
  const std::string* aconst = find_line(lines, std::string(28, ' ') + "ACONST");
  const std::string* bexpnt = find_line(lines, std::string(28, ' ') + "BEXPNT");
  const std::string* siglst = find_line(lines, " SIG NIN YANDAKİ");
  ASSERT_TRUE(aconst && bexpnt && siglst);
  EXPECT_EQ(field(*aconst, 45, 7, 16, 0), " 2.0000");
  EXPECT_EQ(field(*bexpnt, 45, 7, 16, 5), "          0.8000");
  EXPECT_EQ(*siglst,
            cp(" SIG NIN YANDAKİ DEĞ. İÇİN  :    20.0      40.0      60.0      80.0     100.0  "
               "   120.0     140.0     160.0     180.0     200.0"));
  const std::string* tauf = find_line(lines, "   TAUF = ");
  ASSERT_TRUE(tauf);
  EXPECT_EQ(tauf->substr(0, 33), "   TAUF = 2.0000*SIG**0.8000:    ");
  // The linear results of the first pass are kept for the triaxial table.
  EXPECT_NEAR(run.st.PHIORG[0], 37.5F, 5.0F);
}

TEST(StrengthAnalysis, PowerLawLineSteps) {
  struct Case {
    float SIGTOP, top, step;
  };
  for (const Case& c : {Case{187.4F, 200.0F, 20.0F}, Case{200.0F, 300.0F, 30.0F},
                        Case{250.0F, 300.0F, 30.0F}, Case{-50.0F, 100.0F, 10.0F}}) {
    Strength st;
    st.SIGTOP = c.SIGTOP;
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
  EXPECT_EQ(gap.n.NTESTS, 3);
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

  for (const int IPARRG : {4, 5}) {
    RunState loose = run_with(points, IPARRG);
    loose.c.POISNR = 0.51F;
    EXPECT_EQ(find_line(analyse(loose), " ÜÇ EKSENLİ"), nullptr);
    RunState limit = run_with(points, IPARRG);
    limit.c.POISNR = 0.5F;
    EXPECT_NE(find_line(analyse(limit), " ÜÇ EKSENLİ"), nullptr);
  }
}

TEST(StrengthAnalysis, EqualNormalStressesShowNoValue) {
  RunState run = run_with({{1, 80.0F, 40.0F}, {2, 80.0F, 60.0F}, {3, 80.0F, 50.0F}}, 5);
  const std::vector<std::string> lines = analyse(run);
  const std::string* cofcor = find_line(lines, " C, Fİ İÇİN");
  const std::string* cohesn = find_line(lines, " NORMAL DOĞRUSAL");
  const std::string* phiorg = find_line(lines, " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI");
  ASSERT_TRUE(cofcor && cohesn && phiorg);
  for (int i = 0; i < NCASE; ++i) {
    EXPECT_EQ(field(*cofcor, 45, 8, 16, i), i == 0 ? "     YOK" : "             YOK");
    EXPECT_EQ(field(*cohesn, 45, 7, 16, i), i == 0 ? "    YOK" : "             YOK");
  }
  EXPECT_EQ(field(*phiorg, 45, 7, 16, 0), " 32.005");  // through the origin it still exists
  // A note under each row with a marker; the cohesion columns of the triaxial table too.
  const std::vector<std::string> found = labels(lines);
  const std::vector<std::string> expected{"            GERÇEK KES.DZ",
                                          " C = 0 İÇİN",
                                          " ORİJİNDEN GEÇEN KIR.ÇİZ.PHI",
                                          " C, Fİ İÇİN",
                                          " YOK:",
                                          " NORMAL DOĞRUSAL",
                                          " YOK:",
                                          "                      PHILRG",
                                          " YOK:",
                                          " ÜSLÜ KIRIL.ÇİZ.: KOREL.",
                                          " YOK:",
                                          "        ACONST",
                                          " YOK:",
                                          "                            BEXPNT",
                                          " YOK:",
                                          " SIG NIN YANDAKİ",
                                          "   TAUF = ",
                                          " YOK:",
                                          " ÜÇ EKSENLİ",
                                          " YOK:"};
  EXPECT_EQ(found, expected);
  const std::string& last_row = lines[lines.size() - 2];
  EXPECT_EQ(last_row.substr(51), "   YOK           YOK");
}

TEST(StrengthAnalysis, EqualShearStressesLeaveNoCorrelation) {
  RunState run = run_with({{1, 50.0F, 40.0F}, {2, 100.0F, 40.0F}}, 3);
  const std::vector<std::string> lines = analyse(run);
  const std::string* corzro = find_line(lines, " C = 0 İÇİN");
  const std::string* cofcor = find_line(lines, " C, Fİ İÇİN");
  const std::string* philrg = find_line(lines, "                      PHILRG");
  ASSERT_TRUE(corzro && cofcor && philrg);
  EXPECT_EQ(field(*corzro, 45, 8, 16, 0), "     YOK");
  EXPECT_EQ(field(*cofcor, 45, 8, 16, 5), "             YOK");
  EXPECT_EQ(field(*philrg, 45, 7, 16, 0), "  0.000");  // a level line is a line
}

TEST(StrengthAnalysis, StressWithoutLogarithm) {
  // Test 2 is not stored; test 3 has a negative shear stress at the end of the test.
  RunState run = run_with({{1, 50.0F, 45.0F}, {3, 100.0F, 70.0F}, {4, 150.0F, 95.0F}}, 5);
  run.pt.TAUA(3, 6) = -1.5F;
  const std::vector<std::string> lines = analyse(run);
  EXPECT_EQ(find_line(lines, " ÜSLÜ KIRIL.ÇİZ.: KOREL."), nullptr);
  EXPECT_EQ(find_line(lines, "   TAUF = "), nullptr);
  const std::string* note = find_line(lines, " ÜSLÜ KIRIL.ÇİZ. HESAPLANMADI");
  ASSERT_TRUE(note);
  EXPECT_EQ(note->substr(note->size() - 6), ".:   3");
  EXPECT_NE(find_line(lines, " ÜÇ EKSENLİ"), nullptr);
}

}  // namespace
}  // namespace ostrevik::strength
