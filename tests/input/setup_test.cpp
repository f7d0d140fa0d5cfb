// Constants block, specimen and mould records and the set-up of a test, taken by the test
// loop's own steps.
#include "mechanics/setup.h"

#include <gtest/gtest.h>

#include <string>

#include "codec/cp857.h"
#include "data_text.h"
#include "driver/test_step.h"
#include "input/fixed_column_source.h"
#include "input/prepare.h"
#include "model/outcome.h"

namespace ostrevik::input {
namespace {

using testing::constants_block;
using testing::fields;
using testing::frame_records;
using testing::lines;
using testing::records_of;
using testing::source_of;
using testing::SpecimenRecords;
using testing::titles;

// The first test of a data text as the source hands it out.
SourcedTest first_test(const std::string& text) {
  codec::Source data = source_of(text);
  FixedColumnSource tests(data);
  return tests.next();
}

// A test read and set up as the run does it, up to its readings.
ostrevik::Run set_up(const std::string& text, codec::StringSink* report = nullptr) {
  ostrevik::Run run;
  codec::StringSink sink;
  const SourcedTest test = first_test(text);
  driver::take_constants(run, test.test.constants.value(), sink);
  prepare_titles(run, test.titles());
  prepare_specimen(run, test.test);
  driver::set_up_test(run, 1, report != nullptr ? *report : sink);
  return run;
}

TEST(ConstantsBlock, Defaults) {
  struct Case {
    std::string flags, rec2;
    float POISNR, TYPFRA, PARINC;
    int IPARRG;
    float DIASTB, CONDX, DVPR;
  };
  const std::string lateral = fields({"1", "1", "1", "1", "1", "0", "1", "0", "1"});
  const Case cases[] = {
      // five flag fields: Poisson's ratio 0.3
      {fields({"0", "0", "0", "0", "0"}),
       fields({"1", "1", "1", "1.59", "0", "1", "0", "1", "0.001"}), 0.3F, 0, 0, 0, 1.59F, 0.001F,
       0.001F},
      // frame type 0 with lateral load 1 is frame type 2, carried by PARINC
      {fields({"0", "0", "4.9", "0", "1", "0.35"}),
       fields({"1", "1", "1", "-1", "0", "1", "0", "1", "0"}), 0.35F, 0, 2, 4, 1.2F, 0.001F,
       0.000254F},
      // lateral load 2 leaves the frame type 0
      {fields({"0", "0", "0", "0", "2", "0"}),
       fields({"1", "1", "1", "0", "0", "1", "0", "1", "-1"}), 0.3F, 0, 0, 0, 1.2F, 0.001F,
       0.000254F},
      // frame type 2 read directly
      {fields({"0", "0", "5", "2", "0", "0"}),
       fields({"1", "1", "1", "1", "0", "1", "0", "1", "0"}), 0.3F, 0, 2, 5, 1.0F, 0.001F,
       0.000254F},
      {fields({"0", "0", "0", "1", "0", "0"}),
       fields({"1", "1", "1", "1", "0", "1", "0", "1", "0"}), 0.3F, 1, 1, 0, 1.0F, 0.001F,
       0.000254F},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.flags);
    const std::string rec3 = fields({"2", "1", "16.5", "0.3", "0.3", "-0.002", "0", "0", "0.002"});
    ostrevik::Run run;
    const SourcedTest test = first_test(lines({k.flags, k.rec2, rec3, lateral, "TITLE"}));
    prepare_constants(run, test.test.constants.value());
    EXPECT_EQ(run.c.POISNR, k.POISNR);
    EXPECT_EQ(run.c.TYPFRA, k.TYPFRA);
    EXPECT_EQ(run.c.PARINC, k.PARINC);
    EXPECT_EQ(run.c.IPARRG, k.IPARRG);
    EXPECT_EQ(run.c.DIASTB, k.DIASTB);
    EXPECT_EQ(run.c.CONDX, -0.002F);  // a negative gauge constant stays
    EXPECT_EQ(run.c.CONDY, k.CONDX);
    EXPECT_EQ(run.c.CONYMP, 0.001F);
    EXPECT_EQ(run.c.CONRPB, 0.002F);
    EXPECT_EQ(run.c.DVPR, k.DVPR);
    EXPECT_EQ(run.p.H2ACT, 16.5F);
    // the lateral-load record is read exactly when PARLAT > 0
    EXPECT_EQ(run.c.WYK, run.c.PARLAT > 0 ? 1.0F : 0.0F);
    const std::string title(test.titles().front().data(), 80);
    EXPECT_EQ(title.substr(0, title.find_last_not_of(' ') + 1),
              run.c.PARLAT > 0 ? "TITLE" : lateral);
  }
}

TEST(ConstantsBlock, EchoColumns) {
  ostrevik::Run run;
  codec::StringSink report;
  const SourcedTest test =
      first_test(lines({fields({"1", "8", "-1", "2", "0", "0"})}) + frame_records());
  driver::take_constants(run, test.test.constants.value(), report);
  const auto out = records_of(report);
  ASSERT_EQ(out.size(), 8U);
  EXPECT_EQ(out[0], "");
  EXPECT_EQ(out[1], std::string(52, ' ') + codec::to_cp857("     GENEL DEĞERLER      "));
  EXPECT_EQ(out[3].substr(0, 23), "      WLP1  = 0.98  (kg");
  EXPECT_EQ(out[5],
            "      PAROUT= 8.          PARREG=-1.         TYPFRA= 0.             PARLAT= 0."
            "             PDATCH= 1.");
  EXPECT_EQ(out[7], "      CONYMP= 0.00100(cm) CONRPB=0.00100(cm) POISNR= 0.30");
}

TEST(StandardMould, SelectionRulesAndPersistingSet) {
  struct Case {
    float ALFN, ANGSEL, APPSEL;
    int previous, set, values_of;
  };
  const Case cases[] = {
      {30, 0, 1, 0, 1, 1},      {40, 0, 1, 0, 2, 2},    {30, 40, 1, 0, 3, 3},
      {40, 30, 1, 0, 4, 4},     {30, 30, 1, 0, 5, 5},   {30, 30, 2, 0, 6, 6},
      {30, 30, 0, 2, 2, 2},     {45, 20, 1, 0, 0, 1},   {45, 20, 1, 4, 4, 4},
      {28, -11.9F, 1, 6, 1, 1}, {27.9F, 0, 1, 5, 5, 5}, {37.9F, 38, 2, 0, 3, 3},
  };
  const float DIAOUT[] = {8.9F, 10.75F, 10.84F, 10.84F, 11.3F, 11.3F};
  const float HTLOWR[] = {5.73F, 3.96F, 6.1F, 22.73F, 5.16F, 11.95F};
  for (const Case& k : cases) {
    SCOPED_TRACE(::testing::Message() << k.ALFN << " " << k.ANGSEL << " " << k.APPSEL);
    ostrevik::Run run;
    run.s.ALFN = k.ALFN;
    run.s.ANGSEL = k.ANGSEL;
    run.s.APPSEL = k.APPSEL;
    run.p.ISET = k.previous;
    select_standard_mould(run);
    EXPECT_EQ(run.p.ISET, k.set);
    EXPECT_EQ(run.s.DIAOUT, DIAOUT[k.values_of - 1]);
    EXPECT_EQ(run.s.HTLOWR, HTLOWR[k.values_of - 1]);
  }
}

TEST(SpecimenRecords, SoilAndMouldRecordsWhenAnnounced) {
  struct Case {
    std::string RNREAD, PFIXDR;
    float count, PARSOL, DIAOUT;
  };
  const Case cases[] = {
      {"40", "0", 40, 0, 11.3F},  // a count of 40; standard set 5
      {"41", "1", 21, 1, 11.3F},  // the soil record gives the count
      {"99", "2", 21, 1, 9.5F},   // soil and mould records
      {"20", "3", 20, 0, 9.5F},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.RNREAD + " " + k.PFIXDR);
    SpecimenRecords rec;
    rec.RNREAD = k.RNREAD;
    rec.PFIXDR = k.PFIXDR;
    std::string text = rec.text();
    if (k.PARSOL == 1) text += lines({fields({"21", "2.63", "0.218"})});
    if (k.DIAOUT == 9.5F)
      text += lines({fields({"9.5", "6", "-1", "5.5", "40", "4", "0.1", "0", "0.5"})});
    text += lines({"NEXT"});
    ostrevik::Run run;
    run.s.GS = 2.7F;
    codec::Source data = source_of(constants_block() + titles() + text);
    FixedColumnSource tests(data);
    const SourcedTest test = tests.next();
    prepare_specimen(run, test.test);
    EXPECT_EQ(run.s.RNREAD, k.count);
    EXPECT_EQ(run.s.PARSOL, k.PARSOL);
    EXPECT_EQ(run.s.GS, k.PARSOL == 1 ? 2.63F : 2.7F);  // kept when the soil record is absent
    EXPECT_EQ(run.s.DIAOUT, k.DIAOUT);
    EXPECT_EQ(run.s.DIASP, 10.4F);
    // the readings begin at NEXT, which is no readings record
    EXPECT_EQ(test.error_part, TestPart::Readings);
    EXPECT_EQ(data.line_number(), 9 + (k.PARSOL == 1 ? 1 : 0) + (k.DIAOUT == 9.5F ? 1 : 0));
  }
}

