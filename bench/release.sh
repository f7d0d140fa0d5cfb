# Sourced by the whole-process benchmarks: builds the Release program in build-release/ (its
# path in $program) and moves into a fresh working folder ($work), removed at the end.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program="$top/build-release/ostrevik"
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DOSTREVIK_TESTS=OFF >/dev/null
cmake --build "$top/build-release" -j2 --target ostrevik >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
