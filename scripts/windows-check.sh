#!/usr/bin/env bash
# Builds the Windows program with MinGW-w64 (build-mingw/ostrevik.exe), runs every data file
# under Wine and compares the report, the console output and the exit status with those of the
# Linux program (build/ostrevik).
#
#   scripts/windows-check.sh [DATA_DIR]      (default: ../shared/data beside the checkout)
#
# Needs: apt-get install g++-mingw-w64-x86-64 wine64 (and cmake, iconv). Wine keeps its
# settings in build-mingw/wine-prefix unless WINEPREFIX is set.
#
# Exit status 0 when every report, console output and exit status is the same on both
# platforms, byte for byte; 1 on any difference (the lines that differ are listed); 2 when a tool
# is missing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
data_dir=$(cd "${1:-$top/../shared/data}" && pwd)

missing=()
mingw_cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++ || true)
wine=$(command -v wine64 || command -v wine || true)
[[ -n "$mingw_cxx" ]] || missing+=(g++-mingw-w64-x86-64)
[[ -n "$wine" ]] || missing+=(wine64)
command -v iconv >/dev/null || missing+=(libc-bin)
if ((${#missing[@]})); then
  echo "missing: ${missing[*]}; install with: apt-get install -y ${missing[*]}" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a build step quietly; shows its output when it fails (a warning fails the Windows build).
quietly() {
  if ! "$@" >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
  fi
}

echo "--- building build/ostrevik (Linux)"
quietly cmake -S "$top" -B "$top/build"
quietly cmake --build "$top/build" -j2 --target ostrevik
echo "--- building build-mingw/ostrevik.exe (Windows, MinGW-w64, warnings are errors)"
quietly cmake -S "$top" -B "$top/build-mingw" \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DOSTREVIK_TESTS=OFF \
  -DOSTREVIK_WERROR=ON
quietly cmake --build "$top/build-mingw" -j2 --target ostrevik

export WINEPREFIX="${WINEPREFIX:-$top/build-mingw/wine-prefix}"
export WINEDEBUG=-all
# No Mono or Gecko: the program needs neither, and their set-up would ask for a download.
export WINEDLLOVERRIDES="mscoree,mshtml="
echo "--- preparing Wine in $WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || true

# Runs one program on one data file in its own directory; leaves NAME.OUT, console and status.
run_one() {
  local dir=$1 name=$2
  shift 2
  mkdir -p "$dir"
  cp "$data_dir/$name.DAT" "$dir/"
  (cd "$dir" && printf '%s.DAT\n%s.OUT\n' "$name" "$name" | "$@" >console 2>stderr &&
    echo 0 >status || echo $? >status)
}

shopt -s nullglob
files=("$data_dir"/*.DAT)
if ((${#files[@]} == 0)); then
  echo "no data files in $data_dir" >&2
  exit 2
fi

worst=0
printf '\n%-14s %-8s %-8s %s\n' FILE REPORT CONSOLE STATUS
for path in "${files[@]}"; do
  name=$(basename "$path" .DAT)
  linux="$work/linux/$name" windows="$work/windows/$name"
  run_one "$linux" "$name" "$top/build/ostrevik"
  run_one "$windows" "$name" "$wine" "$top/build-mingw/ostrevik.exe"
  report=same console=same status=$(cat "$linux/status")
  cmp -s "$linux/$name.OUT" "$windows/$name.OUT" || report=differ
  cmp -s "$linux/console" "$windows/console" || console=differ
  [[ $(cat "$linux/status") == $(cat "$windows/status") ]] ||
    status="$(cat "$linux/status")/$(cat "$windows/status")"
  printf '%-14s %-8s %-8s %s\n' "$name" "$report" "$console" "$status"
  if [[ $report != same ]]; then
    diff <(iconv -f CP857 -t UTF-8 "$linux/$name.OUT") \
      <(iconv -f CP857 -t UTF-8 "$windows/$name.OUT") | sed 's/^/    /' || true
  fi
  [[ $report == same && $console == same && $status != */* ]] || worst=1
done
echo
if ((worst)); then
  echo "Windows and Linux differ (see above)."
else
  echo "Windows and Linux agree: every report, console output and exit status is identical."
fi
exit "$worst"
