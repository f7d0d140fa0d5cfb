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

// Records 2 and 3 of a constants block with the given H2.
inline std::string frame_records(const std::string& h2 = "16.86") {
  return lines(
      {fields({"0.984", "1.082", "0.073", "1.27", "0.0015", "1.87", "0", "0.2511"}),
       fields({"2.004", "0.928", h2, "0.353", "0.79", "0.001", "0.001", "0.001", "0.001"})});
}

inline std::string constants_block(const std::string& h2 = "16.86") {
  return lines({fields({"0.0", "6", "3.0", "0", "0", "0.39"})}) + frame_records(h2);
}

inline std::string titles() {
  return lines({"TEST", "BOREHOLE", "SAMPLE"});
}

// Records 5 and 6 of a 30-degree specimen of 10.4 cm in standard mould set 5.
struct SpecimenRecords {
  std::string ALFN = "30.0", DIAIN = "10.4", HEMPTY = "2.47", DH = "0", DH2 = "0", PARFPL = "0",
              PFIXDR = "0", RNREAD = "20";
  std::string text() const {
    return lines({fields({ALFN, DIAIN, "30", "1", "11.572", HEMPTY, "2.0", "4.5", "1.33"}),
                  fields({"2.94", "0.16", "0.15", DH, DH2, PARFPL, PFIXDR, "0", RNREAD})});
  }
};

// The records of a sink, without their line ends.
inline std::vector<std::string> records_of(const codec::StringSink& sink) {
  return ostrevik::testing::records_of(sink.bytes);
}

}  // namespace ostrevik::input::testing
