#include "input/title_block.h"

#include <array>
#include <span>
#include <string_view>

namespace ostrevik::input {
namespace {

constexpr int kTitleItems = 20;  // four columns each: columns 1 to 80

// One title record read under "(20A4)" into TITLE.
void read_title(Run& run, codec::Source& data) {
  static const codec::Layout kTitle("(20A4)");
  std::array<codec::Target, kTitleItems> targets;
  for (int k = 0; k < kTitleItems; ++k) {
    targets.at(static_cast<std::size_t>(k)) =
        std::span<char>(run.s.TITLE).subspan(static_cast<std::size_t>(4 * k), 4);
  }
  codec::read(data, kTitle, targets);
}

// The title record behind 27 blanks, all 80 columns.
void echo_title(const Run& run, codec::Sink& report) {
  static const codec::Layout kTitleEcho("(27X,20A4)");
  std::array<codec::Value, kTitleItems> items;
  for (int k = 0; k < kTitleItems; ++k) {
    items.at(static_cast<std::size_t>(k)) = std::string_view(run.s.TITLE.data() + 4 * k, 4);
  }
  codec::write(report, kTitleEcho, items);
}

}  // namespace

bool read_title_block(Run& run, codec::Source& data, codec::Sink& report) {
  static const codec::Layout kFourEmptyLines("(/,/,/)");
  run.s.PARSOL = 0.0F;
  codec::write(report, kFourEmptyLines);
  for (int line = 0; line < 3; ++line) {
    if (data.at_end()) return false;
    read_title(run, data);
    run.s.TITLES.at(static_cast<std::size_t>(line)) = run.s.TITLE;
    echo_title(run, report);
  }
  return true;
}

}  // namespace ostrevik::input
