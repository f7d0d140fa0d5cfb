#pragma once
// The command line: what its arguments ask for, and the help text that lists the options.
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ostrevik::driver {

// The character encoding the report is written in.
enum class ReportEncoding {
  Cp857,  // the DOS Turkish code page, one byte a character
  Utf8,   // the same characters in UTF-8
};

// What the arguments of the command line ask for.
struct Options {
  std::vector<std::string> data_files;  // the data files, in the order given
  std::string report_file;  // the report of the one data file; empty: named after the data file
  bool force = false;       // an existing report is replaced once the new one is complete
  bool quiet = false;       // no summary line and no notes after each data file
  bool csv = false;         // the CSV files beside the report
  bool html = false;        // the HTML page of charts beside the report
  bool regional = false;    // the characteristic values of the envelopes allow for a regional
                            // data set
  bool ags = false;         // the AGS4 file beside the report
  ReportEncoding encoding = ReportEncoding::Cp857;  // the report's encoding
  bool help = false;                                // only the usage text is wanted
  bool version = false;  // only the program's name and version are wanted
};

// Arguments that the command line cannot take; the message says which, in one line.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Options in any order among the data files, short ("-f", "-fq", "-o FILE", "-oFILE") or long
// ("--force", "--output FILE", "--output=FILE"); "--" ends the options. Throws UsageError.
Options parse_options(std::span<const std::string_view> args);

// The usage, the options with what each does, the exit statuses and examples.
std::string help_text();

// "ostrevik 2026.1".
std::string version_text();

}  // namespace ostrevik::driver
