#pragma once
// Rows of computed values whose fields show "YOK" (none) where the data determine no value,
// with a note line under such a row.
#include <span>

#include "codec/layout.h"
#include "codec/record.h"

namespace ostrevik::strength {

// How a row of values is written: `numbers` is the row as printed normally; `texts` has the
// same columns with a character field for every real field; `fields[i]` is the single real
// field of value i; `note`, when given, explains the marker under the row.
struct ValueRow {
  const codec::Layout& numbers;
  const codec::Layout& texts;
  std::span<const codec::Layout* const> fields;
  const codec::Layout* note;
};

// Returns whether a marker was written.
bool write_values(codec::Sink& sink, const ValueRow& row, std::span<const float> values);

}  // namespace ostrevik::strength
