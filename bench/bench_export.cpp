// Time of a run of a data file with and without the CSV export: the evaluation into a report
// held in memory and written to a file, then the same with the snapshots taken and the CSV
// files built and written. Prints the best and median of each and the ratio of the best times.
//   bench_export DATA_FILE [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "codec/record.h"
#include "driver/program.h"
#include "export/csv.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// One run; returns its wall time in milliseconds.
double run_once(const std::string& data, const fs::path& dir, bool csv) {
  using namespace ostrevik;
  const auto start = Clock::now();
  auto run = std::make_unique<Run>();
  codec::Source source(data, 5, "BIG4040.DAT");
  codec::StringSink report;
  codec::StringSink console;
  exports::FileSnapshot snapshot;
  snapshot.report_file = (dir / "BIG4040.OUT").string();
  driver::evaluate_data(*run, source, report, console, csv ? &snapshot : nullptr);
  write_file(dir / "BIG4040.OUT", report.bytes);
  if (csv) {
    for (const auto& [name, bytes] : exports::csv_files(snapshot)) write_file(name, bytes);
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Times {
  double best, median;
};

Times times(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_export DATA_FILE [RUNS]\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
  const fs::path dir = fs::temp_directory_path() / "ostrevik-bench-export";
  fs::create_directories(dir);
  std::vector<double> plain, csv;
  for (int k = 0; k < runs; ++k) {  // alternated, so that both see the same machine load
    plain.push_back(run_once(data, dir, false));
    csv.push_back(run_once(data, dir, true));
  }
  std::uintmax_t csv_bytes = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".csv") csv_bytes += entry.file_size();
  }
  fs::remove_all(dir);
  const Times p = times(plain);
  const Times c = times(csv);
  std::printf("runs: %d\nwithout CSV: best %.2f ms, median %.2f ms\n", runs, p.best, p.median);
  std::printf("with CSV:    best %.2f ms, median %.2f ms (%ju bytes of CSV)\n", c.best, c.median,
              csv_bytes);
  std::printf("ratio of the best times: %.2f\n", c.best / p.best);
}
