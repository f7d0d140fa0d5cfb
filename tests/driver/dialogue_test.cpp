#include "driver/dialogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "codec/cp857.h"
#include "driver/run_end.h"
#include "driver/run_program.h"

namespace ostrevik::driver {
namespace {

using testing::records_of;

FileName name_of(const std::string& text) {
  FileName name;
  name.fill(' ');
  text.copy(name.data(), name.size());
  return name;
}

TEST(Banner, CreditLinesAreCentredInsideTheBox) {
  codec::StringSink console;
  write_banner(console);
  const std::vector<std::string> lines = records_of(console.bytes);
  ASSERT_GE(lines.size(), 11U);
  struct Credit {
    int line, lead, width;
  };
  for (const Credit& c : {Credit{10, 22, 23}, Credit{11, 28, 12}}) {
    const std::string& text = lines[static_cast<std::size_t>(c.line - 1)];
    SCOPED_TRACE(codec::cp857_to_utf8(text));
    ASSERT_EQ(text.size(), 74U);
    EXPECT_EQ(text.substr(0, 5), "    *");
    EXPECT_EQ(text.back(), '*');
    const std::string inside = text.substr(5, 68);
    EXPECT_EQ(inside.find_first_not_of(' '), static_cast<std::size_t>(c.lead));
    EXPECT_EQ(inside.find_last_not_of(' '), static_cast<std::size_t>(c.lead + c.width - 1));
  }
}

TEST(FileNameInput, TakesTheFirstTwelveCharactersOfEachLine) {
  struct Case {
    const char* input;
    std::vector<std::string> names;  // the names read before the input ends
  };
  const Case cases[] = {
      {"S1.DAT\n", {"S1.DAT      "}},
      {"S1.DAT\r\nS1.OUT\r\n", {"S1.DAT      ", "S1.OUT      "}},
      {"ABCDEFGH.DAT\n", {"ABCDEFGH.DAT"}},
      {"ABCDEFGHI.DATX\n", {"ABCDEFGHI.DA"}},
      {"ABCDEFGHIJKL\r\n", {"ABCDEFGHIJKL"}},
      {"\n\r\n", {"            ", "            "}},
      {" A.DAT\nLAST.OUT", {" A.DAT      ", "LAST.OUT    "}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    ASSERT_NE(file, nullptr);
    std::fputs(c.input, file.get());
    std::rewind(file.get());
    for (const std::string& expected : c.names) {
      const std::optional<FileName> name = read_file_name(file.get());
      ASSERT_TRUE(name.has_value());
      EXPECT_EQ(std::string(name->data(), name->size()), expected);
    }
    EXPECT_FALSE(read_file_name(file.get()).has_value());
  }
}

TEST(FileNameInput, PathDropsTrailingBlanksOnly) {
  EXPECT_EQ(path_of(name_of("S1.DAT")), "S1.DAT");
  EXPECT_EQ(path_of(name_of(" A B.DAT")), " A B.DAT");
  EXPECT_EQ(path_of(name_of("ABCDEFGH.DAT")), "ABCDEFGH.DAT");
  EXPECT_EQ(path_of(name_of("")), "");
}

TEST(EndOfRunWarning, ListsTheTestsOnTheReportAndInsideAsteriskLinesOnTheConsole) {
  Counters n;
  n.NNEG = 2;
  n.NEGTST(1) = 3;
  n.NEGTST(2) = 7;
  n.NEGCNT(1) = 1;
  n.NEGCNT(2) = 12;
  codec::StringSink report;
  codec::StringSink console;
  write_negative_displacement_warning(n, report, console);

  codec::StringSink tests;
  codec::write_list(tests, std::vector<int>{3, 7});
  codec::StringSink counts;
  codec::write_list(counts, std::vector<int>{1, 12});
  const std::string warning =
      "\r\n\r\n" + std::string(28, ' ') + "******** UYARI ********\r\n    " + " DENEY NO.\r\n" +
      tests.bytes + "    " + codec::to_cp857(" SONUÇLARINDA, 0.4 MM DEN BÜYÜK, SIRASIYLA,") +
      "\r\n" + counts.bytes + "    " +
      codec::to_cp857(
          " EKSİ KESME ÖTELENMESİ VAR.  ÇIKTILARI İNCELEYİP VERİLERİ DENETLEYİNİZ !!!") +
      "\r\n";
  EXPECT_EQ(report.bytes, warning);

  std::string stars = "    ";
  for (int k = 0; k < 24; ++k) stars += "*  ";
  const std::string box_top = "\r\n\r\n\r\n" + stars + "\r\n    *" + std::string(68, ' ') + "*\r\n";
  EXPECT_EQ(console.bytes, box_top + warning + stars + "\r\n\r\n\r\n\r\n");
}

TEST(EndOfRunWarning, NothingWithoutNegativeDisplacement) {
  Counters n;
  codec::StringSink report;
  codec::StringSink console;
  write_negative_displacement_warning(n, report, console);
  EXPECT_EQ(report.bytes, "");
  EXPECT_EQ(console.bytes, "");
}

TEST(NonfiniteWarning, NamesTheTestsOnBothOutputs) {
  struct Case {
    std::vector<int> tests;
    bool in_analysis;
    const char* names;  // what the line must name; nullptr: no line
  };
  const Case cases[] = {
      {{}, false, nullptr},
      {{2, 5}, false, "DENEY NO. 2, 5 "},
      {{4}, true, "DENEY NO. 4 VE DAYANIM"},
      {{}, true, "DAYANIM"},
  };
  for (const Case& c : cases) {
    codec::StringSink report;
    codec::StringSink console;
    write_nonfinite_warning(c.tests, c.in_analysis, report, console);
    EXPECT_EQ(report.bytes, console.bytes);
    if (c.names == nullptr) {
      EXPECT_EQ(report.bytes, "");
      continue;
    }
    ASSERT_EQ(records_of(report.bytes).size(), 1U);
    EXPECT_NE(report.bytes.find(codec::to_cp857(c.names)), std::string::npos) << report.bytes;
  }
}

}  // namespace
}  // namespace ostrevik::driver