// The five shear-plane geometries; expected values computed independently in single precision
// (Python, every operation rounded to 32 bits):
//   SINN = f(sin(f(PI*30/180))), COTN = f(1/f(tan(...))), CLRS = f(0.16/SINN), CLRH = CLRS/2
//   A: atan(D/(COTN*D + CLRS));  B: DH1 = -0.1, XWALL = COTN*(11.3-10.4)/2,
//      atan(D/(COTN*D - (0.45 + DH1 - XWALL)));  C: atan(D/(D*COTN + CLRS - 0.25));
//   D: ALFN;  E: atan(D/(COTN*D + CLRS - 0.2)); ALFA = ALFRAD*180/PI.
TEST(SetUp, ShearPlaneGeometries) {
  struct Case {
    const char* name;
    std::string PARFPL, DH, DH2;
    float ALFA, HTLOWS, XSHIFT, DH_after;
  };
  const Case cases[] = {
      {"A", "1", "-0.25", "0", 29.5650634765625F, 3.1599998474121094F, 0.1599999964237213F, -0.25F},
      {"B", "0", "-0.1", "0.45", 29.418960571289062F, 3.15057635307312F, 0.20528827607631683F, 88},
      {"C", "0", "-0.25", "0", 29.90386199951172F, 3.1599998474121094F, 0.034999996423721313F,
       -0.25F},
      {"D", "0", "0", "0", 29.999996185302734F, 3.319999933242798F, 0.1599999964237213F, 0},
      {"E", "0", "0.2", "0", 29.835542678833008F, 3.359999895095825F, 0.25999999046325684F, 0.2F},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    SpecimenRecords rec;
    rec.PARFPL = k.PARFPL;
    rec.DH = k.DH;
    rec.DH2 = k.DH2;
    codec::StringSink report;
    const ostrevik::Run run = set_up(constants_block() + titles() + rec.text(), &report);
    EXPECT_FLOAT_EQ(run.u.ALFA, k.ALFA);
    EXPECT_FLOAT_EQ(run.u.HTLOWS, k.HTLOWS);
    EXPECT_FLOAT_EQ(run.u.XSHIFT, k.XSHIFT);
    EXPECT_EQ(run.u.DHPLAN, k.DH_after);
    EXPECT_EQ(run.s.ALFN, 30.0F);
    EXPECT_FLOAT_EQ(run.u.ALFNDG, 30.0F);
    const auto out = records_of(report);
    if (k.DH2 == "0") {
      EXPECT_EQ(out.size(), 11U);
    } else {
      ASSERT_EQ(out.size(), 12U);
      EXPECT_EQ(out[4].substr(39, 21), "  DH    =88.00 (cm)  ");
      EXPECT_EQ(out[11], " DH1   =-0.10 (cm)   DH2   =  0.45 (cm)");
    }
  }
}

