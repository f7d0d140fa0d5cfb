#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "codec/layout.h"
#include "codec/record.h"

namespace ostrevik::codec {
namespace {

// Bytes written by one statement, with "|" for each record end instead of CR LF.
std::string written(const char* layout, std::initializer_list<Value> items) {
  StringSink sink;
  write(sink, Layout(layout), items);
  std::string shown;
  for (std::size_t k = 0; k < sink.bytes.size(); ++k) {
    if (sink.bytes.compare(k, 2, "\r\n") == 0) {
      shown += '|';
      ++k;
    } else {
      shown += sink.bytes[k];
    }
  }
  return shown;
}

TEST(WriteReal, RoundingWidthAndAsterisks) {
  const struct {
    const char* layout;
    float value;
    const char* bytes;
  } cases[] = {
      {"(F6.2)", 12345.0F, "******|"},
      {"(F8.1)", -1234567.0F, "********|"},
      {"(F5.1)", 99.96F, "100.0|"},
      {"(F4.1)", 99.96F, "****|"},
      {"(F7.3)", 0.0F, "  0.000|"},
      {"(F5.2)", 0.5F, " 0.50|"},
      {"(F4.2)", 0.5F, "0.50|"},
      {"(F3.2)", 0.5F, ".50|"},
      {"(F5.2)", -0.5F, "-0.50|"},
      {"(F4.2)", -0.5F, "-.50|"},
      {"(F3.2)", -0.5F, "***|"},
      {"(F3.0)", 1.0F, " 1.|"},
      {"(F8.0)", 1234.0F, "   1234.|"},
      {"(F2.0)", 0.0F, "0.|"},
      {"(F1.0)", 0.0F, "*|"},
      {"(F5.2)", -0.001F, "-0.00|"},
      {"(F5.2)", -0.0F, " 0.00|"},
      {"(F4.2)", -0.001F, "-.00|"},
      {"(F2.0)", -0.4F, "**|"},
      {"(F6.2)", 0.125F, "  0.12|"},
      {"(F6.2)", 0.375F, "  0.38|"},
      {"(F4.0)", 2.5F, "  2.|"},
      {"(F4.0)", 3.5F, "  4.|"},
      {"(F6.2)", 1.005F, "  1.00|"},
      {"(F6.1)", 0.25F, "   0.2|"},
      {"(F9.5)", 0.1F, "  0.10000|"},
      {"(F12.9)", 0.1F, " 0.100000001|"},
      {"(F8.4)", -12.34567F, "-12.3457|"},
      {"(F8.2)", 1e10F, "********|"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(written(c.layout, {c.value}), c.bytes) << c.layout << " of " << c.value;
  }
}

TEST(WriteReal, NonFiniteValuesAreAsterisksAndCounted) {
  StringSink sink;
  write(sink, Layout("(3F5.1)"),
        {std::numeric_limits<float>::quiet_NaN(), 1.0F, -std::numeric_limits<float>::infinity()});
  EXPECT_EQ(sink.bytes, "*****  1.0*****\r\n");
  EXPECT_EQ(sink.nonfinite_fields, 2);
}

TEST(WriteIntegerAndText, WidthsPaddingAndCutting) {
  const struct {
    const char* layout;
    Value value;
    const char* bytes;
  } cases[] = {
      {"(I3)", 7, "  7|"},
      {"(I3)", -12, "-12|"},
      {"(I1)", 12, "*|"},
      {"(I2)", -5, "-5|"},
      {"(I11)", std::numeric_limits<int>::min(), "-2147483648|"},
      {"(A6)", std::string_view("abc"), "   abc|"},
      {"(A2)", std::string_view("abc"), "ab|"},
      {"(A)", std::string_view("S1.DAT      "), "S1.DAT      |"},
      // A marker stands in a numeric field's width.
      {"(F7.3)", Marker{"YOK"}, "    YOK|"},
      {"(I3)", Marker{"YOK"}, "YOK|"},
      {"(F2.0)", Marker{"YOK"}, "YO|"},
  };
  for (const auto& c : cases) EXPECT_EQ(written(c.layout, {c.value}), c.bytes) << c.layout;
}

TEST(WriteRecords, SkipsLiteralsRecordEndsAndReversion) {
  EXPECT_EQ(written("(4X,' SONUÇLARINDA')", {}), "     SONU\x80LARINDA|");
  EXPECT_EQ(written("(/,/,/)", {}), "||||");
  EXPECT_EQ(written("(/)", {}), "||");
  EXPECT_EQ(written("()", {}), "|");
  // A skip adds blanks only when something follows it in the record.
  EXPECT_EQ(written("('a',3X)", {}), "a|");
  EXPECT_EQ(written("('a',3X,/,'b')", {}), "a|b|");
  EXPECT_EQ(written("(2X,F4.1,3X)", {1.0F}), "   1.0|");
  std::string stars;
  for (int k = 0; k < 24; ++k) stars += "*  ";
  EXPECT_EQ(written("(4X,24('*  '))", {}), "    " + stars + "|");
  // Items exhausted: literals, skips and '/' up to the next field are still written.
  EXPECT_EQ(written("(I2,' a',/,' b',I2,' c')", {1}), " 1 a| b|");
  EXPECT_EQ(written("(' x=',I2,' y=',I2)", {}), " x=|");
  EXPECT_EQ(written("(3(I2,'.'))", {1, 2}), " 1. 2.|");
  // Reversion to the start, or to the last top-level group with its repeat count.
  EXPECT_EQ(written("(2F4.0)", {1.0F, 2.0F, 3.0F}), "  1.  2.|  3.|");
  EXPECT_EQ(written("('h',2(I2),'t')", {1, 2, 3, 4, 5}), "h 1 2t| 3 4t| 5|");
  EXPECT_EQ(written("(I1,2(I2),' ',1(I3))", {1, 2, 3, 4, 5, 6}), "1 2 3   4|  5|  6|");
  EXPECT_EQ(written("(3X,F8.6,5(1X,F3.0))", {0.5F, 1.0F, 2.0F}), "   0.500000  1.  2.|");
  // ':' ends the statement when no items remain; with items left it writes nothing.
  EXPECT_EQ(written("(F3.0,' (cm)',:,2X,'W=',F4.1)", {1.0F}), " 1. (cm)|");
  EXPECT_EQ(written("(F3.0,' (cm)',:,2X,'W=',F4.1)", {1.0F, 2.0F}), " 1. (cm)  W= 2.0|");
  EXPECT_EQ(written("(:,'x')", {}), "|");
  EXPECT_EQ(written("(2(I2,:,','))", {1, 2}), " 1, 2|");
}

TEST(WriteRecords, NineFieldsReversionMakesTwoRecords) {
  std::vector<Value> items;
  for (int k = 1; k <= 18; ++k) items.emplace_back(static_cast<float>(k));
  StringSink sink;
  write(sink, Layout("(9F8.0)"), items);
  EXPECT_EQ(sink.bytes,
            "      1.      2.      3.      4.      5.      6.      7.      8.      9.\r\n"
            "     10.     11.     12.     13.     14.     15.     16.     17.     18.\r\n");
}

TEST(WriteRecords, ItemsMustSuitTheirFields) {
  StringSink sink;
  EXPECT_THROW(write(sink, Layout("(F8.2)"), {1}), std::invalid_argument);
  EXPECT_THROW(write(sink, Layout("(I8)"), {1.0F}), std::invalid_argument);
  EXPECT_THROW(write(sink, Layout("('no field')"), {1}), std::invalid_argument);
  EXPECT_THROW(write(sink, Layout("(A3)"), {Marker{"YOK"}}), std::invalid_argument);
}

TEST(WriteList, TwelveColumnsPerValueTenPerRecord) {
  StringSink sink;
  const std::vector<int> few = {3, -17};
  write_list(sink, few);
  EXPECT_EQ(sink.bytes, "           3         -17\r\n");
  StringSink many_sink;
  std::vector<int> many(11, 1);
  write_list(many_sink, many);
  std::string ten;
  for (int k = 0; k < 10; ++k) ten += "           1";
  EXPECT_EQ(many_sink.bytes, ten + "\r\n           1\r\n");
}

}  // namespace
}  // namespace ostrevik::codec
