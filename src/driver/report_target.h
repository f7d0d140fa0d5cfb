#pragma once
// The report of one data file of the command line: created new, or put in place of an existing
// one only once it is complete; in CP857 or in UTF-8.
#include <optional>
#include <string>
#include <string_view>

#include "codec/record.h"
#include "driver/files.h"
#include "driver/options.h"

namespace ostrevik::driver {

// Records converted from CP857 to UTF-8 on their way to another sink: the same characters in
// the same columns.
class Utf8Sink final : public codec::Sink {
 public:
  explicit Utf8Sink(codec::Sink& out) : out_(out) {}
  void record(std::string_view bytes) override;

 private:
  codec::Sink& out_;
};

// The report file of a data file. Without `replace` it is created new under its name, as in the
// dialogue (an existing file is the fatal "file already exists"). With `replace` it is written
// beside that name under a temporary one, NAME.new, and renamed over NAME by complete(): until
// then an existing report stays as it was, and a crash at any point leaves either the old
// report or the complete new one under NAME.
class ReportTarget {
 public:
  // Throws codec::FatalError(FileExists) or ReportFileError when the file cannot be created.
  ReportTarget(const std::string& path, bool replace, ReportEncoding encoding);
  ReportTarget(const ReportTarget&) = delete;
  ReportTarget& operator=(const ReportTarget&) = delete;

  // Where the report's records go.
  codec::Sink& sink();
  // The run came to its end (status 0 or 1): closes the report and puts it under its name.
  // Throws ReportFileError when it could not all be written or renamed.
  void complete();
  // After a fatal error: closes what was written and keeps it; returns the name it is kept
  // under. Replacing, that is NAME.partial (an older one of that name replaced) and NAME is
  // left as it was; otherwise it is NAME itself, as in the dialogue.
  std::string keep_partial();

  // The temporary name of a replacing report and the name a partial one is kept under.
  static std::string temporary_name(const std::string& path);
  static std::string partial_name(const std::string& path);

 private:
  std::string path_;  // the report's name
  bool replace_;      // written under the temporary name and renamed at the end
  ReportFile file_;
  std::optional<Utf8Sink> utf8_;  // present when the report is written in UTF-8
};

// Writes a whole file of the exports, replacing one of that name only once it is complete (as
// a replacing report is). Throws ReportFileError when it cannot be written.
void write_whole_file(const std::string& path, std::string_view bytes);

}  // namespace ostrevik::driver
