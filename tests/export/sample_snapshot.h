#pragma once
// Runs a data file in memory, as the program would, and returns the snapshots of the run with
// its report and console bytes.
#include <filesystem>
#include <memory>
#include <string>

#include "codec/errors.h"
#include "codec/record.h"
#include "common/files.h"
#include "driver/test_loop.h"
#include "export/snapshot.h"

namespace ostrevik::testing {

struct SnapshotRun {
  exports::FileSnapshot snapshot;
  std::string report;   // CP857 bytes, CR LF
  std::string console;  // CP857 bytes, CR LF
};

// The data file `name` given as bytes (a fatal read error gives exit status 2).
inline SnapshotRun snapshot_of_bytes(const std::string& bytes, const std::string& name) {
  SnapshotRun result;
  result.snapshot.data_file = name;
  result.snapshot.report_file = std::filesystem::path(name).replace_extension(".OUT").string();
  auto run = std::make_unique<Run>();
  codec::Source source(bytes, 5, name);
  codec::StringSink report;
  codec::StringSink console;
  try {
    driver::evaluate_data(*run, source, report, console, &result.snapshot);
  } catch (const codec::FatalError&) {
    result.snapshot.exit_status = 2;
  }
  result.report = std::move(report.bytes);
  result.console = std::move(console.bytes);
  return result;
}

// A sample data file of the shared folder by its name without extension ("SERIES5").
inline SnapshotRun sample_snapshot(const std::string& sample) {
  const std::filesystem::path path =
      std::filesystem::path(OSTREVIK_SHARED_DIR) / "data" / (sample + ".DAT");
  return snapshot_of_bytes(read_input(path), sample + ".DAT");
}

// SERIES3 with one field of a record replaced: `field` counts 8-column fields from 1, or 2 for
// the horizontal gauge of a readings record.
inline std::string edited_series3(std::size_t record, int field, const std::string& value) {
  const std::string bytes = read_input(std::string(OSTREVIK_SHARED_DIR) + "/data/SERIES3.DAT");
  std::size_t begin = 0;
  for (std::size_t k = 0; k < record; ++k) begin = bytes.find("\r\n", begin) + 2;
  std::string line = bytes.substr(begin, bytes.find("\r\n", begin) - begin);
  const auto start = static_cast<std::size_t>((field - 1) * 8);
  if (line.size() < start + 8) line.resize(start + 8, ' ');
  line.replace(start, 8, std::string(8 - value.size(), ' ') + value);
  return bytes.substr(0, begin) + line + bytes.substr(bytes.find("\r\n", begin));
}

}  // namespace ostrevik::testing
