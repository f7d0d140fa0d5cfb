#pragma once
// The console: records in CP857, shown as UTF-8 on a terminal whose locale is UTF-8.
#include <cstdio>
#include <string>
#include <string_view>

#include "codec/record.h"

namespace ostrevik::driver {

// Writes each record with CR LF and flushes it, so that the console text and a fatal message
// on standard error keep their order. On Windows the stream is switched to binary mode (no
// second CR), and a console window is set to code page 857 while the sink lives.
class ConsoleSink : public codec::Sink {
 public:
  ConsoleSink(std::FILE* out, bool utf8);
  ~ConsoleSink() override;
  void record(std::string_view bytes) override;

 private:
  std::FILE* out_;
  bool utf8_;
  std::string line_;
  unsigned int restore_code_page_ = 0;  // Windows console code page to put back, 0 for none
};

// True when standard output is a terminal and the locale's character set is UTF-8.
bool console_wants_utf8();

// True when the locale that the environment names for character handling (LC_ALL, else
// LC_CTYPE, else LANG) has the character set UTF-8, however it is spelt ("UTF-8", "utf8").
// A locale that is named but not installed is judged by its name.
bool locale_wants_utf8();

// True when a character-set name means UTF-8: "UTF-8", "utf8", "UTF8", "utf-8".
bool is_utf8_charset(std::string_view name);

}  // namespace ostrevik::driver
