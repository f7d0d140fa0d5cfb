#!/usr/bin/env bash
# Builds the Windows program with MinGW-w64 (build-mingw/ostrevik.exe), runs every data file
# under Wine and compares the report, the console output and the exit status with those of the
# Linux program (build/ostrevik).
#
#   scripts/windows-check.sh [DATA_DIR]      (default: ../shared/data beside the checkout)
#
# Needs: apt-get install g++-mingw-w64-x86-64 wine64 (and cmake, python3). Wine keeps its
# settings in build-mingw/wine-prefix unless WINEPREFIX is set.
#
# Exit status 0 when every report agrees byte for byte, or differs only in the last digits of
# numbers (at most 10 units of the last printed digit, same width and form): the two platforms'
# single-precision elementary functions (sinf, atanf, logf, powf...) round the last bit of some
# results differently, and a regression on logarithms can enlarge that. Every such field is
# listed with its two values. Exit status 1 on any other difference, 2 when a tool is missing.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
data_dir=$(cd "${1:-$top/../shared/data}" && pwd)

missing=()
mingw_cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++ || true)
wine=$(command -v wine64 || command -v wine || true)
[[ -n "$mingw_cxx" ]] || missing+=(g++-mingw-w64-x86-64)
[[ -n "$wine" ]] || missing+=(wine64)
command -v python3 >/dev/null || missing+=(python3)
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
printf '\n%-14s %-10s %-10s %-8s %s\n' FILE REPORT CONSOLE STATUS "FIELDS THAT DIFFER"
for path in "${files[@]}"; do
  name=$(basename "$path" .DAT)
  run_one "$work/linux/$name" "$name" "$top/build/ostrevik"
  run_one "$work/windows/$name" "$name" "$wine" "$top/build-mingw/ostrevik.exe"
  verdict=$(python3 - "$work/linux/$name" "$work/windows/$name" "$name" <<'EOF'
import re
import sys

linux, windows, name = sys.argv[1:4]
NUMBER = re.compile(rb'-?(?:\d+(?:\.\d*)?|\.\d+)')


def read(d, f):
    try:
        with open(f'{d}/{f}', 'rb') as h:
            return h.read()
    except FileNotFoundError:
        return None


def last_digits_apart(a, b):
    """Same width and decimals, at most 10 units apart in the last printed digit."""
    if len(a) != len(b) or a.count(b'.') != b.count(b'.'):
        return False
    decimals = len(a.split(b'.')[1]) if b'.' in a else 0
    if decimals != (len(b.split(b'.')[1]) if b'.' in b else 0):
        return False
    def scaled(t):
        t = t.decode().replace('.', '')
        return int(t) if t not in ('', '-') else 0
    return abs(scaled(a) - scaled(b)) <= 10


def compare_reports(a, b):
    """('same'|'digits'|'differ', [field lines])"""
    if a == b:
        return 'same', []
    if a is None or b is None:
        return 'differ', ['report missing on one side']
    la, lb = a.split(b'\r\n'), b.split(b'\r\n')
    if len(la) != len(lb):
        return 'differ', [f'{len(la)} lines against {len(lb)}']
    fields, kind = [], 'digits'
    title = b''
    for n, (x, y) in enumerate(zip(la, lb), 1):
        if b'ZELGE' in x:
            title = x.strip()
        if x == y:
            continue
        nx, ny = list(NUMBER.finditer(x)), list(NUMBER.finditer(y))
        spans_x = [(m.start(), m.end()) for m in nx]
        spans_y = [(m.start(), m.end()) for m in ny]
        if len(x) != len(y) or spans_x != spans_y or \
                NUMBER.sub(b'#', x) != NUMBER.sub(b'#', y):
            kind = 'differ'
            fields.append(f'line {n}: text differs')
            continue
        for mx, my in zip(nx, ny):
            if mx.group() == my.group():
                continue
            near = last_digits_apart(mx.group(), my.group())
            # A row's own label ("ACONST:") names its numbers better than the table title.
            label = x[:mx.start()].rpartition(b':')[0].strip()
            where = label if re.search(rb'[A-Za-z]', label) else title
            if not near:
                kind = 'differ'
            fields.append(f'line {n} columns {mx.start() + 1}-{mx.end()} '
                          f'({where.decode("cp857")}): linux {mx.group().decode()} '
                          f'windows {my.group().decode()}'
                          + ('' if near else '  <-- beyond the last digits'))
    return kind, fields


report, fields = compare_reports(read(linux, f'{name}.OUT'), read(windows, f'{name}.OUT'))
console = 'same' if read(linux, 'console') == read(windows, 'console') else 'differ'
status_l, status_w = read(linux, 'status').strip(), read(windows, 'status').strip()
status = status_l.decode() if status_l == status_w else f'{status_l.decode()}/{status_w.decode()}'
worst = 0 if report == 'same' else 0 if report == 'digits' else 1
if console != 'same' or status_l != status_w:
    worst = 1
print(f'{worst} {name:<14} {report:<10} {console:<10} {status:<8} {len(fields)}')
for f in fields:
    print(f'-     {f}')
EOF
  )
  head -n1 <<<"$verdict" | cut -d' ' -f2-
  tail -n +2 <<<"$verdict" | cut -c3-
  [[ $(head -c1 <<<"$verdict") == 0 ]] || worst=1
done
echo
if ((worst)); then
  echo "Windows and Linux differ beyond the last printed digit (see above)."
else
  echo "Windows and Linux agree (fields listed above differ only in their last digits)."
fi
exit "$worst"
