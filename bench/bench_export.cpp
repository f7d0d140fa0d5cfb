// Time of a run of a data file with and without the exports: the evaluation into a report held
// in memory and written to a file, then the same with the snapshots taken and the CSV files, the
// HTML page, or both built and written. Prints the best and median of each, the ratios of the
// best times to the run without exports, and the sizes of what the exports wrote.
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
#include "driver/test_loop.h"
#include "export/csv.h"
#include "export/html.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Which exports a run writes.
struct Exports {
  const char* name;
  bool csv, html;
};

// One run; returns its wall time in milliseconds.
double run_once(const std::string& data, const fs::path& dir, const Exports& e) {
  using namespace ostrevik;
  const auto start = Clock::now();
  auto run = std::make_unique<Run>();
  codec::Source source(data, 5, "BIG4040.DAT");
  codec::StringSink report;
  codec::StringSink console;
  exports::FileSnapshot snapshot;
  snapshot.data_file = "BIG4040.DAT";
  snapshot.report_file = (dir / "BIG4040.OUT").string();
  const bool snapshots = e.csv || e.html;
  driver::evaluate_data(*run, source, report, console, snapshots ? &snapshot : nullptr);
  write_file(dir / "BIG4040.OUT", report.bytes);
  if (e.csv) {
    for (const auto& [name, bytes] : exports::csv_files(snapshot)) write_file(name, bytes);
  }
  if (e.html) write_file(dir / "BIG4040.html", exports::html_page(snapshot, {"bench", 0}));
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
  const std::vector<Exports> variants{{"without exports", false, false},
                                      {"CSV", true, false},
                                      {"HTML", false, true},
                                      {"CSV and HTML", true, true}};
  std::vector<std::vector<double>> ms(variants.size());
  for (int k = 0; k < runs; ++k) {  // alternated, so that all see the same machine load
    for (std::size_t v = 0; v < variants.size(); ++v) {
      ms[v].push_back(run_once(data, dir, variants[v]));
    }
  }
  std::uintmax_t csv_bytes = 0;
  std::uintmax_t html_bytes = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() == ".csv") csv_bytes += entry.file_size();
    if (entry.path().extension() == ".html") html_bytes += entry.file_size();
  }
  fs::remove_all(dir);
  std::printf("runs: %d\n", runs);
  const Times plain = times(ms[0]);
  for (std::size_t v = 0; v < variants.size(); ++v) {
    const Times t = times(ms[v]);
    std::printf("%-16s best %7.2f ms, median %7.2f ms, ratio of the best times %.2f\n",
                variants[v].name, t.best, t.median, t.best / plain.best);
  }
  std::printf("CSV files: %ju bytes; HTML page: %ju bytes\n", csv_bytes, html_bytes);
}
