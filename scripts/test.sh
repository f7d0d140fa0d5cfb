#!/usr/bin/env bash
# Builds the program and its tests and runs them. With --sanitize, under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-sanitize/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=build; extra=(-DOSTREVIK_TESTS=ON)
if [[ "${1:-}" == "--sanitize" ]]; then dir=build-sanitize; extra=(-DOSTREVIK_TESTS=ON -DOSTREVIK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug); fi
cmake -S "$top" -B "$top/$dir" "${extra[@]}" >/dev/null
cmake --build "$top/$dir" -j2
cd "$top/$dir" && ctest --output-on-failure -j2
