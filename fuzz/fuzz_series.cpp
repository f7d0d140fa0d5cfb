// libFuzzer target: series files (TOML) read, evaluated and written back.
#include "fuzz/harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ostrevik::fuzz::read_series_bytes(data, size);
  return 0;
}
