#!/usr/bin/env bash
# Whole-process time and peak memory of the largest legal data file (40 tests of 40 readings,
# every table). Builds a Release program in build-release/ and runs it RUNS times (default 50).
# On a machine shared with other work the best of the runs is the figure to compare; the CPU
# time (user + system) of that run is given beside it, and the median for the spread.
set -euo pipefail
runs=${1:-50}
source "$(dirname "$0")/release.sh"
cp "$top/../shared/bench/BIG4040.DAT" "$work/"
cd "$work"
printf 'BIG4040.DAT\nBIG4040.OUT\n' >answers

# Times: the program is started without a shell in between (posix_spawn), so that the wall time
# is that of the program alone.
python3 - "$program" "$runs" <<'EOF'
import os, sys, time
program, runs = sys.argv[1], int(sys.argv[2])
walls, cpus = [], []
for _ in range(runs):
    if os.path.exists("BIG4040.OUT"):
        os.remove("BIG4040.OUT")
    answers = os.open("answers", os.O_RDONLY)
    null = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter_ns()
    pid = os.posix_spawn(program, [program], os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, answers, 0),
                                       (os.POSIX_SPAWN_DUP2, null, 1)])
    _, status, usage = os.wait4(pid, 0)
    end = time.perf_counter_ns()
    os.close(answers)
    os.close(null)
    if status != 0:
        sys.exit(f"the program ended with status {status}")
    walls.append(((end - start) / 1e6, (usage.ru_utime + usage.ru_stime) * 1e3))
    cpus.append(walls[-1][1])
walls.sort()
cpus.sort()
print(f"runs: {runs}  best wall: {walls[0][0]:.2f} ms (CPU {walls[0][1]:.2f} ms)  "
      f"median wall: {walls[len(walls) // 2][0]:.2f} ms  best CPU: {cpus[0]:.2f} ms")
EOF

# Peak memory: /usr/bin/time forks a small process, whose pages do not count against the
# program the way those of the Python interpreter would.
peak=0
for _ in $(seq 5); do
  rm -f BIG4040.OUT
  /usr/bin/time -f '%M' -o rss.txt "$program" <answers >/dev/null
  rss=$(cat rss.txt)
  ((rss > peak)) && peak=$rss
done
echo "peak RSS: ${peak} KiB  report: $(wc -c <BIG4040.OUT) bytes"
