#pragma once
// The messages with which the evaluation of a run ends: a refused test, the iteration limit,
// and the warnings of the end of the run.
#include <string>
#include <string_view>
#include <vector>

#include "codec/record.h"
#include "model/state.h"

namespace ostrevik::driver {

// A one-line message (CP857), to the report and then to the console.
void write_to_both(std::string_view record, codec::Sink& report, codec::Sink& console);

void write_iteration_limit_message(codec::Sink& report, codec::Sink& console);

// The iteration-limit message as one record (CP857, without the empty lines before it).
std::string iteration_limit_record();

// The tests with negative shear displacement (`NEGTST`) and the count of their readings
// (`NEGCNT`), to the report and then, inside the banner's asterisk lines, to the console.
// Writes nothing when `NNEG` = 0.
void write_negative_displacement_warning(const Counters& n, codec::Sink& report,
                                         codec::Sink& console);

// The tests (and the strength analysis) whose report shows a value that could not be
// computed: a field of asterisks standing for an infinite or undefined number. Writes nothing
// when there is none.
void write_nonfinite_warning(const std::vector<int>& tests, bool in_analysis, codec::Sink& report,
                             codec::Sink& console);

}  // namespace ostrevik::driver