// SERIES3-like specimen in mould set 5 with DH = -0.25, checked against an independent
// single-precision computation (Python, each operation rounded to 32 bits with struct 'f'):
//   WD = (10.4-0.15)^2*PI*2.0*0.42/4000; WSOLG = (11.572-5.375-WD)*1000;
//   VOLSOL = (44-2.47-2.0)*(10.4*10.4*PI/4); DENSOL = WSOLG/VOLSOL;
//   ALFRAD = atan(10.4/(10.4*COTN + CLRS - 0.25)); WTM, XBARTM, YBARTM of the ring of 11.3/10.4
//   cm with height HCOTD + 5.16; WS, XBARS, YBARS of the wedge with height HCOTA + 3.16;
//   W = WTMC + WS + WD + 0.984; Y1C and X1C as the moment sums over W.
TEST(SetUp, RealisticSpecimenByHand) {
  SpecimenRecords rec;
  rec.DH = "-0.25";
  const ostrevik::Run run = set_up(constants_block() + titles() + rec.text());
  const ostrevik::Setup& u = run.u;
  EXPECT_FLOAT_EQ(u.WD, 0.06931335479021072F);
  EXPECT_FLOAT_EQ(u.DENSOL, 1.8247910737991333F);
  EXPECT_FLOAT_EQ(u.ALFA, 29.90386199951172F);
  EXPECT_FLOAT_EQ(u.WS, 1.8914238214492798F);
  EXPECT_FLOAT_EQ(u.XBARS, 5.263327121734619F);
  EXPECT_FLOAT_EQ(u.YBARS, 0.9633246064186096F);
  EXPECT_FLOAT_EQ(u.W, 4.800543308258057F);
  EXPECT_FLOAT_EQ(u.X1C, 8.659092903137207F);
  EXPECT_FLOAT_EQ(u.Y1C, 1.0199472904205322F);
  EXPECT_FLOAT_EQ(u.SUMWY, u.Y1C * u.W);
  // the ring alone, as the echo shows it, and with its additions
  EXPECT_FLOAT_EQ(u.WTM, 1.7058063745498657F);
  EXPECT_FLOAT_EQ(u.WTMC, 1.7058063745498657F + 0.15F);
  EXPECT_FLOAT_EQ(u.XBRTMC, (8.265113830566406F * 1.7058063745498657F + 1.64F) / u.WTMC);
  EXPECT_FLOAT_EQ(u.YBRTMC, 1.8022246360778809F * 1.7058063745498657F / u.WTMC);
  EXPECT_EQ(run.n.NTEST, 1);
  EXPECT_EQ(u.NREAD, 20);
}

