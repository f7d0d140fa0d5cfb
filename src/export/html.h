#pragma once
// The run as one self-contained HTML page: per test its titles, key values, the curves of shear
// and normal stress and of vertical displacement against shear displacement with the peak and
// end readings marked, and Table 4; the failure envelopes of the strength analysis.
#include <cstdint>
#include <string>

#include "export/snapshot.h"

namespace ostrevik::exports {

// What the page says of the run beyond the snapshots.
struct PageInfo {
  std::string version;        // program version, shown in the header
  std::int64_t run_time = 0;  // time of the run, seconds since 1970-01-01 00:00 UTC
};

// The time of the run: SOURCE_DATE_EPOCH when it is set to a number of seconds, so that tests
// and archives get the same page, otherwise the clock.
std::int64_t run_time_now();

// The page, UTF-8: HTML5 that is also well-formed XML, with inline SVG and CSS only.
std::string html_page(const FileSnapshot& file, const PageInfo& info);

}  // namespace ostrevik::exports
