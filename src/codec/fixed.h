#pragma once
// Fixed-point text of a float: the bytes of std::to_chars(first, last, value,
// std::chars_format::fixed, decimals), produced faster for the few decimals of the report.
#include <charconv>

namespace ostrevik::codec {

// The value rounded to `decimals` digits after the point (exact ties to even), with a minus
// sign for every negative value and for negative zero, and no point when `decimals` is 0.
// Bytes of [first, last) after the text may be overwritten.
std::to_chars_result to_fixed(char* first, char* last, float value, int decimals);

}  // namespace ostrevik::codec
