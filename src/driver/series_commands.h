#pragma once
// The verbs of the command line beside the evaluation: `convert`, between fixed-column data
// files and series files, and `template`, a series file to start from.
#include <span>
#include <string>
#include <string_view>

namespace ostrevik::driver {

// `ostrevik convert FILE...`: FILE.DAT becomes FILE.toml (with --csv, its readings in
// FILE-T1.csv, ...), FILE.toml becomes FILE.DAT. An existing file is kept unless -f is given;
// nothing is written for a file that cannot be read. Returns the exit status.
int convert_main(std::span<const std::string_view> args);

// `ostrevik template [NAME.toml]`: a commented series file of three tests with the readings
// CSV of its third test (SERIES.toml and SERIES-T3.csv by default). Returns the exit status.
int template_main(std::span<const std::string_view> args);

// The series file and the readings file that `template` writes.
struct TemplateFiles {
  std::string toml;  // the series file, naming `csv_name` for the third test's readings
  std::string csv;   // the readings of the third test
};
TemplateFiles template_files(const std::string& csv_name);

}  // namespace ostrevik::driver
