#pragma once
// Rows of computed values whose fields show "YOK" (none) where the data determine no value,
// with a note line under such a row.
#include <span>

#include "codec/layout.h"
#include "codec/record.h"

namespace ostrevik::strength {

// How a row of values is written: `layout` has one numeric field for each value; `note`, when
// given, explains the marker under the row.
struct ValueRow {
  const codec::Layout& layout;
  const codec::Layout* note;
};

// Returns whether a marker was written.
bool write_values(codec::Sink& sink, const ValueRow& row, std::span<const float> values);

}  // namespace ostrevik::strength
