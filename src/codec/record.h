#pragma once
// Writing and reading records under a layout, and list-directed integer output.
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "codec/layout.h"

namespace ostrevik::codec {

// Where written records go: the report file, the console, or memory in tests.
class Sink {
 public:
  virtual ~Sink() = default;
  // One complete record (CP857 bytes, without line end); the sink adds CR LF.
  virtual void record(std::string_view bytes) = 0;
  // Non-finite reals met by writes into this sink (written as asterisks).
  int nonfinite_fields = 0;
  // The record being built by write(); kept with the sink so that its capacity is reused.
  std::string record_buffer;
};

// Records kept in memory, each followed by CR LF.
class StringSink : public Sink {
 public:
  void record(std::string_view bytes) override;
  std::string bytes;
};

// A text that stands in a numeric field in place of its number ("YOK" where the data determine
// no value): right-justified in the field's width, cut to the width when longer.
struct Marker {
  std::string_view text;
};

// A value written under a layout: a real, an integer, a fixed-length CP857 text, or a marker
// in a real or integer field.
using Value = std::variant<float, int, std::string_view, Marker>;

void write(Sink& sink, const Layout& layout, std::span<const Value> items);
void write(Sink& sink, const Layout& layout, std::initializer_list<Value> items = {});

// List-directed output of integers: one blank, then each value right-justified in 11
// columns after one blank, at most 10 values a record.
void write_list(Sink& sink, std::span<const int> values);

// The records of a text file held in memory; lines end in LF or CR LF.
class Source {
 public:
  Source(std::string bytes, int unit, std::string file_name);
  bool at_end() const;
  int line_number() const { return line_; }  // number of the last record handed out
  int unit() const { return unit_; }
  const std::string& file_name() const { return file_; }
  // The next record without its line end; throws FatalError(EndOfFile) at the end.
  std::string_view next_record();

 private:
  std::string bytes_;
  std::size_t pos_ = 0;
  int line_ = 0;
  int unit_;
  std::string file_;
};

// A place a read stores into: a real, an integer, or a fixed-length text.
using Target = std::variant<float*, int*, std::span<char>>;

// Reads records from the source under the layout; throws FatalError on a field that is not a
// number (Conversion) or on the end of the file (EndOfFile).
void read(Source& source, const Layout& layout, std::span<const Target> targets);
void read(Source& source, const Layout& layout, std::initializer_list<Target> targets);

}  // namespace ostrevik::codec
