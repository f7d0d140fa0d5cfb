#!/usr/bin/env bash
# Builds the four libFuzzer targets with clang and runs each for SECONDS (default 60) seconds,
# seeded from the sample data files (the series target from their conversions to series files).
# Inputs that crash or hang are written to fuzz-out/; copy each one into
# tests/fuzz-regressions/{run,reader,series}/ once its fault is mended.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
if ! command -v clang++-14 >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang-14 libclang-rt-14-dev
fi
cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOSTREVIK_FUZZ=ON -DOSTREVIK_TESTS=OFF >/dev/null
cmake --build "$top/build-fuzz" -j2 --target fuzz_run fuzz_reader fuzz_files fuzz_series ostrevik
mkdir -p "$top/fuzz-out/corpus-run" "$top/fuzz-out/corpus-reader" "$top/fuzz-out/corpus-files" \
  "$top/fuzz-out/corpus-series" "$top/fuzz-out/crashes"
shared="$top/../shared"
cp -n "$shared"/data/*.DAT "$top/fuzz-out/corpus-run/" 2>/dev/null || true
for f in "$shared"/data/*.DAT; do
  for k in 0 1 2 3; do printf "\\x0$k" | cat - "$f" >"$top/fuzz-out/corpus-reader/$(basename "$f").$k"; done
done
for f in "$shared"/data/*.DAT; do
  "$top/build-fuzz/ostrevik" convert -q -f -o "$top/fuzz-out/corpus-series/$(basename "$f" .DAT).toml" "$f" ||
    true
done
cp -n "$top"/tests/fuzz-regressions/series/* "$top/fuzz-out/corpus-series/" 2>/dev/null || true
# The files target: what the scratch folder holds, then the arguments (see fuzz/fuzz_files.cpp).
printf '\x00\x80' >"$top/fuzz-out/corpus-files/plain"
printf '\x00\x00\x02\x03\x80' >"$top/fuzz-out/corpus-files/force-html-csv"
printf '\x03\x8d\xa6\x00\x02\x80' >"$top/fuzz-out/corpus-files/old-files-and-links"
# The whole libFuzzer log of each target goes to fuzz-out/TARGET.log; its final lines are shown.
run_target() {
  local max_len=16384  # the fixed-column samples; their series files are longer
  [[ "$1" == series ]] && max_len=65536
  "$top/build-fuzz/fuzz/fuzz_$1" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
    -max_len="$max_len" -dict="$top/fuzz/data.dict" -print_final_stats=1 -artifact_prefix="$top/fuzz-out/crashes/$1-" \
    "$top/fuzz-out/corpus-$1" >"$top/fuzz-out/$1.log" 2>&1 || true
  echo "== fuzz_$1"
  grep 'cov:' "$top/fuzz-out/$1.log" | tail -n 1
  grep -E '^(Done|stat::)|ERROR|SUMMARY|Test unit written' "$top/fuzz-out/$1.log" || true
}
# Every target at once, or those ONLY names ("files", "run reader").
for target in ${ONLY:-run reader files series}; do run_target "$target" & done
wait