TEST(SetUp, FrameResistanceFollowsWorkingHeight) {
  struct Case {
    std::string h2;
    bool pressure_ring;
  };
  for (const Case& k : {Case{"16", false}, Case{"16.5", true}}) {
    const ostrevik::Run run = set_up(constants_block(k.h2) + titles() + SpecimenRecords{}.text());
    EXPECT_EQ(run.u.RM, k.pressure_ring ? run.c.RMPR : run.c.RMLC) << k.h2;
  }
}

// Test 1 ends with PFIXDR 0, so test 2 starts at its title and keeps the constants; with
// GRINL 0 its RM follows the working height the readings of test 1 left (16.5 - 0.000254*2000).
TEST(SetUp, SecondTestWithoutConstantsBlock) {
  SpecimenRecords first;
  first.RNREAD = "2";
  SpecimenRecords second;
  second.ALFN = "40";
  second.RNREAD = "2";
  const std::string reading = fields({"10", "5"}, 4) + fields({"1", "1", "1", "1"}) + "   2000";
  const std::string text = constants_block("16.5") + titles() + first.text() +
                           lines({reading, reading}) + titles() + second.text();
  ostrevik::Run run;
  codec::StringSink report;
  codec::Source data = source_of(text + lines({reading, reading}));
  FixedColumnSource tests(data);
  const SourcedTest test1 = tests.next();
  driver::take_constants(run, test1.test.constants.value(), report);
  prepare_titles(run, test1.titles());
  prepare_specimen(run, test1.test);
  driver::set_up_test(run, 1, report);
  EXPECT_EQ(run.u.RM, run.c.RMPR);
  prepare_readings(run, test1.test.readings);
  EXPECT_FLOAT_EQ(run.p.H2ACT, 15.992F);
  const SourcedTest test2 = tests.next();
  ASSERT_FALSE(test2.test.constants);
  prepare_titles(run, test2.titles());
  prepare_specimen(run, test2.test);
  driver::set_up_test(run, 2, report);
  EXPECT_EQ(run.n.NTEST, 2);
  EXPECT_EQ(run.p.ISET, 4);
  EXPECT_EQ(run.u.RM, run.c.RMLC);
  EXPECT_EQ(run.c.H2, 16.5F);
  EXPECT_TRUE(data.at_end());
  EXPECT_TRUE(tests.next().ends_input);
}

