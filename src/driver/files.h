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
  void record(std::string_view bytes) override;
  // Flushes and closes the file; throws ReportFileError when a write failed.
  void close();

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::string path_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace ostrevik::driver
