#include "codec/cp857.h"

#include <array>
#include <stdexcept>

namespace ostrevik::codec {
namespace {

// Unicode code points of the bytes 0x80 to 0xFF; 0 marks the three bytes without a character.
constexpr std::array<char16_t, 128> kUpperHalf = {
    u'Ç', u'ü', u'é', u'â', u'ä', u'à', u'å', u'ç',      u'ê', u'ë', u'è', u'ï', u'î', u'ı', u'Ä',
    u'Å', u'É', u'æ', u'Æ', u'ô', u'ö', u'ò', u'û',      u'ù', u'İ', u'Ö', u'Ü', u'ø', u'£', u'Ø',
    u'Ş', u'ş', u'á', u'í', u'ó', u'ú', u'ñ', u'Ñ',      u'Ğ', u'ğ', u'¿', u'®', u'¬', u'½', u'¼',
    u'¡', u'«', u'»', u'░', u'▒', u'▓', u'│', u'┤',      u'Á', u'Â', u'À', u'©', u'╣', u'║', u'╗',
    u'╝', u'¢', u'¥', u'┐', u'└', u'┴', u'┬', u'├',      u'─', u'┼', u'ã', u'Ã', u'╚', u'╔', u'╩',
    u'╦', u'╠', u'═', u'╬', u'¤', u'º', u'ª', u'Ê',      u'Ë', u'È', 0,    u'Í', u'Î', u'Ï', u'┘',
    u'┌', u'█', u'▄', u'¦', u'Ì', u'▀', u'Ó', u'ß',      u'Ô', u'Ò', u'õ', u'Õ', u'µ', 0,    u'×',
    u'Ú', u'Û', u'Ù', u'ì', u'ÿ', u'¯', u'´', u'\u00AD', u'±', 0,    u'¾', u'¶', u'§', u'÷', u'¸',
    u'°', u'¨', u'·', u'¹', u'³', u'²', u'■', u'\u00A0',
};

constexpr char32_t kReplacement = U'\uFFFD';

[[noreturn]] void reject(std::string_view utf8, const char* why) {
  throw std::invalid_argument(std::string(why) + " in \"" + std::string(utf8) + "\"");
}

// Decodes the UTF-8 character at `pos` and advances past it.
char32_t decode(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  int length = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    length = 1;
    code = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
  } else {
    reject(utf8, "invalid UTF-8");
  }
  if (pos + length > utf8.size()) reject(utf8, "truncated UTF-8");
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(utf8[pos + k]);
    if ((next & 0xC0) != 0x80) reject(utf8, "invalid UTF-8");
    code = (code << 6) | (next & 0x3F);
  }
  pos += length;
  return code;
}

// The CP857 byte of a character; nothing when CP857 has none.
std::optional<char> cp857_byte(char32_t code) {
  if (code < 0x80) return static_cast<char>(code);
  for (std::size_t k = 0; k < kUpperHalf.size(); ++k) {
    if (kUpperHalf[k] != 0 && kUpperHalf[k] == code) return static_cast<char>(0x80 + k);
  }
  return std::nullopt;
}

char byte_of(char32_t code, std::string_view utf8) {
  if (const std::optional<char> byte = cp857_byte(code)) return *byte;
  reject(utf8, "character without a CP857 byte");
}

void append_utf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The character of strict UTF-8 at `pos` (no overlong forms, no surrogates, nothing past
// U+10FFFF), advancing past it; nothing when the bytes there are not UTF-8.
std::optional<char32_t> strict_decode(std::string_view bytes, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  std::size_t length = 0;
  char32_t code = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
    least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (bytes.size() - pos < length) return std::nullopt;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(bytes[pos + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
  pos += length;
  return code;
}

}  // namespace

std::string to_cp857(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) bytes += byte_of(decode(utf8, pos), utf8);
  return bytes;
}

std::string cp857_to_utf8(std::string_view cp857) {
  std::string text;
  text.reserve(cp857.size() * 2);
  for (const char c : cp857) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      const char16_t code = kUpperHalf[byte - 0x80];
      append_utf8(text, code != 0 ? code : kReplacement);
    }
  }
  return text;
}

std::optional<std::string> cp857_of_utf8_text(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  bool multi_byte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t start = pos;
    const std::optional<char32_t> code = strict_decode(bytes, pos);
    if (!code) return std::nullopt;
    multi_byte |= pos - start > 1;
    if (start == 0 && *code == U'\uFEFF') continue;
    text += cp857_byte(*code).value_or('?');
  }
  if (!multi_byte) return std::nullopt;
  return text;
}

}  // namespace ostrevik::codec
