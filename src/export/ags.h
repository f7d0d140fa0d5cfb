#pragma once
// The AGS4 export of a run: the project, location and sample, one shear box row per specimen
// set and one per test, and every reading in a group of its own, as one AGS4 file (edition
// 4.1.1): ASCII only, every field quoted, CR LF. docs/ags.md lists every group and heading.
#include <cstdint>
#include <string>
#include <string_view>

#include "export/snapshot.h"

namespace ostrevik::exports {

// The whole file. `run_time` (seconds since 1970-01-01 00:00 UTC) dates it in TRAN_DATE.
std::string ags_file(const FileSnapshot& file, std::int64_t run_time);

// The note of a file without an identity, whose keys the export derives (UTF-8); empty when
// the identity was given.
std::string ags_identity_note(const FileSnapshot& file);

// A number in an AGS4 TYPE: "2DP" fixed with two decimals, "2SF" two significant figures
// ("0.024", "5.1", "130"); empty when the value is not finite.
std::string ags_number(float value, std::string_view type);

// A text in the file's ASCII: the Turkish letters become their ASCII letters (ç c, İ I, ş s,
// ...), any other character outside ASCII '?', a control character a blank.
std::string ags_text(std::string_view utf8);

}  // namespace ostrevik::exports
