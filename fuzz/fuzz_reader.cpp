// libFuzzer target: the record reader on arbitrary bytes under the data file's layouts.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ostrevik::fuzz::read_records_bytes(data, size);
  return 0;
}
