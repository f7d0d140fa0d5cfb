#pragma once
// Everything one data file of the command line writes, its report and the exports it asked
// for, as one set: written under temporary names and put in place together once the file's
// run has ended, in CP857 or in UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The names of one output set.
struct OutputNames {
  std::string report;                // the report file
  std::vector<std::string> exports;  // the exports that may be written beside it
};

// The output set of a data file. Every file is written under a temporary name of its own,
// NAME.new-PID-N (PID this process, N the first free number), created new in NAME's folder and
// never through a link. complete() puts the set in place: the report, complete and on the disk,
// is first renamed NAME.ready-PID-N, then each export and last the report take their names.
// Without `replace` a file only takes a name that no file has (checked when the set is made and
// again at its rename, which never replaces); with it the set replaces the old one. A run that
// is killed leaves only its temporaries: the next run on the same report removes those whose
// process has ended, and names a NAME.ready-... on standard error as a set left half in place.
class OutputSet {
 public:
  // Checks every name and creates the report's temporary. Throws ReportFileError when a file of
  // the set exists without `replace`, is a folder, or the report cannot be created.
  OutputSet(OutputNames names, bool replace, ReportEncoding encoding);
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Where the report's records go.
  codec::Sink& report();
  // The report is complete: closes it and puts its bytes on the disk, before the exports take
  // their room there. Throws ReportFileError when it could not all be written.
  void close_report();
  // One of the exports named when the set was made, written whole under its temporary name and
  // put on the disk. Throws ReportFileError when it cannot be written.
  void add_export(const std::string& path, std::string_view bytes);
  // The run came to its end (status 0 or 1): puts the set in place, the exports not written
  // this time removed where they are replaced. Throws ReportFileError when a file could not all
  // be written or put in place; the set is then as keep_partial() leaves it.
  void complete();
  // After a fatal error: keeps what was written of the report in NAME.partial (an older one
  // replaced) and removes the temporaries of the exports; returns the name it is kept under.
  std::string keep_partial();

  static std::string partial_name(const std::string& path);

 private:
  // A file of the set: its name and the temporary it is written under.
  struct Member {
    std::string path;       // the name it takes
    std::string temporary;  // where it is written; empty until it is
  };

  std::string temporary_of(const std::string& path, const char* stage) const;
  void check_name(const std::string& path) const;
  void clean_leftovers();
  void create_report(ReportEncoding encoding);
  void put_in_place(std::vector<Member*>& placed);
  void take_back(const std::vector<Member*>& placed);
  void remove_temporaries();

  OutputNames names_;
  bool replace_;                        // the set replaces files of its names
  double start_ = 0;                    // when the set was made, seconds since 1970
  std::string token_;                   // PID-N, shared by the temporaries of the set
  Member report_;                       // the report
  std::vector<Member> exports_;         // the exports written so far
  std::optional<ReportFile> file_;      // the report's temporary while it is written
  std::optional<Utf8Sink> utf8_;        // present when the report is written in UTF-8
  std::vector<std::string> half_sets_;  // NAME.ready-... of stopped runs, removed once replaced
};

}  // namespace ostrevik::driver
