#include "codec/record.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

#include "codec/errors.h"
#include "codec/fixed.h"

namespace ostrevik::codec {
namespace {

using Kind = LayoutItem::Kind;

// Deeper than any layout the scanner accepts.
constexpr int kMaxGroupDepth = 16;

[[noreturn]] void mismatch(std::size_t item_index, const char* field) {
  throw std::invalid_argument("item " + std::to_string(item_index + 1) + " does not suit its " +
                              field + " field");
}

// Walks the layout for one statement of `count` items and hands every step to the transfer:
// literal(text), skip(columns), record_end() for '/' and for reversion, field(item, index).
// Returns when the items are exhausted at a field, at a ':' or at the closing parenthesis.
template <class Transfer>
void walk(const Layout& layout, std::size_t count, Transfer& transfer) {
  struct Repeat {
    std::size_t start;
    int remaining;
  };
  std::array<Repeat, kMaxGroupDepth> groups;  // the first `depth` are open
  int depth = 0;
  // The layout does not change during a statement: its items are taken once.
  const std::span<const LayoutItem> items = layout.items();
  std::size_t next = 0;
  for (std::size_t i = 0;; ++i) {
    if (i == items.size()) {
      if (next == count) return;
      if (!layout.fields_after_reversion()) {
        throw std::invalid_argument("layout has no field for the remaining items");
      }
      transfer.record_end();
      i = layout.reversion_point() - 1;  // wraps for 0; the loop's ++i brings it back
      continue;
    }
    const LayoutItem& item = items[i];
    switch (item.kind) {
      case Kind::Literal:
        transfer.literal(item.text);
        break;
      case Kind::Skip:
        transfer.skip(item.width);
        break;
      case Kind::RecordEnd:
        transfer.record_end();
        break;
      case Kind::Stop:
        if (next == count) return;
        break;
      case Kind::GroupStart:
        groups[depth++] = Repeat{i, item.count};
        break;
      case Kind::GroupEnd:
        if (--groups[depth - 1].remaining > 0) {
          i = groups[depth - 1].start;
        } else {
          --depth;
        }
        break;
      case Kind::Real:
      case Kind::Integer:
      case Kind::Text:
        if (next == count) return;
        transfer.field(item, next++);
        break;
    }
  }
}

// The record being built, in the sink's buffer, whose size only grows: its bytes past the
// record are room for the next fields, and every field writer may scribble on the kSlack bytes
// after its own field (a later field or nothing covers them).
constexpr std::size_t kSlack = 64;

class RecordText {
 public:
  explicit RecordText(std::string& storage) : storage_(storage) {}

  // Where the next `count` bytes go; kSlack more bytes after them may be written too.
  char* room(std::size_t count) {
    if (length_ + count + kSlack > storage_.size()) {
      storage_.resize(std::max(2 * storage_.size(), length_ + count + kSlack));
    }
    return storage_.data() + length_;
  }
  void advance(std::size_t count) { length_ += count; }
  void append(std::string_view text) {
    std::copy(text.begin(), text.end(), room(text.size()));
    length_ += text.size();
  }
  void append(std::size_t count, char c) {
    std::fill_n(room(count), count, c);
    length_ += count;
  }
  std::string_view text() const { return {storage_.data(), length_}; }
  void clear() { length_ = 0; }

