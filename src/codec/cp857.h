#pragma once
// CP857, the Turkish DOS code page: every console and report byte is one of its characters.
#include <optional>
#include <string>
#include <string_view>

namespace ostrevik::codec {

// UTF-8 text of the sources to CP857 bytes. Every character used by the program's literals
// has a CP857 byte; anything else is a programming error (throws std::invalid_argument).
std::string to_cp857(std::string_view utf8);

// CP857 bytes to UTF-8, for showing console text on a UTF-8 terminal.
std::string cp857_to_utf8(std::string_view cp857);

// The text of a file typed in UTF-8, in CP857: when `bytes` are valid UTF-8 throughout and hold
// at least one character of more than one byte, every character becomes its CP857 byte ('?' for
// a character that CP857 lacks) and a byte-order mark at the start is dropped. Anything else is
// taken to be CP857 already: nothing is returned.
std::optional<std::string> cp857_of_utf8_text(std::string_view bytes);

}  // namespace ostrevik::codec
