#include "codec/layout.h"

#include <stdexcept>

#include "codec/cp857.h"

namespace ostrevik::codec {
namespace {

// Bounds that keep every field's text within the writer's fixed buffers and every repeat
// expansion small.
constexpr int kMaxCount = 1000;
constexpr int kMaxWidth = 1000;
constexpr int kMaxDecimals = 40;
constexpr int kMaxDepth = 8;

bool is_field(LayoutItem::Kind kind) {
  return kind == LayoutItem::Kind::Real || kind == LayoutItem::Kind::Integer ||
         kind == LayoutItem::Kind::Text;
}

LayoutItem make_item(LayoutItem::Kind kind, int width = 0, int decimals = 0, int count = 1) {
  LayoutItem item;
  item.kind = kind;
  item.width = width;
  item.decimals = decimals;
  item.count = count;
  return item;
}

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::vector<LayoutItem> scan(std::size_t& reversion) {
    if (!take('(')) fail("'(' expected");
    list(1);
    skip_blanks();
    if (pos_ != text_.size()) fail("text after the closing parenthesis");
    reversion = last_top_group_;
    return std::move(items_);
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw std::invalid_argument("layout \"" + std::string(text_) + "\": " + what + " at position " +
                                std::to_string(pos_ + 1));
  }

  void skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  bool take(char c) {
    skip_blanks();
    if (pos_ < text_.size() && upper(text_[pos_]) == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool digit_ahead() {
    skip_blanks();
    return pos_ < text_.size() && is_digit(text_[pos_]);
  }

  int number(int max) {
    if (!digit_ahead()) fail("number expected");
    int value = 0;
    while (pos_ < text_.size() && is_digit(text_[pos_])) {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > max) fail("number too large");
    }
    return value;
  }

  // The items of a parenthesised list up to and including its closing parenthesis; '/' and ':'
  // need no comma around them.
  void list(int depth) {
    bool item_required = false;
    bool separator_required = false;
    bool after_slash = false;
    for (;;) {
      skip_blanks();
      if (pos_ == text_.size()) fail("')' expected");
      const char c = text_[pos_];
      if (c == ')') {
        if (item_required) fail("item expected");
        ++pos_;
        return;
      }
      if (c == ',') {
        if (!separator_required && !after_slash) fail("item expected");
        ++pos_;
        item_required = true;
        separator_required = false;
        after_slash = false;
        continue;
      }
      if (separator_required && c != '/' && c != ':') fail("',' expected");
      after_slash = item(depth);
      separator_required = !after_slash;
      item_required = false;
    }
  }

  // One item with its optional repeat count; returns true for '/' and ':' (which separate by
  // themselves).
  bool item(int depth) {
    const bool counted = digit_ahead();
    const int count = counted ? number(kMaxCount) : 1;
    if (counted && count == 0) fail("repeat count must be positive");
    skip_blanks();
    if (pos_ == text_.size()) fail("item expected");
    const char c = upper(text_[pos_]);
    ++pos_;
    switch (c) {
      case '(':
        group(count, depth);
        return false;
      case '\'': {
        if (counted) fail("a literal takes no repeat count");
        LayoutItem text = make_item(LayoutItem::Kind::Literal);
        text.text = literal();
        push(text, 1);
        return false;
      }
      case 'X':
        push(make_item(LayoutItem::Kind::Skip, count), 1);
        return false;
      case 'F': {
        const int width = number(kMaxWidth);
        if (!take('.')) fail("'.' expected");
        const int decimals = number(kMaxDecimals);
        if (width == 0) fail("field width must be positive");
        push(make_item(LayoutItem::Kind::Real, width, decimals), count);
        return false;
      }
      case 'I': {
        const int width = number(kMaxWidth);
        if (width == 0) fail("field width must be positive");
        push(make_item(LayoutItem::Kind::Integer, width), count);
        return false;
      }
      case 'A': {
        const bool sized = digit_ahead();
        const int width = sized ? number(kMaxWidth) : 0;
        if (sized && width == 0) fail("field width must be positive");
        push(make_item(LayoutItem::Kind::Text, width), count);
        return false;
      }
      case '/':
        push(make_item(LayoutItem::Kind::RecordEnd), count);
        return true;
      case ':':
        if (counted) fail("':' takes no repeat count");
        push(make_item(LayoutItem::Kind::Stop), 1);
        return true;
      default:
        --pos_;
        fail("unknown item");
    }
  }

  void group(int count, int depth) {
    if (depth >= kMaxDepth) fail("groups nested too deeply");
    const std::size_t start = items_.size();
    items_.push_back(make_item(LayoutItem::Kind::GroupStart, 0, 0, count));
    list(depth + 1);
    items_.push_back(make_item(LayoutItem::Kind::GroupEnd, 0, 0, static_cast<int>(start)));
    if (depth == 1) last_top_group_ = start;
  }

  // The text of a '...' literal ('' stands for one quote), converted to CP857.
  std::string literal() {
    std::string utf8;
    for (;;) {
      if (pos_ == text_.size()) fail("unterminated literal");
      const char c = text_[pos_++];
      if (c == '\'') {
        if (pos_ < text_.size() && text_[pos_] == '\'') {
          utf8 += '\'';
          ++pos_;
          continue;
        }
        return to_cp857(utf8);
      }
      utf8 += c;
    }
  }

  void push(const LayoutItem& item, int count) {
    for (int k = 0; k < count; ++k) items_.push_back(item);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::vector<LayoutItem> items_;
  std::size_t last_top_group_ = 0;
};

}  // namespace

Layout::Layout(std::string_view utf8_layout) {
  items_ = Scanner(utf8_layout).scan(reversion_);
  items_.shrink_to_fit();  // layouts live for the whole run: no spare capacity
  for (std::size_t k = reversion_; k < items_.size(); ++k) {
    if (is_field(items_[k].kind)) fields_after_reversion_ = true;
  }
}

}  // namespace ostrevik::codec