 private:
  std::string& storage_;
  std::size_t length_ = 0;
};

// Fw.d: the value rounded to d decimals (exact ties to even), right-justified; the "0" before
// the point only where the field has room for it, and always with d = 0 (a field shows at
// least one digit); asterisks when the value does not fit.
void format_real(RecordText& line, float value, int width, int decimals, Sink& sink) {
  if (!std::isfinite(value)) {
    ++sink.nonfinite_fields;
    line.append(width, '*');
    return;
  }
  if (value == 0.0F) value = 0.0F;  // a negative zero prints without sign
  static_assert(kJustifiedWidth <= kSlack);
  if (right_justified_fixed(line.room(width), width, value, decimals)) {
    line.advance(width);
    return;
  }
  // The text goes right after kBlanks blanks, so that a field of up to kBlanks columns is the
  // last `width` bytes up to the end of the text, copied in one fixed-size piece; the rest
  // holds FLT_MAX with the largest number of decimals and the over-read of that copy.
  constexpr int kBlanks = 32;
  std::array<char, kBlanks + 128 + kBlanks> buffer;
  std::fill_n(buffer.data(), kBlanks, ' ');
  char* first = buffer.data() + kBlanks;
  char* end = to_fixed(first, buffer.data() + kBlanks + 127, value, decimals).ptr;
  if (decimals == 0) *end++ = '.';
  auto length = static_cast<int>(end - first);
  if (length > width && decimals > 0) {
    if (first[0] == '0') {
      *first++ = ' ';
      --length;
    } else if (first[0] == '-' && first[1] == '0') {
      first[1] = '-';
      *first++ = ' ';
      --length;
    }
  }
  if (length > width) {
    line.append(width, '*');
    return;
  }
  if (width <= kBlanks) {
    static_assert(kBlanks <= kSlack);
    std::memcpy(line.room(width), end - width, kBlanks);
    line.advance(width);
  } else {
    line.append(width - length, ' ');
    line.append(std::string_view(first, length));
  }
}

void format_integer(RecordText& line, int value, int width) {
  std::array<char, 16> buffer;
  const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  const auto length = static_cast<int>(end - buffer.data());
  if (length > width) {
    line.append(width, '*');
    return;
  }
  line.append(width - length, ' ');
  line.append(std::string_view(buffer.data(), length));
}

void format_text(RecordText& line, std::string_view text, int width) {
  const auto length = static_cast<int>(text.size());
  if (width == 0 || width == length) {
    line.append(text);
  } else if (width > length) {
    line.append(width - length, ' ');
    line.append(text);
  } else {
    line.append(text.substr(0, width));
  }
}

class Writer {
 public:
  Writer(Sink& sink, std::span<const Value> values)
      : sink_(sink), line_(sink.record_buffer), values_(values) {}

  void literal(std::string_view text) {
    if (text.empty()) return;
    fill_skipped();
    line_.append(text);
  }
  void skip(int columns) { skipped_ += columns; }
  void record_end() {
    sink_.record(line_.text());
    line_.clear();
    skipped_ = 0;
  }
  void field(const LayoutItem& item, std::size_t index) {
    const Value& value = values_[index];
    fill_skipped();
    if (const Marker* marker = std::get_if<Marker>(&value)) {
      if (item.kind == Kind::Text) mismatch(index, "text");
      format_text(line_, marker->text, item.width);
      return;
    }
    switch (item.kind) {
      case Kind::Real:
        if (const float* real = std::get_if<float>(&value)) {
          format_real(line_, *real, item.width, item.decimals, sink_);
          return;
        }
        mismatch(index, "real");
      case Kind::Integer:
        if (const int* integer = std::get_if<int>(&value)) {
          format_integer(line_, *integer, item.width);
          return;
        }
        mismatch(index, "integer");
      default:
        if (const std::string_view* text = std::get_if<std::string_view>(&value)) {
          format_text(line_, *text, item.width);
          return;
        }
        mismatch(index, "text");
    }
  }

 private:
  // Skipped columns become blanks once something follows them in the record.
  void fill_skipped() {
    if (skipped_ == 0) return;
    line_.append(skipped_, ' ');
    skipped_ = 0;
  }

  Sink& sink_;
  RecordText line_;
  std::span<const Value> values_;
  int skipped_ = 0;
};

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The characters of a numeric field with its blanks left out.
class NonBlank {
 public:
  explicit NonBlank(std::string_view field) : field_(field) { skip_blanks(); }
  bool at_end() const { return pos_ == field_.size(); }
  bool at_digit() const { return !at_end() && is_digit(field_[pos_]); }
  bool at_sign() const { return !at_end() && (field_[pos_] == '+' || field_[pos_] == '-'); }
  char peek() const { return field_[pos_]; }
  void advance() {
    ++pos_;
    skip_blanks();
  }

