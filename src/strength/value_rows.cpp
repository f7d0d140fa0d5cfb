#include "strength/value_rows.h"

#include <vector>

#include "strength/regression.h"

namespace ostrevik::strength {

bool write_values(codec::Sink& sink, const ValueRow& row, std::span<const float> values) {
  static constexpr codec::Marker kNone{"YOK"};
  std::vector<codec::Value> items;
  items.reserve(values.size());
  bool marked = false;
  for (const float v : values) {
    if (has_value(v)) {
      items.emplace_back(v);
    } else {
      items.emplace_back(kNone);
      marked = true;
    }
  }
  codec::write(sink, row.layout, items);
  if (marked && row.note != nullptr) codec::write(sink, *row.note);
  return marked;
}

}  // namespace ostrevik::strength
