// libFuzzer target: the fixed-column test source and the preparing step on arbitrary bytes.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ostrevik::fuzz::read_tests_bytes(data, size);
  return 0;
}
