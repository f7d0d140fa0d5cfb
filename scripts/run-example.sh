#!/usr/bin/env bash
# Builds the program and evaluates the shipped example; the report is examples/out/EXAMPLE.OUT.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
echo "--- building build/ostrevik (a minute or two the first time)"
cmake -S "$top" -B "$top/build" >/dev/null
cmake --build "$top/build" -j2 --target ostrevik | grep --line-buffered -E '^\[ *[0-9]+%\]' || true
[[ -x "$top/build/ostrevik" ]] || { echo "the build failed" >&2; exit 1; }
mkdir -p "$top/examples/out"
cd "$top/examples/out"
rm -f EXAMPLE.OUT
cp ../EXAMPLE.DAT .
printf 'EXAMPLE.DAT\nEXAMPLE.OUT\n' | "$top/build/ostrevik" | iconv -f CP857 -t UTF-8
echo "--- report: examples/out/EXAMPLE.OUT (CP857; first lines shown in UTF-8)"
head -n 40 EXAMPLE.OUT | iconv -f CP857 -t UTF-8
echo "--- written: examples/out/EXAMPLE.DAT (a copy of the example) and examples/out/EXAMPLE.OUT"