 private:
  void skip_blanks() {
    while (pos_ < field_.size() && field_[pos_] == ' ') ++pos_;
  }

  std::string_view field_;
  std::size_t pos_ = 0;
};

// Room for a field rewritten in the form from_chars reads: on the stack for the usual widths.
class Scratch {
 public:
  explicit Scratch(std::size_t size) {
    if (size > local_.size()) {
      large_.resize(size);
      data_ = large_.data();
    }
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  char* data() { return data_; }

 private:
  std::array<char, 64> local_;
  std::string large_;
  char* data_ = local_.data();
};

// Fw.d input: sign, digits with at most one point, optional exponent (E or D with an optional
// sign, or a sign alone); without a point the rightmost d digits are the fraction.
std::optional<float> parse_real(std::string_view field, int decimals) {
  NonBlank c(field);
  if (c.at_end()) return 0.0F;
  // The field becomes "[-]DIGITSeEXPONENT": sign, digits, 'e' and a long.
  Scratch scratch(field.size() + 24);
  char* out = scratch.data();
  bool negative = false;
  if (c.at_sign()) {
    negative = c.peek() == '-';
    c.advance();
  }
  if (negative) *out++ = '-';
  char* const mantissa = out;
  long point = -1;
  for (; !c.at_end(); c.advance()) {
    if (c.at_digit()) {
      *out++ = c.peek();
    } else if (c.peek() == '.' && point < 0) {
      point = out - mantissa;
    } else {
      break;
    }
  }
  const long digits = out - mantissa;
  if (digits == 0) return std::nullopt;
  long exponent = 0;
  if (!c.at_end()) {
    const char mark = c.peek();
    if (mark == 'E' || mark == 'e' || mark == 'D' || mark == 'd') {
      c.advance();
    } else if (mark != '+' && mark != '-') {
      return std::nullopt;
    }
    bool exponent_negative = false;
    if (c.at_sign()) {
      exponent_negative = c.peek() == '-';
      c.advance();
    }
    if (!c.at_digit()) return std::nullopt;
    for (; c.at_digit(); c.advance())
      exponent = std::min(exponent * 10 + (c.peek() - '0'), 100000L);
    if (!c.at_end()) return std::nullopt;
    if (exponent_negative) exponent = -exponent;
  }
  const long fraction_digits = point < 0 ? decimals : digits - point;
  *out++ = 'e';
  out = std::to_chars(out, out + 24, exponent - fraction_digits).ptr;
  float value = 0.0F;
  const auto [end, error] = std::from_chars(scratch.data(), out, value);
  if (error == std::errc::result_out_of_range) {
    // Too small for a float reads as zero; too large is not a number this program can use.
    const long leading =
        std::find_if(mantissa, mantissa + digits, [](char d) { return d != '0'; }) - mantissa;
    const long order = digits - leading - 1 + exponent - fraction_digits;
    if (order < 0) return negative ? -0.0F : 0.0F;
    return std::nullopt;
  }
  if (error != std::errc{} || end != out) return std::nullopt;
  return value;
}

// Iw input: sign and digits; a blank field is 0; values beyond the integer range are refused.
std::optional<int> parse_integer(std::string_view field) {
  NonBlank c(field);
  if (c.at_end()) return 0;
  Scratch scratch(field.size());
  char* out = scratch.data();
  if (c.at_sign()) {
    if (c.peek() == '-') *out++ = '-';
    c.advance();
  }
  char* const digits = out;
  for (; c.at_digit(); c.advance()) *out++ = c.peek();
  if (out == digits || !c.at_end()) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(scratch.data(), out, value);
  if (error != std::errc{} || end != out) return std::nullopt;
  return value;
}

class Reader {
 public:
  Reader(Source& source, std::span<const Target> targets)
      : source_(source), targets_(targets), record_(source.next_record()) {}

