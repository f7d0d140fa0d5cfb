#pragma once
// The layout notation of the fixed-column records: '...' literals, nX, Fw.d, Iw, Aw, A, '/',
// ':' (a write stops there when no items remain), repeat counts (rFw.d, r(...)) and format
// reversion. A layout is parsed once (its literals
// converted from the UTF-8 source text to CP857 at that time) and then used for any number
// of reads and writes.
#include <string>
#include <string_view>
#include <vector>

namespace ostrevik::codec {

struct LayoutItem {
  enum class Kind { Literal, Skip, Real, Integer, Text, RecordEnd, Stop, GroupStart, GroupEnd };
  Kind kind;
  int width = 0;     // Skip: columns; Real/Integer/Text: field width (Text: 0 = item's length)
  int decimals = 0;  // Real: digits after the point
  int count = 1;     // GroupStart: repeat count; GroupEnd: index of its GroupStart
  std::string text;  // Literal: CP857 bytes
};

class Layout {
 public:
  explicit Layout(std::string_view utf8_layout);  // throws std::invalid_argument on bad syntax
  const std::vector<LayoutItem>& items() const { return items_; }
  std::size_t reversion_point() const { return reversion_; }  // index where reversion resumes
  // Whether the part of the layout that reversion walks again holds a field: without one, a
  // statement with items left at the closing parenthesis could never end.
  bool fields_after_reversion() const { return fields_after_reversion_; }

 private:
  std::vector<LayoutItem> items_;
  std::size_t reversion_ = 0;
  bool fields_after_reversion_ = false;
};

}  // namespace ostrevik::codec
