#include "export/markup.h"

#include <array>
#include <charconv>
#include <cmath>

#include "codec/fixed.h"

namespace ostrevik::exports {

namespace {

// The bytes that XML text cannot hold as they are.
constexpr std::array<bool, 256> kNeedsEscape = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 0x20; ++b) table[static_cast<std::size_t>(b)] = b != '\n' && b != '\t';
  for (const char c : {'&', '<', '>', '"', '\'', '\x7F'}) {
    table[static_cast<unsigned char>(c)] = true;
  }
  return table;
}();

std::string_view escape_of(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return "\xEF\xBF\xBD";  // U+FFFD for a control character
  }
}

}  // namespace

void append_xml_text(std::string& out, std::string_view utf8) {
  std::size_t plain = 0;  // start of the run of bytes that need no escape
  for (std::size_t k = 0; k < utf8.size(); ++k) {
    if (!kNeedsEscape[static_cast<unsigned char>(utf8[k])]) continue;
    out.append(utf8.substr(plain, k - plain));
    out += escape_of(utf8[k]);
    plain = k + 1;
  }
  out.append(utf8.substr(plain));
}

std::string xml_text(std::string_view utf8) {
  std::string out;
  append_xml_text(out, utf8);
  return out;
}

void append_fixed(std::string& out, float value, int decimals) {
  if (!std::isfinite(value)) {
    out += "—";
    return;
  }
  if (value == 0.0F) value = 0.0F;
  std::array<char, 64> buffer;
  const auto result =
      codec::to_fixed(buffer.data(), buffer.data() + buffer.size(), value, decimals);
  if (result.ec != std::errc()) {
    out += "—";
    return;
  }
  out.append(buffer.data(), result.ptr);
}

std::string fixed(float value, int decimals) {
  std::string out;
  append_fixed(out, value, decimals);
  return out;
}

}  // namespace ostrevik::exports
