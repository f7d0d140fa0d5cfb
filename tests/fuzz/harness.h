#pragma once
// Entry points shared by the fuzz targets and the replay of the inputs they found.
#include <cstddef>
#include <cstdint>

namespace ostrevik::fuzz {

// The whole evaluation of a data file held in memory, with report, console and CSV export in
// memory. Aborts when a value that could not be computed shows as letters or goes unwarned.
void evaluate_data_bytes(const std::uint8_t* data, std::size_t size);

// Reads every record of the bytes under a layout chosen by the first byte.
void read_records_bytes(const std::uint8_t* data, std::size_t size);

}  // namespace ostrevik::fuzz
