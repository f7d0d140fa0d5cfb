#pragma once
// Building data-file text for the tests: records of right-justified fields and CR LF ends.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "codec/record.h"
#include "common/files.h"

namespace ostrevik::input::testing {

// One record of 8-column fields, each right-justified ("30.0" in columns 1-8, ...).
inline std::string fields(std::initializer_list<std::string_view> values, int width = 8) {
  std::string line;
  for (std::string_view v : values) {
    line.append(static_cast<std::size_t>(width) - v.size(), ' ');
    line.append(v);
  }
  return line;
}

inline std::string lines(std::initializer_list<std::string> records) {
  std::string text;
  for (const std::string& r : records) text += r + "\r\n";
  return text;
}

inline codec::Source source_of(std::string text) {
  return codec::Source(std::move(text), 5, "T.DAT");
}

// The records of a sink, without their line ends.
inline std::vector<std::string> records_of(const codec::StringSink& sink) {
  return ostrevik::testing::records_of(sink.bytes);
}

}  // namespace ostrevik::input::testing
