#include <gtest/gtest.h>

#include <array>
#include <string>

#include "codec/errors.h"
#include "codec/layout.h"
#include "codec/record.h"

namespace ostrevik::codec {
namespace {

Source data(std::string bytes) {
  return Source(std::move(bytes), 5, "S1.DAT      ");
}

float read_real(const char* layout, std::string line) {
  Source source = data(std::move(line) + "\n");
  float value = -99.0F;
  read(source, Layout(layout), {&value});
  return value;
}

TEST(ReadReal, BlanksSignsPointsAndExponents) {
  const struct {
    const char* layout;
    const char* field;
    float value;
  } cases[] = {
      {"(F8.0)", "     12 ", 12.0F},   {"(F8.0)", "   1.5  ", 1.5F},
      {"(F8.0)", "  -0.25 ", -0.25F},  {"(F3.0)", "1 5", 15.0F},
      {"(F8.0)", "        ", 0.0F},    {"(F8.0)", "", 0.0F},
      {"(F8.2)", "    1234", 12.34F},  {"(F8.2)", "   12.34", 12.34F},
      {"(F8.3)", "       5", 0.005F},  {"(F8.2)", "  -1 2 3", -1.23F},
      {"(F8.0)", "  +7    ", 7.0F},    {"(F8.0)", "1.5E2   ", 150.0F},
      {"(F8.0)", "1.5e-2  ", 0.015F},  {"(F8.0)", " 2.5D+1 ", 25.0F},
      {"(F8.0)", "  1.5-3 ", 0.0015F}, {"(F8.0)", "  15+2  ", 1500.0F},
      {"(F8.2)", "  15E1  ", 1.5F},    {"(F8.0)", " .5     ", 0.5F},
      {"(F8.0)", "   7.   ", 7.0F},    {"(F8.0)", " - 3 . 5", -3.5F},
      {"(F8.0)", "0.1     ", 0.1F},    {"(F4.0)", "1234567", 1234.0F},
      {"(F8.0)", " 1e-50  ", 0.0F},    {"(2X,F4.0)", "991234", 1234.0F},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read_real(c.layout, c.field), c.value) << c.layout << " of \"" << c.field << "\"";
  }
}

TEST(ReadReal, FieldsThatAreNotNumbersStopTheRun) {
  for (const char* field : {"   6O9  ", "  1.2.3 ", "   1E   ", "    -   ", "   .    ", "  1,5   ",
                            "  1E2.5 ", "  1e99  ", "  0x10  ", "  1+-2  "}) {
    Source source = data(std::string("12345678") + field + "\r\n");
    float first = 0.0F;
    float second = 0.0F;
    try {
      read(source, Layout("(2F8.0)"), {&first, &second});
      ADD_FAILURE() << "no error for \"" << field << "\"";
    } catch (const FatalError& e) {
      EXPECT_EQ(e.kind, FatalKind::Conversion);
      EXPECT_EQ(
          std::string(e.what()),
          std::string("input conversion error, unit 5, file S1.DAT: line 1, columns 9-16: \"") +
              field + "\"");
    }
  }
  // A tab looks like blanks: the message shows it.
  Source tabbed = data("12345678   1\t2  \r\n");
  float v[2] = {};
  try {
    read(tabbed, Layout("(2F8.0)"), {&v[0], &v[1]});
    ADD_FAILURE() << "no error for a tab";
  } catch (const FatalError& e) {
    EXPECT_EQ(std::string(e.what()),
              "input conversion error, unit 5, file S1.DAT: line 1, columns 9-16: \"   "
              "1<TAB>2  \" (a tab: fixed-column records need spaces)");
  }
}

TEST(ReadRecords, NineFieldsFromShortAndLongLines) {
  const Layout layout("(9F8.0)");
  std::array<float, 18> v{};
  Source short_line = data("     1.5       2 3.25");
  read(short_line, layout, {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8]});
  EXPECT_EQ(v[0], 1.5F);
  EXPECT_EQ(v[1], 2.0F);
  EXPECT_EQ(v[2], 3.25F);
  for (int k = 3; k < 9; ++k) EXPECT_EQ(v[k], 0.0F);

  // Eighteen items read two records; six items read one and leave the rest of it unread.
  Source two = data(
      "1 2 3 4 5 6 7 8 9 \r\n       1       2       3       4       5       6"
      "       7       8       9\r\n      42\r\n");
  read(two, layout,
       {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11],
        &v[12], &v[13], &v[14], &v[15], &v[16], &v[17]});
  EXPECT_EQ(v[0], 1234.0F);
  EXPECT_EQ(v[8], 0.0F);
  EXPECT_EQ(v[9], 1.0F);
  EXPECT_EQ(v[17], 9.0F);
  EXPECT_EQ(two.line_number(), 2);
  Source six = data(
      "       1       2       3       4       5       6       7       8       9\n"
      "      42\n");
  read(six, layout, {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]});
  EXPECT_EQ(v[5], 6.0F);
  read(six, layout, {&v[0]});
  EXPECT_EQ(v[0], 42.0F);
  EXPECT_TRUE(six.at_end());
}