TEST(SetUp, EchoWithPAROUT8AndSoilRecord) {
  const std::string flags8 = lines({fields({"0", "8", "0", "0", "0", "0"})});
  SpecimenRecords rec;
  rec.RNREAD = "99";
  codec::StringSink report;
  const ostrevik::Run run = set_up(
      flags8 + frame_records() + titles() + rec.text() + lines({fields({"21", "2.63", "0.218"})}),
      &report);
  const auto out = records_of(report);
  ASSERT_EQ(out.size(), 2U);
  EXPECT_EQ(out[0].substr(0, 28), " PARFPL= 0.          XTMO1 =");
  EXPECT_EQ(
      out[1].substr(0, 85),
      " WSPPTM= 11.572 (kg) HEMPTY=  2.47 (cm)  HTMOLD= 44.0 (cm)  WTMEMP= 5.375(kg) SATINL=");
  EXPECT_EQ(out[1].size(), 130U);
  EXPECT_EQ(run.u.NREAD, 21);
}

// Set-up data outside what can be evaluated: the test is refused before any division by zero.
TEST(SetUp, RefusedTests) {
  struct Case {
    SpecimenRecords rec;
    std::string soil, name;
    Rule rule;
  };
  auto with = [](auto change) {
    SpecimenRecords r;
    change(r);
    return r;
  };
  const Case cases[] = {
      {with([](auto& r) { r.ALFN = "0"; }), "", "ALFN", Rule::Between0And90},
      {with([](auto& r) { r.ALFN = "90"; }), "", "ALFN", Rule::Between0And90},
      {with([](auto& r) { r.ALFN = "-30"; }), "", "ALFN", Rule::Between0And90},
      {with([](auto& r) { r.DIAIN = "0"; }), "", "DIAIN", Rule::Positive},
      {with([](auto& r) { r.HEMPTY = "42"; }), "", "VOLSOL", Rule::Positive},
      {with([](auto& r) { r.RNREAD = "99"; }), fields({"20", "2.63", "0"}), "SATINL",
       Rule::NonZero},
      {with([](auto& r) { r.RNREAD = "99"; }), fields({"20", "2.63", "-1"}), "WCINL",
       Rule::NotMinusOne},
      {with([](auto& r) { r.DH = "-20"; }), "", "ALFA", Rule::Between0And90},
      {with([](auto& r) {
         r.DH = "-0.5";
         r.DH2 = "20";
       }),
       "", "ALFA", Rule::Between0And90},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const std::string text =
        constants_block() + titles() + k.rec.text() + (k.soil.empty() ? "" : lines({k.soil}));
    try {
      set_up(text);
      ADD_FAILURE() << "not refused";
    } catch (const TestRefused& refused) {
      EXPECT_EQ(refused.refusal.test, 1);
      EXPECT_EQ(refused.refusal.name, k.name);
      EXPECT_EQ(refused.refusal.rule, k.rule);
    }
  }
}

// The refusal carries the value as the data file gives it, a real.
TEST(SetUp, RefusalCarriesTheValueRead) {
  SpecimenRecords rec;
  rec.ALFN = "90";
  try {
    set_up(constants_block() + titles() + rec.text());
    FAIL() << "not refused";
  } catch (const TestRefused& refused) {
    EXPECT_EQ(refused.refusal.value, RefusedValue(90.0F));
  }
}

// With the soil record but a zero divisor of the saturation: grains of density 0 in a mould of
// soil mass 0.
TEST(SetUp, RefusedZeroSaturationDivisor) {
  ostrevik::Run run;
  run.c.DENSWD = 0.42F;
  run.c.DENSTL = 7.85F;
  run.s.ALFN = 30;
  run.s.DIAIN = run.s.DIASP = 10;
  run.s.HTMOLD = 40;
  run.s.WTMEMP = run.s.WSPPTM = 5;
  run.s.PARSOL = 1;
  run.s.WCINL = 0.2F;
  EXPECT_THROW(
      {
        try {
          mechanics::set_up_geometry(run, 5);
        } catch (const TestRefused& refused) {
          EXPECT_EQ(refused.refusal.test, 5);
          EXPECT_EQ(refused.refusal.name, "DENSOL");
          EXPECT_EQ(refused.refusal.rule, Rule::NotWetDensityOfGrains);
          throw;
        }
      },
      TestRefused);
}

}  // namespace
}  // namespace ostrevik::input
