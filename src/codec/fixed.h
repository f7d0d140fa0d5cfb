#pragma once
// Fixed-point text of a float: the bytes of std::to_chars(first, last, value,
// std::chars_format::fixed, decimals), produced faster for the few decimals of the report.
// Defined here so that the record writer has it inline in its loop over the fields.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ostrevik::codec {
namespace fixed_detail {

// Decimals that take the integer path: 10^d needs at most 20 bits, so that a float (24-bit
// significand) times 10^d is exact in a double (53 bits).
constexpr int kMaxIntegerDecimals = 6;
constexpr std::array<double, kMaxIntegerDecimals + 1> kPow10 = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
// Below 2^52 a double has room for a fraction, so that adding 2^52 rounds it to an integer.
constexpr double kIntegerLimit = 4503599627370496.0;
// The digits of an integer below 2^52, and the fixed-size copies out of them.
constexpr std::size_t kMaxDigits = 16;
constexpr std::size_t kDecimalsCopy = 8;
// Sign, "0." or the whole part, and the fixed-size copies of the integer path.
constexpr std::ptrdiff_t kIntegerRoom = 1 + kMaxDigits + 1 + kDecimalsCopy;
// Units of 10^-d below this count fit an unsigned 32-bit integer after rounding.
constexpr double kUnitsLimit = 4294967295.0;
constexpr std::array<std::uint32_t, kMaxIntegerDecimals + 1> kUnit = {1,     10,     100,    1000,
                                                                      10000, 100000, 1000000};
// The whole part and the fraction of a count of units of 10^-D: a division by a constant,
// which the compiler turns into a multiplication.
template <int D>
std::array<std::uint32_t, 2> split_units(std::uint32_t units) {
  return {units / kUnit[D], units % kUnit[D]};
}

inline std::array<std::uint32_t, 2> split_units(std::uint32_t units, int decimals) {
  switch (decimals) {
    case 0:
      return split_units<0>(units);
    case 1:
      return split_units<1>(units);
    case 2:
      return split_units<2>(units);
    case 3:
      return split_units<3>(units);
    case 4:
      return split_units<4>(units);
    case 5:
      return split_units<5>(units);
    default:
      return split_units<6>(units);
  }
}

// 10^1 to 10^9: the bounds between whole parts of 1 to 10 digits.
constexpr std::array<std::uint32_t, 10> kDigitBounds = {
    0, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The integer nearest to an exact value in [0, 2^52), ties to the even one: the sum with 2^52
// keeps no fraction bits, so it is rounded to an integer (ties to even in the default rounding
// mode, which this program never changes).
inline std::uint64_t round_half_even(double exact) {
  const double integral = (exact + kIntegerLimit) - kIntegerLimit;
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(integral));
}

// The text of `scaled` / 10^d with d decimals, where `scaled` counts units of 10^-d: the
// digits of `scaled` with the point before its last d digits, or "0.", zeros and the digits
// when it has no more than d digits. The copies are of fixed size; they may write past the
// text, within kIntegerRoom.
inline char* write_scaled(char* out, std::uint64_t scaled, int decimals) {
  std::array<char, kMaxDigits + kDecimalsCopy> digits;
  char* const digits_end =
      scaled <= UINT32_MAX ? std::to_chars(digits.data(), digits.data() + kMaxDigits,
                                           static_cast<std::uint32_t>(scaled))
                                 .ptr
                           : std::to_chars(digits.data(), digits.data() + kMaxDigits, scaled).ptr;
  const auto count = static_cast<int>(digits_end - digits.data());
  if (count > decimals) {
    const int whole = count - decimals;
    std::memcpy(out, digits.data(), kMaxDigits);
    out += whole;
    if (decimals == 0) return out;
    *out++ = '.';
    std::memcpy(out, digits.data() + whole, kDecimalsCopy);
    return out + decimals;
  }
  *out++ = '0';
  *out++ = '.';
  std::memset(out, '0', kDecimalsCopy);
  std::memcpy(out + (decimals - count), digits.data(), kDecimalsCopy);
  return out + decimals;
}

}  // namespace fixed_detail

// The value rounded to `decimals` digits after the point (exact ties to even), with a minus
// sign for every negative value and for negative zero, and no point when `decimals` is 0.
// Bytes of [first, last) after the text may be overwritten.
inline std::to_chars_result to_fixed(char* first, char* last, float value, int decimals) {
  if (decimals < 0 || decimals > fixed_detail::kMaxIntegerDecimals ||
      last - first < fixed_detail::kIntegerRoom) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  }
  // The product is the exact value scaled by 10^d (and false for NaN, infinite for an
  // infinity); its nearest integer is the exact rounding of the value to d decimals.
  const double scaled = std::fabs(static_cast<double>(value)) * fixed_detail::kPow10[decimals];
  if (!(scaled < fixed_detail::kIntegerLimit)) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  }
  char* out = first;
  if (std::signbit(value)) *out++ = '-';
  return {fixed_detail::write_scaled(out, fixed_detail::round_half_even(scaled), decimals),
          std::errc{}};
}

// Columns at the start of a field that right_justified_fixed fills with blanks in one piece:
// the widest field it writes.
constexpr int kJustifiedWidth = 32;

// The text of to_fixed, with a point after it when `decimals` is 0 (a field without decimals
// still shows its point), right-justified in `width` columns at `field` with blanks before
// it. False when the text is longer than the field, or the value takes the long path
// (not finite, too large, too many decimals, a field wider than kJustifiedWidth); the field
// is then left to the caller. Writes up to kJustifiedWidth bytes at `field`.
//
// The text is written in place, from left to right, each byte once: the length is known
// before a digit is written, so that nothing is staged and copied.
inline bool right_justified_fixed(char* field, int width, float value, int decimals) {
  using namespace fixed_detail;
  if (decimals < 0 || decimals > kMaxIntegerDecimals || width > kJustifiedWidth) return false;
  const double scaled = std::fabs(static_cast<double>(value)) * kPow10[decimals];
  if (!(scaled < kUnitsLimit)) return false;  // also NaN and the infinities
  const auto units = static_cast<std::uint32_t>(round_half_even(scaled));
  const auto [whole, fraction] = split_units(units, decimals);
  int whole_digits = 1;
  while (whole_digits < 10 && whole >= kDigitBounds[whole_digits]) ++whole_digits;
  const bool negative = std::signbit(value);
  const int length = static_cast<int>(negative) + whole_digits + 1 + decimals;
  if (length > width) return false;
  std::memset(field, ' ', kJustifiedWidth);
  char* out = field + (width - length);
  if (negative) *out++ = '-';
  out = std::to_chars(out, out + whole_digits, whole).ptr;
  // The decimals with their leading zeros are the digits of 10^d + fraction after its "1",
  // whose place the point takes.
  if (decimals > 0) std::to_chars(out, out + decimals + 1, kUnit[decimals] + fraction);
  *out = '.';
  return true;
}

}  // namespace ostrevik::codec
