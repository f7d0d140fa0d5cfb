// The series file's reader on small files: the values it gives, and a clear message for each
// kind of bad input.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "input/series_file.h"

namespace ostrevik::input {
namespace {

constexpr const char* kSeries = R"([project]
id = "P-17"

[frame]
WLP1 = 1.109
WLP2 = 0.836
TLP1MN = 1.58
GRSLO = 0.1689
WPR = 3.397
WHJ = 1.536
H2 = 20.8
WDM = 0.776

[[test]]
titles = ["DENEY 1 - KİL"]
readings = "T.csv"

[test.specimen]
depth = 6.0
ALFN = 30
DIAIN = 8.37
WSPPTM = 5.215
PSPBDL = 0
)";

constexpr const char* kCsv =
    "TIMMN;TIMHR;DXABS;DY1ABS;DTMLP2;DRPB;GRREAD\r\n"
    "33;15;123;136;320;729;27,5\r\n"
    "35;;143;139;335;728;94\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) throw std::logic_error("no " + from + " in the test's file");
  return text.replace(at, from.size(), to);
}

SeriesFile read(const std::string& series, const std::string& csv) {
  const std::map<std::string, std::string> files{{"T.csv", csv}};
  return read_series(series, "S.toml", [&](const std::string& name) {
    if (!files.contains(name)) throw SeriesError("no file " + name);
    return files.at(name);
  });
}

TEST(SeriesFile, GivesTheRecordsWithTheirDefaultsAndTheIdentity) {
  const SeriesFile series = read(kSeries, kCsv);
  ASSERT_EQ(series.tests.size(), 1U);
  const RawTest& test = series.tests[0];
  ASSERT_TRUE(test.constants);
  EXPECT_EQ(test.constants->frame.GRSLO, 0.1689F);
  EXPECT_EQ(test.constants->frame.DVPR, 0.0F) << "an absent key is a blank field";
  EXPECT_FALSE(test.constants->lateral);
  EXPECT_EQ(std::string(test.TITLES[0].data(), 14), "DENEY 1 - K\x98L ") << "CP857, padded";
  EXPECT_EQ(test.specimen.RNREAD, 2.0F) << "the count of the readings given";
  EXPECT_EQ(test.specimen.PFIXDR, 0.0F);
  ASSERT_EQ(test.readings.size(), 2U);
  EXPECT_EQ(test.readings[0].TIMHR, 15.0F);
  EXPECT_EQ(test.readings[0].GRREAD, 27.5F) << "a decimal comma";
  EXPECT_EQ(test.readings[1].TIMHR, 0.0F) << "a blank field is 0";
  EXPECT_EQ(series.identity.project.id, "P-17");
  ASSERT_EQ(series.identity.specimens.size(), 1U);
  EXPECT_EQ(series.identity.specimens[0].depth, 6.0);
}

struct BadInput {
  const char* what;
  std::string series;
  std::string csv;
  const char* message;
};

TEST(SeriesFile, RefusesBadInputWithFileLineKeyValueAndWhatWasExpected) {
  const std::string s = kSeries;
  const std::string c = kCsv;
  const BadInput cases[] = {
      {"typo'd key", replaced(s, "PSPBDL", "SPBDL"), c,
       "S.toml, line 23, key test.specimen.SPBDL (test 1): unknown key; did you mean PSPBDL?"},
      {"wrong type", replaced(s, "ALFN = 30", "ALFN = \"30\""), c,
       "S.toml, line 20, key test.specimen.ALFN (test 1): found \"30\", expected a number"},
      {"a flag that is not true or false", "[analysis]\nregional = 1\n" + s, c,
       "S.toml, line 2, key analysis.regional: found 1, expected true or false"},
      {"negative depth", replaced(s, "depth = 6.0", "depth = -2.5"), c,
       "S.toml, line 19, key test.specimen.depth (test 1): found -2.5, expected a number of 0 or "
       "more"},
      {"missing key", replaced(s, "GRSLO = 0.1689\n", ""), c,
       "S.toml, line 4, key frame.GRSLO: missing key GRSLO of records 2 and 3 (frame)"},
      {"missing column", s, "TIMMN;TIMHR;DXABS;DY1ABS;DTMLP2;DRPB\n33;15;123;136;320;729\n",
       "T.csv, row 1: no column GRREAD, which the test needs"},
      {"text in a number column", s, replaced(c, ";143;", ";14e;"),
       "T.csv, row 3, column DXABS: found \"14e\", expected a number"},
      {"ragged row", s, replaced(c, ";94", ""), "T.csv, row 3: found 6 fields, expected 7"},
      {"unknown column", s, replaced(c, "DRPB", "DRBP"),
       "T.csv, row 1, column DRBP: unknown column; did you mean DRPB?"},
      {"both decimal marks", s, replaced(c, ";143;", ";143.5;"),
       "expected one of them (give readings_decimal"},
      {"flag out of range", s,
       "GRREAD;IPARFL;TIMHR;TIMMN;DXABS;DY1ABS;DTMLP2;DRPB\n27;12;15;33;123;136;320;729\n",
       "T.csv, row 2, column IPARFL: found \"12\", expected a flag, an integer 0 to 9"},
      {"mould without PFIXDR 2 or 3", replaced(s, "PSPBDL = 0", "PFIXDR = 1\n[test.mould]"), c,
       "key test.specimen.PFIXDR (test 1): found 1, expected 2 or 3 with a mould record"},
      {"lateral record without PARLAT", replaced(s, "[[test]]", "[lateral]\nLYOK = 3\n\n[[test]]"),
       c, "key lateral: record 4 is read only with PARLAT > 0"},
      {"count against readings", replaced(s, "PSPBDL = 0", "RNREAD = 3"), c,
       "key test.readings (test 1): found 2 readings, expected 3 as RNREAD gives"},
      {"syntax", replaced(s, "H2 = 20.8", "H2 = "), c, "S.toml, line 11: "},
      {"title too long", replaced(s, "DENEY 1 - KİL", std::string(81, 'A')), c,
       "key test.titles (test 1): found \"AAAA"},
  };
  for (const BadInput& bad : cases) {
    try {
      read(bad.series, bad.csv);
      ADD_FAILURE() << bad.what << ": read without an error";
    } catch (const SeriesError& e) {
      EXPECT_NE(std::string(e.what()).find(bad.message), std::string::npos)
          << bad.what << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace ostrevik::input
