#include "fuzz/harness.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "codec/cp857.h"
#include "codec/errors.h"
#include "codec/record.h"
#include "driver/test_loop.h"
#include "export/csv.h"
#include "export/html.h"
#include "export/xml_tree.h"

namespace ostrevik::fuzz {

namespace {

bool has_letters_for_numbers(std::string_view bytes) {
  return bytes.find("nan") != std::string_view::npos || bytes.find("inf") != std::string_view::npos;
}

}  // namespace

void evaluate_data_bytes(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto run = std::make_unique<Run>();
  codec::Source source{std::string(bytes), 5, "FUZZ.DAT"};
  codec::StringSink report;
  codec::StringSink console;
  exports::FileSnapshot snapshot;
  snapshot.data_file = "FUZZ.DAT";
  snapshot.report_file = "FUZZ.OUT";
  bool fatal = false;
  try {
    const int status = driver::evaluate_data(*run, source, report, console, &snapshot);
    if (status != 0 && status != 1) std::abort();
  } catch (const codec::FatalError&) {
    fatal = true;  // a fatal read error is a proper end of the run
  }
  // A value that could not be computed is written as asterisks, never as letters (titles are
  // echoed as read, so only data without such letters can tell), and the run warns of it.
  if (!has_letters_for_numbers(bytes) &&
      (has_letters_for_numbers(report.bytes) || has_letters_for_numbers(console.bytes))) {
    std::abort();
  }
  // The exports of whatever was evaluated, also after a fatal error.
  for (const auto& [name, csv] : exports::csv_files(snapshot)) {
    if (!has_letters_for_numbers(bytes) && has_letters_for_numbers(csv)) std::abort();
  }
  const std::string page = exports::html_page(snapshot, {"fuzz", 0});
  if (!has_letters_for_numbers(bytes) && has_letters_for_numbers(page)) std::abort();
  try {
    testing::parse_xml(page);
  } catch (const std::runtime_error&) {
    std::abort();  // the page must be well-formed XML whatever the data
  }
  static const std::string warning = codec::to_cp857("HESAPLANAMAYAN DEĞERLER");
  if (!fatal && report.nonfinite_fields > 0 && report.bytes.find(warning) == std::string::npos) {
    std::abort();
  }
}

void read_records_bytes(const std::uint8_t* data, std::size_t size) {
  static const std::array<codec::Layout, 4> layouts{
      codec::Layout("(9F8.0)"), codec::Layout("(2F4.0,4F8.0,F7.0,I1,2F8.0,2F4.0)"),
      codec::Layout("(20A4)"), codec::Layout("(A)")};
  if (size == 0) return;
  const auto& layout = layouts[data[0] % layouts.size()];
  codec::Source source(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), 5,
                       "FUZZ.DAT");
  std::array<float, 18> reals{};
  std::array<char, 80> text{};
  int flag = 0;
  try {
    while (!source.at_end()) {
      if (data[0] % layouts.size() == 1) {
        codec::read(source, layout,
                    {&reals[0], &reals[1], &reals[2], &reals[3], &reals[4], &reals[5], &reals[6],
                     &flag, &reals[7], &reals[8], &reals[9], &reals[10]});
      } else if (data[0] % layouts.size() == 0) {
        codec::read(source, layout,
                    {&reals[0], &reals[1], &reals[2], &reals[3], &reals[4], &reals[5], &reals[6],
                     &reals[7], &reals[8], &reals[9], &reals[10], &reals[11], &reals[12],
                     &reals[13], &reals[14], &reals[15], &reals[16], &reals[17]});
      } else {
        codec::read(source, layout, {std::span<char>(text.data(), 12)});
      }
    }
  } catch (const codec::FatalError&) {
    // Conversion errors and the end of the file are proper outcomes.
  }
}

}  // namespace ostrevik::fuzz
