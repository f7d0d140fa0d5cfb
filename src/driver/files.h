#pragma once
// The two files of a run: the data file (unit 5), read whole, and the new report file (unit 6).
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "codec/record.h"

namespace ostrevik::driver {

// The data file's records. Throws codec::FatalError(FileNotFound) when the file is missing or
// cannot be read (a directory, no permission).
codec::Source read_data_file(const std::string& path);

// A report file that cannot be created for a reason other than its existence, or whose
// records could not all be written.
struct ReportFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The report, created new: an existing file is never opened for writing. Records are buffered
// and end in CR LF; the destructor closes the file on every path, keeping what was written.
class ReportFile final : public codec::Sink {
 public:
  // Throws codec::FatalError(FileExists) when the file exists, ReportFileError otherwise.
  explicit ReportFile(const std::string& path);
  ~ReportFile() override;
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;
  void record(std::string_view bytes) override;
  // Flushes and closes the file; throws ReportFileError when a write failed.
  void close();
  // The same, and returns only once the file's bytes are on the disk itself, so that a crash
  // of the system afterwards finds them there.
  void close_on_disk();

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  // Hands the records gathered so far to the C library in one piece.
  void write_pending();
  void close_file(bool on_disk);

  std::string path_;
  std::unique_ptr<std::FILE, Closer> file_;
  std::string pending_;  // records not yet written: a report is written in large pieces
};

}  // namespace ostrevik::driver
