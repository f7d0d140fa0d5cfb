#!/usr/bin/env bash
# Time of the largest legal data file (40 tests of 40 readings) with and without the CSV
# export, in one Release process: the evaluation with its report file, and the same with the
# snapshots and the CSV files. Builds build-release/ and runs each RUNS times (default 50).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-50}
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DOSTREVIK_TESTS=OFF \
  -DOSTREVIK_BENCH=ON >/dev/null
cmake --build "$top/build-release" -j2 --target bench_export >/dev/null
"$top/build-release/bench/bench_export" "$top/../shared/bench/BIG4040.DAT" "$runs"
