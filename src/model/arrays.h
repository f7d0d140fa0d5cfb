#pragma once
// Fixed arrays indexed from 1, as the quantities are numbered: T(I) is the time of reading I.
#include <array>
#include <cstddef>

namespace ostrevik {

inline constexpr int MAXRD = 40;  // readings a test holds
inline constexpr int MAXTS = 40;  // tests a run holds
inline constexpr int NCASE = 6;   // stress cases of the strength analysis
// Limits of the no-tension correction: passes of its boundary search in one call, and calls in
// one test. Beyond either the evaluation ends with the iteration message.
inline constexpr int MAX_TENSION_PASSES = 8;
inline constexpr int MAX_TENSION_CALLS = 32;

template <class T, int N = MAXRD>
struct Arr {
  std::array<T, N> v{};
  T& operator()(int i) { return v.at(static_cast<std::size_t>(i - 1)); }
  const T& operator()(int i) const { return v.at(static_cast<std::size_t>(i - 1)); }
};

using RArr = Arr<float>;
using IArr = Arr<int>;

// Tests × cases, element (t, c) for test t and case c, both from 1.
struct Table {
  std::array<std::array<float, NCASE>, MAXTS> v{};
  float& operator()(int t, int c) {
    return v.at(static_cast<std::size_t>(t - 1)).at(static_cast<std::size_t>(c - 1));
  }
  float operator()(int t, int c) const {
    return v.at(static_cast<std::size_t>(t - 1)).at(static_cast<std::size_t>(c - 1));
  }
};

}  // namespace ostrevik
