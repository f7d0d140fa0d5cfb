#include "input/data_records.h"

namespace ostrevik::input {

const codec::Layout& nine_fields() {
  static const codec::Layout kNineFields("(9F8.0)");
  return kNineFields;
}

}  // namespace ostrevik::input
