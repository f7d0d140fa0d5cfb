#pragma once
// The layout shared by the constants, specimen, soil and mould records.
#include "codec/layout.h"

namespace ostrevik::input {

// "(9F8.0)": nine fields of eight columns, reverting to a new record after the ninth.
const codec::Layout& nine_fields();

}  // namespace ostrevik::input
