#include "fuzz/harness.h"

#include <array>
#include <memory>
#include <string>

#include "codec/errors.h"
#include "codec/record.h"
#include "driver/program.h"

namespace ostrevik::fuzz {

void evaluate_data_bytes(const std::uint8_t* data, std::size_t size) {
  auto run = std::make_unique<Run>();
  codec::Source source(std::string(reinterpret_cast<const char*>(data), size), 5, "FUZZ.DAT");
  codec::StringSink report;
  codec::StringSink console;
  try {
    driver::evaluate_data(*run, source, report, console);
  } catch (const codec::FatalError&) {
    // A fatal read error is a proper end of the run.
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
