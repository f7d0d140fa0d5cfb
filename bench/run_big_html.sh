#!/usr/bin/env bash
# Whole-process time of the largest legal data file (40 tests of 40 readings) on the command
# line, with and without the HTML page (and with the page and the CSV files), and the size of
# the page. Builds a Release program in build-release/ and runs each RUNS times (default 50),
# alternated so that all see the same machine load; the best times are the figures to compare.
set -euo pipefail
runs=${1:-50}
source "$(dirname "$0")/release.sh"
cp "$top/../shared/bench/BIG4040.DAT" "$work/"
cd "$work"

python3 - "$program" "$runs" <<'PY'
import os, sys, time
program, runs = sys.argv[1], int(sys.argv[2])
variants = [("without page", []), ("--html", ["--html"]), ("--html --csv", ["--html", "--csv"])]
walls = {name: [] for name, _ in variants}
for _ in range(runs):
    for name, options in variants:
        for f in os.listdir("."):
            if f != "BIG4040.DAT":
                os.remove(f)
        null = os.open(os.devnull, os.O_RDWR)
        start = time.perf_counter_ns()
        pid = os.posix_spawn(program, [program, "-q", *options, "BIG4040.DAT"], os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, null, 0),
                                           (os.POSIX_SPAWN_DUP2, null, 1)])
        _, status, _ = os.wait4(pid, 0)
        walls[name].append((time.perf_counter_ns() - start) / 1e6)
        os.close(null)
        if status != 0:
            sys.exit(f"{name}: the program ended with status {status}")
best = {name: min(w) for name, w in walls.items()}
for name, w in walls.items():
    w.sort()
    print(f"{name:14s} best wall {w[0]:7.2f} ms  median {w[len(w) // 2]:7.2f} ms  "
          f"ratio of the best times {w[0] / best['without page']:.2f}")
print(f"page: {os.path.getsize('BIG4040.html')} bytes")
PY
