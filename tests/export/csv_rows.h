#pragma once
// The rows of a CSV file as a spreadsheet reads them.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace ostrevik::testing {

using Rows = std::vector<std::vector<std::string>>;

// RFC 4180: records end in CR LF, cells are separated by commas, a quoted cell doubles its
// quotes. Fails the test on anything else.
inline Rows parse_csv(std::string_view bytes) {
  Rows rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    std::string& cell = rows.back().back();
    if (quoted) {
      if (c != '"') {
        cell += c;
      } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
        cell += c;
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"' && cell.empty()) {
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r') {
      EXPECT_EQ(bytes.substr(i, 2), "\r\n") << "at byte " << i;
      ++i;
      rows.emplace_back(1);
    } else {
      EXPECT_NE(c, '"') << "quote inside an unquoted cell at byte " << i;
      EXPECT_NE(c, '\n') << "bare LF at byte " << i;
      cell += c;
    }
  }
  EXPECT_FALSE(quoted) << "unterminated quoted cell";
  EXPECT_EQ(rows.back(), std::vector<std::string>(1)) << "the last record lacks its CR LF";
  rows.pop_back();
  return rows;
}

}  // namespace ostrevik::testing
