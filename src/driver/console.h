#pragma once
// The console: records in CP857, shown as UTF-8 on a terminal whose locale is UTF-8.
#include <cstdio>
#include <string>

#include "codec/record.h"

namespace ostrevik::driver {

class ConsoleSink : public codec::Sink {
 public:
  ConsoleSink(std::FILE* out, bool utf8) : out_(out), utf8_(utf8) {}
  void record(std::string_view bytes) override;

 private:
  std::FILE* out_;
  bool utf8_;
  std::string line_;
};

// True when standard output is a terminal and the locale's character set is UTF-8.
bool console_wants_utf8();

}  // namespace ostrevik::driver
