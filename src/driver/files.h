#pragma once
// The two files of a run: the data file (unit 5), read whole, and the new report file (unit 6).
#include <cstddef>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "codec/record.h"

namespace ostrevik::driver {

// The largest data file read: far above the largest legal one (40 tests of 40 readings take
// under 100 KiB), and small enough that a device or an endless pipe ends soon.
constexpr std::size_t kDataFileLimit = 64 * 1024 * 1024;

// A file of the run that cannot be read, created or written; the message names it and says why.
struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The data file is there but cannot be taken: a folder, a device, no permission, too large,
// written in UTF-16 or UTF-32.
struct DataFileError : FileError {
  using FileError::FileError;
};

// A report file that cannot be created for a reason other than its existence, or whose
// records could not all be written.
struct ReportFileError : FileError {
  using FileError::FileError;
};

// The bytes of an input file (a data file, a series file, a readings file): a file or a pipe,
// up to kDataFileLimit bytes, not in UTF-16 or UTF-32. Throws codec::FatalError(FileNotFound)
// when there is no file of that name, DataFileError when it cannot be taken.
std::string read_input_file(const std::string& path);

// The data file's records, read as read_input_file reads them; a file typed in UTF-8 is read
// as the CP857 text it stands for.
codec::Source read_data_file(const std::string& path);

// The report, created new: an existing file is never opened for writing. Records are buffered
// and end in CR LF; the destructor closes the file on every path, keeping what was written.
class ReportFile final : public codec::Sink {
 public:
  // Throws codec::FatalError(FileExists) when the file exists, ReportFileError otherwise.
  explicit ReportFile(const std::string& path);
  // A file created new by the caller, shown in messages as `name`.
  ReportFile(std::FILE* created, std::string name);
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
  void keep_first_error();

  std::string path_;  // the name shown in messages
  std::unique_ptr<std::FILE, Closer> file_;
  std::string pending_;  // records not yet written: a report is written in large pieces
  int error_ = 0;        // the system's error number of the first write that failed, 0 for none
};

}  // namespace ostrevik::driver
