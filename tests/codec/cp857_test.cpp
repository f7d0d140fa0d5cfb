#include "codec/cp857.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "external_tool.h"

namespace ostrevik::codec {
namespace {

TEST(Cp857, TurkishLettersBothWays) {
  const std::string utf8 = "ÇçĞğİıÖöŞşÜü ASCII 0-9";
  const std::string bytes = "\x80\x87\xA6\xA7\x98\x8D\x99\x94\x9E\x9F\x9A\x81 ASCII 0-9";
  EXPECT_EQ(to_cp857(utf8), bytes);
  EXPECT_EQ(cp857_to_utf8(bytes), utf8);
}

TEST(Cp857, RefusesTextWithoutCp857BytesAndBrokenUtf8) {
  for (const char* bad : {"€", "\xC3", "\xC3(", "\xFF", "\xE2\x82"}) {
    EXPECT_THROW(to_cp857(bad), std::invalid_argument) << bad;
  }
}

// A data file is read as UTF-8 only when it is valid UTF-8 throughout and has a character of
// more than one byte; anything else is CP857 as it stands.
TEST(Cp857, DataFileTypedInUtf8) {
  struct Case {
    const char* bytes;
    const char* cp857;  // nullptr: not taken for UTF-8
  };
  const Case cases[] = {
      {"DENEY\xC4\xB0 \xC3\x87", "DENEY\x98 \x80"},      // İ and Ç
      {"\xEF\xBB\xBFK\xC3\xBC", "K\x81"},                // byte-order mark dropped
      {"1 \xE2\x82\xAC 2 \xF0\x9F\x98\x80", "1 ? 2 ?"},  // no CP857 form
      {"ASCII only\r\n", nullptr},
      {"DENEY\x98 \x80", nullptr},      // CP857 bytes
      {"\xC3\x87 then \x98", nullptr},  // UTF-8, then a stray byte
      {"\xC0\x80", nullptr},            // overlong
      {"\xED\xA0\x80", nullptr},        // surrogate
      {"\xC3", nullptr},                // cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const std::optional<std::string> text = cp857_of_utf8_text(c.bytes);
    ASSERT_EQ(text.has_value(), c.cp857 != nullptr);
    if (text) {
      EXPECT_EQ(*text, c.cp857);
    }
  }
}

TEST(Cp857, UpperHalfAgreesWithIconv) {
  if (!testing::tool_available("iconv")) GTEST_SKIP() << "iconv not found";
  testing::TempDir folder;
  std::string bytes;
  for (int b = 0x80; b <= 0xFF; ++b) bytes += std::string(1, static_cast<char>(b)) + "\n";
  testing::write_bytes(folder / "in", bytes);
  // -c drops the bytes that have no character, leaving their line empty.
  testing::run("iconv -c -f CP857 -t UTF-8 " + testing::quoted(folder / "in") + " > " +
               testing::quoted(folder / "out") + " 2>/dev/null");
  std::istringstream lines(testing::read_bytes(folder / "out"));
  std::string expected;
  int undefined = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    ASSERT_TRUE(std::getline(lines, expected)) << "iconv output ends before byte " << b;
    const std::string byte(1, static_cast<char>(b));
    if (expected.empty()) {
      ++undefined;
      EXPECT_EQ(cp857_to_utf8(byte), "\xEF\xBF\xBD") << "byte " << b;
      continue;
    }
    EXPECT_EQ(cp857_to_utf8(byte), expected) << "byte " << b;
    EXPECT_EQ(to_cp857(expected), byte) << "byte " << b;
  }
  EXPECT_LE(undefined, 3);
}

}  // namespace
}  // namespace ostrevik::codec
