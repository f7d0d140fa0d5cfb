// The tests of a fixed-column data file as the source hands them out, and where the test loop
// raises a read error relative to what the report shows of the test.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "data_text.h"
#include "driver/test_loop.h"
#include "input/fixed_column_source.h"
#include "model/outcome.h"

namespace ostrevik::input {
namespace {

using testing::constants_block;
using testing::fields;
using testing::lines;
using testing::records_of;
using testing::source_of;
using testing::SpecimenRecords;
using testing::titles;

std::string reading(const std::string& dx = "1") {
  return fields({"10", "5"}, 4) + fields({dx, "1", "1", "1"}) + "   2000";
}

std::string readings(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += lines({reading()});
  return text;
}

std::string specimen(const std::string& PFIXDR, const std::string& RNREAD = "2") {
  SpecimenRecords rec;
  rec.PFIXDR = PFIXDR;
  rec.RNREAD = RNREAD;
  return rec.text();
}

// What one call of next() hands out.
struct Handed {
  bool constants;
  int titles_read;
  bool ends_input;
  std::optional<TestPart> error;  // the part of a read error
  int error_line;                 // its record, 0 without an error
  std::size_t readings;
};

int line_of(const SourcedTest& test) {
  try {
    test.raise_error_of(test.error_part);
  } catch (const codec::FatalError& e) {
    return e.line;
  }
  return 0;
}

TEST(FixedColumnSource, TestsAndTheEndOfTheInput) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Handed> handed;
  };
  const std::string test0 = titles() + specimen("0") + readings(2);
  const Case cases[] = {
      {"empty file", "", {{false, 3, false, TestPart::Constants, 1, 0}}},
      {"constants only", constants_block(), {{true, 0, true, std::nullopt, 0, 0}}},
      {"end inside the titles",
       constants_block() + lines({"TEST", "BOREHOLE"}),
       {{true, 2, true, std::nullopt, 0, 0}}},
      {"letter in a frame record",
       lines({fields({"0"})}) + lines({fields({"x"})}),
       {{false, 3, false, TestPart::Constants, 2, 0}}},
      {"record 6 missing",
       constants_block() + titles() + lines({fields({"30"})}),
       {{true, 3, false, TestPart::Specimen, 8, 0}}},
      {"record 7 announced, missing",
       constants_block() + titles() + specimen("2"),
       {{true, 3, false, TestPart::Specimen, 9, 0}}},
      {"readings cut short",
       constants_block() + titles() + specimen("0", "3") + readings(2),
       {{true, 3, false, TestPart::Readings, 11, 2}}},
      {"count outside 2..40 reads no readings",
       constants_block() + titles() + specimen("0", "1") + lines({"x"}),
       {{true, 3, false, std::nullopt, 0, 0}}},
      {"PFIXDR 0: the next test begins at its titles",
       constants_block() + test0 + test0,
       {{true, 3, false, std::nullopt, 0, 2},
        {false, 3, false, std::nullopt, 0, 2},
        {false, 0, true, std::nullopt, 0, 0}}},
      {"PFIXDR 1: the next test's block, and the end where a block would begin",
       constants_block() + titles() + specimen("1") + readings(2) + constants_block() + test0,
       {{true, 3, false, std::nullopt, 0, 2},
        {true, 3, false, std::nullopt, 0, 2},
        {false, 0, true, std::nullopt, 0, 0}}},
      {"PFIXDR 3: a blank line after the last test is a constants block cut short",
       constants_block() + titles() + specimen("3") +
           lines({fields({"9.5", "6", "-1", "5.5", "40", "4", "0.1", "0", "0.5"})}) + readings(2) +
           lines({""}),
       {{true, 3, false, std::nullopt, 0, 2}, {false, 3, false, TestPart::Constants, 13, 0}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    codec::Source data = source_of(k.text);
    FixedColumnSource tests(data);
    for (const Handed& h : k.handed) {
      const SourcedTest test = tests.next();
      EXPECT_EQ(test.test.constants.has_value(), h.constants);
      EXPECT_EQ(static_cast<bool>(test.error), h.error.has_value());
      if (test.error) {
        EXPECT_EQ(test.error_part, h.error);
        EXPECT_EQ(line_of(test), h.error_line);
        continue;
      }
      EXPECT_EQ(test.titles_read, h.titles_read);
      EXPECT_EQ(test.ends_input, h.ends_input);
      EXPECT_EQ(test.test.readings.size(), h.readings);
    }
  }
}

// The report of a run up to its end, and the line of the fatal error that ended it (0: none).
struct Ended {
  std::vector<std::string> report;
  int fatal_line = 0;
};

Ended run_data(const std::string& text) {
  auto run = std::make_unique<Run>();
  codec::Source data = source_of(text);
  codec::StringSink report;
  codec::StringSink console;
  Ended ended;
  try {
    driver::evaluate_data(*run, data, report, console);
  } catch (const codec::FatalError& e) {
    ended.fatal_line = e.line;
  }
  ended.report = records_of(report);
  return ended;
}

// A read error ends the run where the test reaches the part it belongs to: the report holds what
// the test writes before that part, and a refusal before it wins.
TEST(FixedColumnSource, ReadErrorsAfterWhatTheTestWritesBeforeThem) {
  struct Case {
    const char* name;
    std::string text;
    int fatal_line;
    std::string last_record;  // start of the report's last record
  };
  const std::string title_echo = std::string(27, ' ') + "SAMPLE";
  SpecimenRecords flat;
  flat.ALFN = "90";
  const Case cases[] = {
      {"frame record", lines({fields({"0"}), "x"}), 2, ""},
      {"specimen record", constants_block() + titles() + lines({"x"}), 7, title_echo},
      {"readings record", constants_block() + titles() + specimen("0") + lines({reading("x")}), 9,
       " WSPPTM="},
      {"set-up refusal before the readings", constants_block() + titles() + flat.text(), 0,
       " *** DENEY NO. 1: ALFN = 90 (SATIR 7, SÜTUN 1-8) ;"},
      {"count refused before the readings", constants_block() + titles() + specimen("0", "1"), 0,
       " *** DENEY NO. 1: NREAD = 1 (SATIR 8, SÜTUN 65-72) ;"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const Ended ended = run_data(k.text);
    EXPECT_EQ(ended.fatal_line, k.fatal_line);
    if (k.last_record.empty()) {
      EXPECT_TRUE(ended.report.empty());
      continue;
    }
    ASSERT_FALSE(ended.report.empty());
    EXPECT_TRUE(ended.report.back().starts_with(codec::to_cp857(k.last_record)))
        << ended.report.back();
  }
}

}  // namespace
}  // namespace ostrevik::input
