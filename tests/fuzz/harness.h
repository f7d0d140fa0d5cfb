#pragma once
// Entry points shared by the fuzz targets and the replay of the inputs they found.
#include <cstddef>
#include <cstdint>

namespace ostrevik::fuzz {

// The whole evaluation of a data file held in memory, with report, console, CSV export and
// HTML page and AGS file in memory. Aborts when a value that could not be computed shows as
// letters or goes unwarned, when the page is not well-formed XML, or when the AGS file breaks
// its structure (a byte outside ASCII, a field not quoted, a row of the wrong field count).
void evaluate_data_bytes(const std::uint8_t* data, std::size_t size);

// Reads every test of the bytes through the fixed-column source and prepares it into a run
// state. Aborts when a test holds more readings than its count allows, or when the source goes
// on after the end of the input or a read error.
void read_tests_bytes(const std::uint8_t* data, std::size_t size);

// Reads the bytes as a series file (a readings file it names cannot be read) and evaluates its
// tests. Aborts when an error other than the series file's own message ends it, when the run
// ends with a status other than 0 or 1, or when the tests written back as a series file do not
// read again as the same number of tests.
void read_series_bytes(const std::uint8_t* data, std::size_t size);

}  // namespace ostrevik::fuzz
