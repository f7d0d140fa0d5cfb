#include "export/markup.h"

#include <array>
#include <charconv>
#include <cmath>

namespace ostrevik::exports {

std::string xml_text(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) {
          out += "\xEF\xBF\xBD";  // U+FFFD
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string fixed(float value, int decimals) {
  if (!std::isfinite(value)) return "—";
  if (value == 0.0F) value = 0.0F;
  std::array<char, 64> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return {buffer.data(), result.ptr};
}

std::string pixels(float value) {
  return fixed(value, 1);
}

}  // namespace ostrevik::exports
