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
// A reader that has closed its end of a pipe ends the console text silently; any other failed
// write is kept to be reported once the run has ended.
class ConsoleSink : public codec::Sink {
 public:
  ConsoleSink(std::FILE* out, bool utf8);
  ~ConsoleSink() override;
  void record(std::string_view bytes) override;
  // A line written as it is, without the conversion to UTF-8 (file names are in the system's
  // own encoding); `line` ends in its own CR LF.
  void write_as_is(std::string_view line);
  // The system's error number of the first write that failed, other than a closed pipe; 0 for
  // none.
  int write_error() const { return error_; }

 private:
  void write(std::string_view bytes);

  std::FILE* out_;
  bool utf8_;
  std::string line_;
  bool reader_gone_ = false;            // the pipe's reader has gone: nothing more is written
  int error_ = 0;                       // see write_error()
  unsigned int restore_code_page_ = 0;  // Windows console code page to put back, 0 for none
};

// A message as it goes to standard error: every control byte shown as \xNN (a tab as <TAB>),
// a NUL included, so that the message is never cut and a binary file's bytes never reach the
// terminal raw.
std::string printable(std::string_view message);

// Writes one message line on standard error, after what is waiting on standard output.
void write_error_line(std::string_view message);

// 0 when every write of the console went through, or the pipe's reader went away; otherwise
// reports the failure on standard error and returns 2.
int console_status(const ConsoleSink& console);

// True when standard output is a terminal and the locale's character set is UTF-8.
bool console_wants_utf8();

// True when the locale that the environment names for character handling (LC_ALL, else
// LC_CTYPE, else LANG) has the character set UTF-8, however it is spelt ("UTF-8", "utf8").
// A locale that is named but not installed is judged by its name.
bool locale_wants_utf8();

// True when a character-set name means UTF-8: "UTF-8", "utf8", "UTF8", "utf-8".
bool is_utf8_charset(std::string_view name);

}  // namespace ostrevik::driver