TEST(ReadRecords, ReadingsRecordWithIntegerFlag) {
  const Layout layout("(2F4.0,4F8.0,F7.0,I1,2F8.0,2F4.0)");
  std::array<float, 11> v{};
  int flag = -1;
  // Columns: 1-4, 5-8, four of 8 from 9, 41-47, the flag in 48, 49-64, 65-68, 69-72.
  Source source =
      data(std::string("  10") + " 3 0" + "   12.5 " + "  -0.25 " + "  1 1 0 " + " 0 0    " +
           "1234.5 " + "2" + "  1.2E1 " + "        " + "   7" + "  -2" + "\r\n");
  read(source, layout,
       {&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &flag, &v[7], &v[8], &v[9], &v[10]});
  EXPECT_EQ(v[0], 10.0F);
  EXPECT_EQ(v[1], 30.0F);
  EXPECT_EQ(v[2], 12.5F);
  EXPECT_EQ(v[3], -0.25F);
  EXPECT_EQ(v[4], 110.0F);
  EXPECT_EQ(v[5], 0.0F);
  EXPECT_EQ(v[6], 1234.5F);
  EXPECT_EQ(flag, 2);
  EXPECT_EQ(v[7], 12.0F);
  EXPECT_EQ(v[8], 0.0F);
  EXPECT_EQ(v[9], 7.0F);
  EXPECT_EQ(v[10], -2.0F);
}

TEST(ReadInteger, SignsBlanksAndRange) {
  const struct {
    const char* field;
    int value;
  } good[] = {{"   12", 12}, {" - 3 ", -3}, {"+ 4  ", 4}, {"     ", 0}, {"", 0}};
  for (const auto& c : good) {
    Source source = data(std::string(c.field) + "\n");
    int value = -99;
    read(source, Layout("(I5)"), {&value});
    EXPECT_EQ(value, c.value) << '"' << c.field << '"';
  }
  for (const char* bad : {"1.0", "1E2", "-", "2147483648", "99999999999", "1x"}) {
    Source source = data(bad);
    int value = 0;
    EXPECT_THROW(read(source, Layout("(I11)"), {&value}), FatalError) << bad;
  }
  Source edge = data("-2147483648");
  int value = 0;
  read(edge, Layout("(I11)"), {&value});
  EXPECT_EQ(value, std::numeric_limits<int>::min());
}

TEST(ReadText, WidthAgainstItemLength) {
  std::array<char, 12> name{};
  Source console = data("S1.DAT   \nABCDEFGHIJKLMNOP\n");
  read(console, Layout("(A)"), {std::span<char>(name)});
  EXPECT_EQ(std::string(name.data(), 12), "S1.DAT      ");
  read(console, Layout("(A)"), {std::span<char>(name)});
  EXPECT_EQ(std::string(name.data(), 12), "ABCDEFGHIJKL");

  std::array<char, 4> item{};
  Source wide = data("abcdefgh");
  read(wide, Layout("(A6)"), {std::span<char>(item)});
  EXPECT_EQ(std::string(item.data(), 4), "cdef");
  Source narrow = data("abcdefgh");
  read(narrow, Layout("(A2)"), {std::span<char>(item)});
  EXPECT_EQ(std::string(item.data(), 4), "ab  ");

  std::array<char, 80> title{};
  std::array<std::array<char, 4>, 20> words{};
  Source titled = data("SHEAR TEST 1\r\n");
  std::vector<Target> targets;
  for (auto& w : words) targets.emplace_back(std::span<char>(w));
  read(titled, Layout("(20A4)"), targets);
  for (int k = 0; k < 20; ++k) std::copy(words[k].begin(), words[k].end(), title.begin() + 4 * k);
  EXPECT_EQ(std::string(title.data(), 80), "SHEAR TEST 1" + std::string(68, ' '));
}

TEST(ReadRecords, SlashAndLineEnds) {
  float a = 0.0F;
  float b = 0.0F;
  Source source = data("1\r\n\n  2\r\n3");
  read(source, Layout("(F3.0,/,/,F3.0)"), {&a, &b});
  EXPECT_EQ(a, 1.0F);
  EXPECT_EQ(b, 2.0F);
  EXPECT_EQ(source.line_number(), 3);
  read(source, Layout("(F3.0)"), {&a});
  EXPECT_EQ(a, 3.0F);
  EXPECT_TRUE(source.at_end());
  // Lone CRs end records too: "4", "", "5".
  Source old_style = data("4\r\r5\r");
  read(old_style, Layout("(F3.0,/,F3.0)"), {&a, &b});
  EXPECT_EQ(a, 4.0F);
  EXPECT_EQ(b, 0.0F);
  read(old_style, Layout("(F3.0)"), {&a});
  EXPECT_EQ(a, 5.0F);
  EXPECT_TRUE(old_style.at_end());
  // An empty read still consumes a record.
  Source skipped = data("x\ny\n");
  read(skipped, Layout("(A)"), {});
  EXPECT_EQ(skipped.line_number(), 1);
}

TEST(ReadRecords, EndOfFileNamesTheMissingLine) {
  Source source = data("1\n2\n");
  float v[3] = {};
  try {
    read(source, Layout("(F3.0)"), {&v[0], &v[1], &v[2]});
    ADD_FAILURE() << "no end-of-file error";
  } catch (const FatalError& e) {
    EXPECT_EQ(e.kind, FatalKind::EndOfFile);
    EXPECT_EQ(std::string(e.what()), "end-of-file during read, unit 5, file S1.DAT: line 3");
  }
  Source empty = data("");
  EXPECT_TRUE(empty.at_end());
  EXPECT_THROW(empty.next_record(), FatalError);
}

TEST(FatalMessages, FixedFormsWithoutTrailingBlanks) {
  EXPECT_EQ(message_of(FatalError(FatalKind::FileNotFound, 5, "NONE.DAT    ")),
            "file not found, unit 5, file NONE.DAT");
  EXPECT_EQ(message_of(FatalError(FatalKind::FileExists, 6, "S1.OUT      ")),
            "file already exists, unit 6, file S1.OUT");
  EXPECT_EQ(message_of(FatalError(FatalKind::Conversion, 5, "S1.DAT", 17, 37, 37, "x")),
            "input conversion error, unit 5, file S1.DAT: line 17, column 37: \"x\"");
}

}  // namespace
}  // namespace ostrevik::codec
