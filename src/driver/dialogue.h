#pragma once
// The console dialogue at the start of a run and the report's title line.
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "codec/record.h"

namespace ostrevik::driver {

// A file name as typed: 12 characters, blank-padded (`DATFIL`, `OUTFIL`).
using FileName = std::array<char, 12>;

// The banner with the program's name and its credits, and the warning about blank lines.
void write_banner(codec::Sink& console);

// The top and bottom of the banner's box, which also frame the end-of-run warning on the
// console.
const codec::Layout& box_top();
const codec::Layout& box_bottom();

void write_data_file_prompt(codec::Sink& console);
void write_report_file_prompt(codec::Sink& console);

// One console line read as a 12-character name: its first 12 characters, blank-padded; the
// line ends in LF or CR LF. Nothing when the input ends before a line. Read through C stdio,
// so that the program does not set up the C++ standard streams at all.
std::optional<FileName> read_file_name(std::FILE* in);

// The name under which the file is opened: without trailing blanks.
std::string path_of(const FileName& name);

// " *** OUTFIL :  DATFIL VERİLERİNİN ... ***", a line of hyphens and an empty line.
void write_title_line(codec::Sink& report, const FileName& report_name, const FileName& data_name);

}  // namespace ostrevik::driver