  void literal(std::string_view text) { column_ += text.size(); }
  void skip(int columns) { column_ += columns; }
  void record_end() {
    record_ = source_.next_record();
    column_ = 0;
  }
  void field(const LayoutItem& item, std::size_t index) {
    const Target& target = targets_[index];
    switch (item.kind) {
      case Kind::Real:
        if (float* const* real = std::get_if<float*>(&target)) {
          **real = number(parse_real(take(item.width), item.decimals), item.width);
          return;
        }
        mismatch(index, "real");
      case Kind::Integer:
        if (int* const* integer = std::get_if<int*>(&target)) {
          **integer = number(parse_integer(take(item.width)), item.width);
          return;
        }
        mismatch(index, "integer");
      default:
        if (const std::span<char>* text = std::get_if<std::span<char>>(&target)) {
          read_text(*text, item.width == 0 ? text->size() : item.width);
          return;
        }
        mismatch(index, "text");
    }
  }

 private:
  // The next `width` columns of the record; columns past its end are not in the view.
  std::string_view take(std::size_t width) {
    const std::string_view field =
        column_ < record_.size() ? record_.substr(column_, width) : std::string_view{};
    column_ += width;
    return field;
  }

  template <class T>
  T number(std::optional<T> value, int width) {
    if (value) return *value;
    const std::size_t first = column_ - width;
    std::string text(width, ' ');
    if (first < record_.size()) {
      const std::string_view present = record_.substr(first, width);
      text.replace(0, present.size(), present);
    }
    throw FatalError(FatalKind::Conversion, source_.unit(), source_.file_name(),
                     source_.line_number(), static_cast<int>(first + 1),
                     static_cast<int>(first + width), text);
  }

  // Aw into a text of length L: the rightmost L columns when w >= L, else the w columns and
  // L - w blanks; columns past the end of the record read as blanks.
  void read_text(std::span<char> text, std::size_t width) {
    const std::size_t start = width >= text.size() ? column_ + width - text.size() : column_;
    const std::size_t taken = std::min(width, text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
      const std::size_t column = start + k;
      text[k] = (k < taken && column < record_.size()) ? record_[column] : ' ';
    }
    column_ += width;
  }

  Source& source_;
  std::span<const Target> targets_;
  std::string_view record_;
  std::size_t column_ = 0;
};

}  // namespace

void StringSink::record(std::string_view bytes) {
  this->bytes.append(bytes);
  this->bytes.append("\r\n");
}

void write(Sink& sink, const Layout& layout, std::span<const Value> items) {
  Writer writer(sink, items);
  walk(layout, items.size(), writer);
  writer.record_end();
}

void write(Sink& sink, const Layout& layout, std::initializer_list<Value> items) {
  write(sink, layout, std::span<const Value>(items.begin(), items.size()));
}

void write_list(Sink& sink, std::span<const int> values) {
  constexpr std::size_t kPerRecord = 10;
  RecordText line(sink.record_buffer);
  for (std::size_t k = 0; k < values.size(); ++k) {
    line.append(1, ' ');
    format_integer(line, values[k], 11);
    if ((k + 1) % kPerRecord == 0 && k + 1 < values.size()) {
      sink.record(line.text());
      line.clear();
    }
  }
  sink.record(line.text());
}

Source::Source(std::string bytes, int unit, std::string file_name)
    : bytes_(std::move(bytes)), unit_(unit), file_(std::move(file_name)) {}

bool Source::at_end() const {
  return pos_ >= bytes_.size();
}

// A record ends at LF, CR LF, or a lone CR (text files from older systems).
std::string_view Source::next_record() {
  if (at_end()) throw FatalError(FatalKind::EndOfFile, unit_, file_, line_ + 1);
  const std::size_t end = bytes_.find_first_of("\r\n", pos_);
  const std::size_t stop = end == std::string::npos ? bytes_.size() : end;
  const std::string_view record(bytes_.data() + pos_, stop - pos_);
  pos_ = stop;
  if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
  if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
  ++line_;
  return record;
}

void read(Source& source, const Layout& layout, std::span<const Target> targets) {
  Reader reader(source, targets);
  walk(layout, targets.size(), reader);
}

void read(Source& source, const Layout& layout, std::initializer_list<Target> targets) {
  read(source, layout, std::span<const Target>(targets.begin(), targets.size()));
}

}  // namespace ostrevik::codec
