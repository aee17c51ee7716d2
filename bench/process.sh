#!/usr/bin/env bash
# Whole quodle-cli processes on the 100 MB workload against programs that do
# the least a load can do, in one run: `wc -l` (a memchr line count as a
# process), `grep -c -F` of a word that does not occur, and Vim reading the
# file and quitting. Prints for each the median cpu time (user + system) and
# wall time of REPS runs, the peak resident memory, and the ratios the goals
# are written in: load and find against wc -l / grep, memory against the
# file's size. CPU time is the steadier figure on a shared machine.
# `dd` reading the whole file in one block is the least a load that holds
# the text can cost (the file read into memory the process has not touched
# before): find is also given against it, to tell the load's own overhead
# from what fresh memory costs on the machine.
# Peaks include the few MiB a process has before it starts the program.
# Env: QUODLE_BENCH_W100 (the workload), REPS (runs, default 5),
#      QUODLE_BENCH_CLI (a quodle-cli to measure instead of building one),
#      QUODLE_BENCH_BEFORE (an older quodle-cli measured in the same run,
#      interleaved, each of its figures then given as after / before),
#      IDLE (seconds the machine idles before each run, default 0: a virtual
#      machine may hand memory freed for a while back to its host, and a
#      command started after such a pause pays to have it back).
set -euo pipefail
. "$(dirname "$0")/common.bash"
w100=${QUODLE_BENCH_W100:-$work/w100.lsp}
bench_workload "$w100" --mb 100
cli=${QUODLE_BENCH_CLI:-}
if [ -z "$cli" ]; then
  bench_build quodle-cli
  cli=$build/bin/quodle-cli
fi
absent=zqxjkvbw
cat "$w100" >/dev/null  # in the page cache for every run
vim_cmd=()
if command -v vim >/dev/null; then vim_cmd=(vim --clean -n -es "+q!"); fi
python3 - "$w100" "${REPS:-5}" "$absent" "$cli" "${QUODLE_BENCH_BEFORE:-}" "${IDLE:-0}" "${vim_cmd[@]}" <<'PY'
import os, statistics, subprocess, sys, time
path, reps, absent, cli, before, idle, vim = (sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5],
                                              float(sys.argv[6]), sys.argv[7:])
size = os.path.getsize(path)
runs = {
    "wc -l": ["wc", "-l", path],
    "grep -c -F (absent)": ["grep", "-c", "-F", absent, path],
    "dd (whole file, one block)": ["dd", "if=" + path, "of=/dev/null", f"bs={size}", "count=1", "status=none"],
    "quodle-cli brackets": [cli, "brackets", path],
    "quodle-cli find (absent)": [cli, "find", "--pattern", absent, "--options", "down", path],
    "quodle-cli defuns": [cli, "defuns", path],
    "quodle-cli check": [cli, "check", path],
    "quodle-cli vars": [cli, "vars", path],
    "quodle-cli replace (same size)": [cli, "replace", "--pattern", "setq", "--with", "SETQ", "--options", "down",
                                       "--raw", path],
}
if before:
    for name in [n for n in runs if n.startswith("quodle-cli")]:
        runs["before: " + name] = [before] + runs[name][1:]
if vim:
    runs["vim (load, quit)"] = vim + [path]

def one(argv):
    time.sleep(idle)
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        proc = subprocess.Popen(argv, stdout=null, stderr=null)
        _, _, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    return usage.ru_utime + usage.ru_stime, wall, usage.ru_maxrss * 1024

figures = {}
for _ in range(reps):  # interleaved, so a busy moment falls on every program alike
    for name, argv in runs.items():
        figures.setdefault(name, []).append(one(argv))
med = {n: (statistics.median(c for c, _, _ in f), statistics.median(w for _, w, _ in f), max(m for _, _, m in f))
       for n, f in figures.items()}
print(f"workload {size / 2**20:.0f} MiB, {reps} runs each (medians; memory is the largest peak)")
for name, (cpu, wall, rss) in med.items():
    print(f"{name:32s} cpu {cpu * 1000:7.0f} ms  wall {wall * 1000:7.0f} ms  peak {rss / 2**20:6.0f} MiB"
          f"  = {rss / size:4.2f} x file")
wc, grep = med["wc -l"][0], med["grep -c -F (absent)"][0]
print(f"brackets / wc -l          = {med['quodle-cli brackets'][0] / wc:5.2f}  (cpu)")
print(f"find (absent) / wc -l     = {med['quodle-cli find (absent)'][0] / wc:5.2f}  (cpu; load goal <= 3)")
print(f"find (absent) / grep -c -F = {med['quodle-cli find (absent)'][0] / grep:5.2f}  (cpu; goal <= 3)")
dd = med["dd (whole file, one block)"][0]
print(f"dd (one block) / wc -l     = {dd / wc:5.2f}  (cpu; what holding the text costs at least)")
print(f"find (absent) / dd         = {med['quodle-cli find (absent)'][0] / dd:5.2f}  (cpu)")
for name in [n for n in med if n.startswith("before: ")]:
    now, old = med[name[len("before: "):]], med[name]
    print(f"{name[len('before: '):]:32s} after / before: cpu {now[0] / old[0]:5.2f}  peak {now[2] / old[2]:5.2f}")
if vim:
    print(f"find (absent) / vim load  = {med['quodle-cli find (absent)'][0] / med['vim (load, quit)'][0]:5.2f}  (cpu; goal < 1)")
PY
