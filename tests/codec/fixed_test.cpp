#include "codec/fixed.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

namespace ostrevik::codec {
namespace {

constexpr int kMaxDecimals = 6;

std::string library_text(float value, int decimals) {
  std::array<char, 128> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return {buffer.data(), result.ptr};
}

std::string fixed_text(float value, int decimals) {
  std::array<char, 128> buffer;
  const auto result = to_fixed(buffer.data(), buffer.data() + buffer.size(), value, decimals);
  EXPECT_EQ(result.ec, std::errc{});
  return {buffer.data(), result.ptr};
}

// The field right_justified_fixed writes, or "" when it leaves the field to its caller.
std::string justified_field(float value, int decimals, int width) {
  std::array<char, kJustifiedWidth> field;
  if (!right_justified_fixed(field.data(), width, value, decimals)) return {};
  return {field.data(), static_cast<std::size_t>(width)};
}

// Counts the values whose text differs from the library's, reporting the first few. Each value
// is also written right-justified in fields of its text's width, one column wider and one
// column narrower.
class Comparison {
 public:
  void check(float value, int decimals) {
    const std::string expected = library_text(value, decimals);
    report(value, decimals, fixed_text(value, decimals), expected);
    const std::string shown = decimals == 0 ? expected + '.' : expected;
    const auto length = static_cast<int>(shown.size());
    // Well within the integer path every field that holds the text is written in place.
    const bool in_place = decimals <= kMaxDecimals && std::isfinite(value) &&
                          std::fabs(static_cast<double>(value)) * std::pow(10.0, decimals) < 4e9;
    for (const int width : {length - 1, length, length + 1}) {
      if (width < 1 || width > kJustifiedWidth) continue;
      const std::string field = justified_field(value, decimals, width);
      if (width < length) {
        if (!field.empty()) report(value, decimals, field, "(left to the caller)");
      } else if (in_place || !field.empty()) {
        report(value, decimals, field, std::string(width - length, ' ') + shown);
      }
    }
  }
  // The value and its neighbours `ulps` steps either side, with both signs.
  void check_around(float value, int decimals, int ulps) {
    float below = value;
    float above = value;
    for (int k = 0; k <= ulps; ++k) {
      for (const float v : {below, above}) {
        check(v, decimals);
        check(-v, decimals);
      }
      below = std::nextafter(below, -std::numeric_limits<float>::infinity());
      above = std::nextafter(above, std::numeric_limits<float>::infinity());
    }
  }
  int mismatches() const { return mismatches_; }

 private:
  void report(float value, int decimals, const std::string& actual, const std::string& expected) {
    if (actual == expected) return;
    if (++mismatches_ <= 10) {
      ADD_FAILURE() << "value " << std::bit_cast<std::uint32_t>(value) << " ("
                    << library_text(value, 12) << "), " << decimals << " decimals: \"" << actual
                    << "\", expected \"" << expected << '"';
    }
  }

  int mismatches_ = 0;
};

TEST(ToFixed, SpecialValues) {
  const struct {
    float value;
    int decimals;
    std::string_view text;
  } cases[] = {
      {0.0F, 2, "0.00"},
      {-0.0F, 2, "-0.00"},
      {-0.001F, 2, "-0.00"},
      {0.125F, 2, "0.12"},
      {0.375F, 2, "0.38"},
      {2.5F, 0, "2"},
      {-2.5F, 0, "-2"},
      {3.5F, 0, "4"},
      {-0.4F, 0, "-0"},
      {99.96F, 1, "100.0"},
      {1.005F, 2, "1.00"},
      {123456.7F, 6, "123456.703125"},
      {16777216.0F, 3, "16777216.000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fixed_text(c.value, c.decimals), c.text) << c.value << ", " << c.decimals;
  }
  Comparison comparison;
  const float extremes[] = {std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(),
                            9007199254740992.0F,
                            9.0e9F,
                            9.0e15F};
  for (int d = 0; d <= kMaxDecimals + 2; ++d) {
    for (const float v : extremes) comparison.check_around(v, d, 2);
  }
  EXPECT_EQ(comparison.mismatches(), 0);
}

// Every odd multiple of 2^-(d+1) lies exactly halfway between two d-decimal numbers.
TEST(ToFixed, ExactTiesRoundToEven) {
  Comparison comparison;
  for (int d = 0; d <= kMaxDecimals; ++d) {
    const float half_step = std::ldexp(1.0F, -(d + 1));
    for (int j = 0; j < 20000; ++j) {
      comparison.check_around(static_cast<float>(2 * j + 1) * half_step, d, 1);
    }
  }
  EXPECT_EQ(comparison.mismatches(), 0);
}

// Floats next to the midpoints (k + 1/2) 10^-d, where the rounding direction changes.
TEST(ToFixed, NearRoundingBoundaries) {
  Comparison comparison;
  std::mt19937_64 random(20240611);
  for (int d = 0; d <= kMaxDecimals; ++d) {
    for (int n = 0; n < 20000; ++n) {
      const int magnitude = static_cast<int>(random() % 10);
      const auto k =
          static_cast<double>(random() % static_cast<std::uint64_t>(std::pow(10.0, magnitude) + 1));
      const double midpoint = (k + 0.5) / std::pow(10.0, d);
      comparison.check_around(static_cast<float>(midpoint), d, 2);
    }
  }
  EXPECT_EQ(comparison.mismatches(), 0);
}

// Random finite bit patterns, and random values of the magnitudes a report shows.
TEST(ToFixed, RandomFloats) {
  Comparison comparison;
  std::mt19937_64 random(7);
  for (int n = 0; n < 150000; ++n) {
    const auto bits = static_cast<std::uint32_t>(random());
    const float any = std::bit_cast<float>(bits);
    const float usual = std::ldexp(static_cast<float>(bits >> 8) / 16777216.0F,
                                   static_cast<int>(random() % 60) - 25) *
                        (bits & 1U ? -1.0F : 1.0F);
    for (int d = 0; d <= kMaxDecimals; ++d) {
      if (std::isfinite(any)) comparison.check(any, d);
      comparison.check(usual, d);
    }
  }
  EXPECT_EQ(comparison.mismatches(), 0);
}

}  // namespace
}  // namespace ostrevik::codec
