#!/usr/bin/env bash
# The output set of the largest data file under kills and overlapping runs. Builds a Release
# program in build-release/ and
#  - KILLS times (default 200) starts `-f --html --csv` over an older set and kills it at a
#    random point of its run, then runs it again to its end;
#  - PAIRS times (default 100) starts two such runs at once, the second at a random point of the
#    first, one writing its report in UTF-8 and dated otherwise, so that their files differ.
# Every file of the set must afterwards be whole, the old one or a new one; a set of old and new
# files is counted, and is a fault unless the kill fell between the final renames (the killed
# run's NAME.ready-... is there, and the next run names it). Prints the figures; exit 1 on a
# fault.
set -euo pipefail
kills=${1:-200}
pairs=${2:-100}
source "$(dirname "$0")/release.sh"
cp "$top/../shared/bench/BIG4040.DAT" "$work/"
cd "$work"

python3 - "$program" "$kills" "$pairs" <<'EOF'
import os, random, signal, subprocess, sys, time
program, kills, pairs = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
names = ["BIG4040.OUT", "BIG4040.html", "BIG4040.readings.csv", "BIG4040.tests.csv",
         "BIG4040.strength.csv", "BIG4040.triaxial.csv"]
old = b"an older file\r\n"
args = [program, "-f", "-q", "--html", "--csv", "BIG4040.DAT"]

def run(extra=(), epoch="0"):
    env = dict(os.environ, SOURCE_DATE_EPOCH=epoch)
    return subprocess.Popen(args[:1] + list(extra) + args[1:], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

def files():
    out = {}
    for n in names:
        if os.path.exists(n):
            with open(n, "rb") as f:
                out[n] = f.read()
    return out

def leftovers():
    return [n for n in os.listdir(".") if ".new-" in n or ".ready-" in n]

def place_old():
    for n in names:
        with open(n, "wb") as f:
            f.write(old)

faults = []
start = time.perf_counter()
p = run(); _, err = p.communicate()
if p.returncode != 0 or err:
    sys.exit(f"the reference run failed: {err.decode()}")
reference = files()
run_time = time.perf_counter() - start
names = sorted(reference)  # the files this data file's set holds
p = run(["--encoding=utf-8"], "86400"); p.communicate()
other = files()
if len(names) < 4:
    sys.exit(f"the reference run wrote only {names}")

# Kills at random points.
outcomes = {"old": 0, "new": 0, "mixed": 0, "finished": 0, "named": 0}
for k in range(kills):
    place_old()
    p = run()
    time.sleep(random.uniform(0, 1.2 * run_time))
    p.send_signal(signal.SIGKILL)
    p.communicate()
    if p.returncode == 0:
        outcomes["finished"] += 1
    elif p.returncode != -signal.SIGKILL:
        faults.append(f"kill {k}: exit status {p.returncode}")
    now = files()
    kinds = set()
    for n in names:
        if now.get(n) == old:
            kinds.add("old")
        elif now.get(n) == reference[n]:
            kinds.add("new")
        else:
            faults.append(f"kill {k}: {n} is neither the old file nor the new one")
    ready = [n for n in leftovers() if ".ready-" in n]
    state = "mixed" if len(kinds) > 1 else kinds.pop() if kinds else "none"
    outcomes[state] = outcomes.get(state, 0) + 1
    if state == "mixed" and not ready:
        faults.append(f"kill {k}: a mixed set without a run stopped between its renames")
    # The next run names a set left half in place, and makes it whole.
    p = run(); _, err = p.communicate()
    named = b"was stopped while it put its files in place" in err
    outcomes["named"] += named
    if p.returncode != 0 or named != bool(ready):
        faults.append(f"kill {k}: the next run ended with {p.returncode}: {err.decode()!r}")
    if files() != reference or leftovers():
        faults.append(f"kill {k}: the next run left {sorted(leftovers())}")

# Overlapping runs.
pair_mixed = 0
for k in range(pairs):
    place_old()
    a = run()
    time.sleep(random.uniform(0, run_time))
    b = run(["--encoding=utf-8"], "86400")
    for q in (a, b):
        _, err = q.communicate()
        if q.returncode != 0 or err:
            faults.append(f"pair {k}: exit status {q.returncode}: {err.decode()!r}")
    now = files()
    if now != reference and now != other:
        pair_mixed += 1
        faults.append(f"pair {k}: the set is not one run's")
    if leftovers():
        faults.append(f"pair {k}: left {sorted(leftovers())}")

print(f"kills: {kills}  run time {run_time * 1000:.0f} ms  ended before the kill: "
      f"{outcomes['finished']}  set old: {outcomes['old']}  new: {outcomes['new']}  "
      f"mixed (kill between the final renames): {outcomes['mixed']}  named by the next run: "
      f"{outcomes['named']}")
print(f"pairs: {pairs}  mixed sets: {pair_mixed}")
print(f"faults: {len(faults)}")
for f in faults[:20]:
    print("  " + f)
sys.exit(1 if faults else 0)
EOF
