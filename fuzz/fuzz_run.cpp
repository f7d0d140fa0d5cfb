// libFuzzer target: a whole evaluation of arbitrary data-file bytes.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ostrevik::fuzz::evaluate_data_bytes(data, size);
  return 0;
}
