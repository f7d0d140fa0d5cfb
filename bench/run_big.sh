#!/usr/bin/env bash
# Whole-process time and peak memory of the largest legal data file (40 tests of 40 readings,
# every table). Builds a Release program in build-release/ and runs it RUNS times (default 50).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-50}
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DOSTREVIK_TESTS=OFF >/dev/null
cmake --build "$top/build-release" -j2 --target ostrevik >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top/../shared/bench/BIG4040.DAT" "$work/"
cd "$work"
best=999999; total=0; peak=0
for _ in $(seq "$runs"); do
  rm -f BIG4040.OUT
  start=$(date +%s%N)
  printf 'BIG4040.DAT\nBIG4040.OUT\n' | /usr/bin/time -f '%M' -o rss.txt "$top/build-release/ostrevik" >/dev/null
  end=$(date +%s%N)
  us=$(( (end - start) / 1000 ))
  total=$(( total + us )); (( us < best )) && best=$us
  rss=$(cat rss.txt); (( rss > peak )) && peak=$rss
done
echo "runs: $runs  best: ${best} us  mean: $(( total / runs )) us  peak RSS: ${peak} KiB  report: $(wc -c <BIG4040.OUT) bytes"
