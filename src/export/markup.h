#pragma once
// Text and numbers for the XML of the exported pages.
#include <string>
#include <string_view>

namespace ostrevik::exports {

// UTF-8 text made safe for XML character data and attribute values: & < > " ' escaped, and
// every control character but line feed and tab (a title may hold any byte) shown as U+FFFD.
std::string xml_text(std::string_view utf8);

// A value rounded to `decimals` decimals as the report's F edit rounds it, without the
// report's padding or trailing point; a negative zero without sign. "—" when not finite.
std::string fixed(float value, int decimals);

// A coordinate of a drawing in pixels, with one decimal.
std::string pixels(float value);

}  // namespace ostrevik::exports
