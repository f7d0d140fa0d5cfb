#pragma once
// The program run with arguments: each data file evaluated in turn, without the dialogue.
#include <span>
#include <string>
#include <string_view>

#include "driver/console.h"
#include "driver/dialogue.h"
#include "driver/options.h"
#include "export/snapshot.h"
#include "model/state.h"

namespace ostrevik::driver {

// The arguments after the program's name; returns the exit status, the highest of the files'
// (0, 1, 2), or 2 for arguments that cannot be taken, 0 for --help and --version.
int command_line_main(std::span<const std::string_view> args);

// The report of a data file: PATH/NAME.DAT gives PATH/NAME.OUT, a lower-case extension a
// lower-case .out; a name without extension gets .OUT added.
std::string report_path_for(const std::string& data_path);

// A file as the report's title line names it: its base name, cut or padded to 12 characters.
FileName title_name(const std::string& path);

// What the evaluation of one data file came to.
struct FileOutcome {
  std::string data_path;           // the data file, as given
  std::string report_path;         // its report, as derived or given with -o
  int status = 0;                  // 0 normal end, 1 ended early, 2 fatal error
  exports::FileSnapshot snapshot;  // its tests and strength analysis, as far as they went
  std::string kept_partial;  // after a fatal error: where what was written is; empty for nothing
                             // (the set's files were then left as they were)
};

// What the console shows after a data file was evaluated, from its outcome: the summary line
// and the plausibility notes (unless -q).
void write_file_summary(const FileOutcome& outcome, const Options& options, ConsoleSink& console);

// "S1.DAT -> S1.OUT: 3 evaluated, 0 checked only, 0 refused, 0 at the iteration limit; peak
// envelope c = 12.345 kPa, phi = 31.234 deg".
std::string summary_line(const FileOutcome& outcome);

}  // namespace ostrevik::driver
