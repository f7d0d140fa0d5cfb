// The series written back: fixed-column records that read back as the very values written,
// and series files whose structure the reader checks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "input/series_file.h"
#include "input/series_source.h"

namespace ostrevik::input {
namespace {

RawTest small_test() {
  RawTest test;
  test.constants.emplace();
  for (TitleRecord& title : test.TITLES) title.fill(' ');
  test.specimen.RNREAD = 2;
  test.readings.resize(2);
  return test;
}

std::string replaced_once(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

bool same_bits(float a, float b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

// Every value in the narrowest field it may meet, written and read back by the fixed-column
// reader: the fields of 4, 7 and 8 columns take a value in the shortest form that fits.
TEST(FixedColumnText, WritesEveryValueSoThatItReadsBackExactly) {
  struct Value {
    float value;
    bool in_four_columns;  // also written in the 4 columns of DECLYK
  };
  const Value values[] = {
      {0.000254F, false}, {-0.5F, true},     {0.56F, true},    {1234567.0F, false},
      {1e-7F, true},      {-0.0F, true},     {99.99F, false},  {0.123456F, false},
      {35.9F, true},      {-1.46F, false},   {3.4e38F, false}, {1.5e-3F, false},
      {7.0F, true},       {-0.0012F, false}, {50.54F, false},  {1e8F, true}};
  for (const auto [value, fits_four] : values) {
    RawTest test = small_test();
    test.constants->frame.DVPR = value;
    test.specimen.DH = value;
    RawReading& r = test.readings[1];
    r.GRREAD = value;
    r.DRPB = value;
    if (fits_four) r.DECLYK = value;
    std::string text;
    try {
      text = fixed_column_text(std::vector<RawTest>{test});
    } catch (const SeriesError& e) {
      ADD_FAILURE() << value << ": " << e.what();
      continue;
    }
    codec::Source source(text, 5, "T.DAT");
    const std::vector<RawTest> back = tests_of_records(source);
    ASSERT_EQ(back.size(), 1U) << text;
    EXPECT_TRUE(same_bits(back[0].constants->frame.DVPR, value)) << value;
    EXPECT_TRUE(same_bits(back[0].specimen.DH, value)) << value;
    EXPECT_TRUE(same_bits(back[0].readings[1].GRREAD, value)) << value << "\n" << text;
    EXPECT_TRUE(same_bits(back[0].readings[1].DRPB, value)) << value;
    if (fits_four) {
      EXPECT_TRUE(same_bits(back[0].readings[1].DECLYK, value)) << value;
    }
  }
}

TEST(FixedColumnText, RefusesAValueItsFieldCannotHold) {
  RawTest test = small_test();
  test.readings[0].TIMMN = 1.2345678e-5F;
  EXPECT_THROW(fixed_column_text(std::vector<RawTest>{test}), SeriesError);
}

// The structure a series file must keep so that a fixed-column file can say the same: the
// constants blocks where PFIXDR puts them, record 6a where RNREAD announces it.
TEST(SeriesFile, RefusesAStructureTheRecordsCannotHold) {
  const std::string frame =
      "[frame]\nWLP1=1\nWLP2=1\nTLP1MN=1\nGRSLO=1\nWPR=1\nWHJ=1\nH2=1\nWDM=1\n";
  const std::string specimen = "[test.specimen]\nALFN=30\nDIAIN=8\nWSPPTM=5\n";
  const std::string rows =
      "[test.readings]\ncolumns=[\"TIMHR\",\"TIMMN\",\"DXABS\",\"DY1ABS\",\"DTMLP2\",\"DRPB\","
      "\"GRREAD\"]\nrows=[[1,2,3,4,5,6,7],[1,3,3,4,5,6,7]]\n";
  const std::string test = "[[test]]\n" + specimen + rows;
  const std::string own_block =
      "[[test]]\n[test.frame]\nWLP1=1\nWLP2=1\nTLP1MN=1\nGRSLO=1\n"
      "WPR=1\nWHJ=1\nH2=1\nWDM=1\n" +
      specimen + rows;
  struct Case {
    std::string series;
    const char* message;  // null: reads
  };
  const Case cases[] = {
      {frame + test + own_block, nullptr},
      {frame + replaced_once(test, "WSPPTM=5", "WSPPTM=5\nPFIXDR=0") + own_block,
       "found 0, expected 1 or 3: the next test brings its own constants"},
      {frame + replaced_once(test, "WSPPTM=5", "WSPPTM=5\nRNREAD=99") + own_block,
       "expected at most 40 readings (above 40 announces record 6a [test.soil])"},
      {frame + test + "[test.soil]\nGS=2.6\nWCINL=0.2\n", nullptr},
      {frame + replaced_once(test, "[test.readings]", "[test.frame]\nH2=1\n[test.readings]"),
       "the first test takes the top-level [flags] and [frame]"},
      {test, "missing table [frame] (records 2 and 3)"},
      {frame, "missing [[test]]"},
  };
  for (const Case& c : cases) {
    try {
      const SeriesFile series =
          read_series(c.series, "S.toml", [](const std::string&) { return std::string(); });
      EXPECT_EQ(c.message, nullptr) << c.series;
      if (c.message == nullptr && series.tests.size() == 2) {
        EXPECT_EQ(series.tests[0].specimen.PFIXDR, 1.0F) << "follows from the next test";
        EXPECT_TRUE(series.tests[1].constants);
      }
    } catch (const SeriesError& e) {
      ASSERT_NE(c.message, nullptr) << e.what();
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace ostrevik::input
