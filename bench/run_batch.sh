#!/usr/bin/env bash
# One invocation over a batch of data files: the nine sample data files repeated to FILES files
# (default 1000) in a scratch folder, evaluated by `ostrevik -q`. Builds a Release program in
# build-release/ and runs the batch RUNS times (default 5); reports the best and median wall
# time, per file too, and the peak memory of batches of FILES and of FILES / 10 files, which
# must be about the same: each file's run state is freed before the next.
set -euo pipefail
files=${1:-1000}
runs=${2:-5}
source "$(dirname "$0")/release.sh"
samples=("$top"/../shared/data/*.DAT)
for ((k = 0; k < files; ++k)); do
  sample=${samples[k % ${#samples[@]}]}
  cp "$sample" "$work/$(printf '%04d' "$k")_$(basename "$sample")"
done
cd "$work"

python3 - "$program" "$runs" <<'PY'
import glob, os, sys, time
program, runs = sys.argv[1], int(sys.argv[2])
data = sorted(glob.glob("*.DAT"))
walls = []
for _ in range(runs):
    for report in glob.glob("*.OUT"):
        os.remove(report)
    null = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter_ns()
    pid = os.posix_spawn(program, [program, "-q", *data], os.environ,
                         file_actions=[(os.POSIX_SPAWN_DUP2, null, 1)])
    _, status, usage = os.wait4(pid, 0)
    walls.append((time.perf_counter_ns() - start) / 1e6)
    os.close(null)
    if status != 0:
        sys.exit(f"the program ended with status {status}")
walls.sort()
best, median = walls[0], walls[len(walls) // 2]
print(f"files: {len(data)}  runs: {runs}  best wall: {best:.1f} ms ({best / len(data):.3f} ms a "
      f"file)  median wall: {median:.1f} ms")
PY

# Peak memory of the whole batch and of a tenth of it.
peak_of() {
  rm -f ./*.OUT
  /usr/bin/time -f '%M' -o rss.txt "$program" -q "$@" >/dev/null
  cat rss.txt
}
all=(*.DAT)
tenth=("${all[@]:0:$((files / 10))}")
echo "peak RSS: ${#all[@]} files $(peak_of "${all[@]}") KiB, ${#tenth[@]} files $(peak_of "${tenth[@]}") KiB"
