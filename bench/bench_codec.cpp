// Formatting speed of the record codec: a report of 40 tests holds about 110,000 fields.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "codec/layout.h"
#include "codec/record.h"

namespace {

using ostrevik::codec::Layout;
using ostrevik::codec::StringSink;
using ostrevik::codec::Value;

// One million F fields as 100,000 rows of "(10F8.2)" into memory.
void BM_MillionRealFields(benchmark::State& state) {
  static const Layout kRow("(10F8.2)");
  constexpr int kRows = 100000;
  std::array<Value, 10> row{};
  StringSink sink;  // kept across iterations: the measure is formatting, not page faults
  for (auto _ : state) {
    sink.bytes.clear();
    for (int r = 0; r < kRows; ++r) {
      for (int k = 0; k < 10; ++k)
        row[k] = static_cast<float>(r) * 0.37F - static_cast<float>(k) * 11.3F;
      ostrevik::codec::write(sink, kRow, row);
    }
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * kRows * 10);
}
BENCHMARK(BM_MillionRealFields)->Unit(benchmark::kMillisecond);

// A table row of the report: literals, skips and mixed widths.
void BM_ReportRow(benchmark::State& state) {
  static const Layout kRow(
      "(F6.1,F5.1,2F7.2,2F8.1,F8.3,F8.0,F7.0,F8.0,F8.0,F8.1,F8.1,2F7.1,7X,F7.1,F6.2)");
  std::vector<Value> row(17);
  for (int k = 0; k < 17; ++k) row[k] = 1.7F * static_cast<float>(k * k) - 13.0F;
  StringSink sink;
  for (auto _ : state) {
    sink.bytes.clear();
    ostrevik::codec::write(sink, kRow, row);
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.SetItemsProcessed(state.iterations() * 17);
}
BENCHMARK(BM_ReportRow);

}  // namespace
