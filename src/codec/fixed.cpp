#include "codec/fixed.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace ostrevik::codec {
namespace {

// 10^d for the decimals that take the integer path: at most 20 bits, so that a float (24-bit
// significand) times 10^d is exact in a double (53 bits).
constexpr int kMaxIntegerDecimals = 6;
constexpr std::array<double, kMaxIntegerDecimals + 1> kPow10 = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
// Below 2^53 every integral double converts to an unsigned integer exactly.
constexpr double kIntegerLimit = 9007199254740992.0;
// Sign, 16 digits of the integer, point, and "0." with up to 6 decimals: room for every
// text of the integer path.
constexpr std::ptrdiff_t kIntegerRoom = 24;

}  // namespace

std::to_chars_result to_fixed(char* first, char* last, float value, int decimals) {
  if (decimals < 0 || decimals > kMaxIntegerDecimals || last - first < kIntegerRoom ||
      !std::isfinite(value)) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  }
  // The product is the exact value scaled by 10^d; rounding it to an integer (ties to even in
  // the default rounding mode) is the exact rounding of the value to d decimals.
  const double scaled = std::nearbyint(std::fabs(static_cast<double>(value)) * kPow10[decimals]);
  if (!(scaled < kIntegerLimit)) {
    return std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  }
  char* out = first;
  if (std::signbit(value)) *out++ = '-';
  std::array<char, 20> digits;
  const char* digits_end = std::to_chars(digits.data(), digits.data() + digits.size(),
                                         static_cast<std::uint64_t>(scaled))
                               .ptr;
  const auto count = static_cast<int>(digits_end - digits.data());
  if (count > decimals) {
    const int whole = count - decimals;
    std::memcpy(out, digits.data(), static_cast<std::size_t>(whole));
    out += whole;
    if (decimals > 0) {
      *out++ = '.';
      std::memcpy(out, digits.data() + whole, static_cast<std::size_t>(decimals));
      out += decimals;
    }
  } else {
    // |value| < 1 after rounding: "0." then the leading zeros of the fraction.
    *out++ = '0';
    *out++ = '.';
    const int zeros = decimals - count;
    std::memset(out, '0', static_cast<std::size_t>(zeros));
    out += zeros;
    std::memcpy(out, digits.data(), static_cast<std::size_t>(count));
    out += count;
  }
  return {out, std::errc{}};
}

}  // namespace ostrevik::codec
