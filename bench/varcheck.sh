#!/usr/bin/env bash
# Builds the variable-check benchmark, makes the 10 MB and 100 MB workloads
# if they are missing, and prints the times of the variable check and of the
# whole-document bracket count as ratios of a memchr line count over the
# same file (all measured in the same run), their speed in MB/s, and the
# 100 MB / 10 MB time ratios (linear scaling: <= 11).
# Env: QUODLE_BENCH_W10, QUODLE_BENCH_W100 (workload paths, default
#      w10.lsp and w100.lsp in the workload folder), REPS (repetitions, default 5; the
#      medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_workloads_10_100
export QUODLE_BENCH_VARCHECK="$w10:$w100"
export QUODLE_BENCH_JOGAI="$root/data/JogaiList.txt"
bench_build VarCheckBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
bench_run VarCheckBench "$json"
python3 - "$json" "$w10" "$w100" <<'PY'
import json, os, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        med[r["run_name"].replace("/real_time", "")] = (r["real_time"], r["cpu_time"])
sizes = {"0": os.path.getsize(sys.argv[2]), "1": os.path.getsize(sys.argv[3])}
# Both clocks: the wall clock is what a user waits for, the process's CPU
# time is steadier on a machine shared with other work.
for clock, c in (("wall clock", 0), ("CPU time", 1)):
    print(f"== {clock} (medians, ms)")
    for k, name in (("0", "10 MB"), ("1", "100 MB")):
        base = med[f"BM_MemchrLineCountFile/{k}"][c]
        mb = sizes[k] / 1e6
        print(f"{name} workload ({mb:.1f} MB): memchr line count {base:.1f}")
        for label, bm in (("variable check", "BM_VariableCheck"), ("variable list", "BM_VariableList"),
                          ("scanner passes alone", "BM_StripAndCollect"),
                          ("bracket count (F4)", "BM_BracketCountFresh"),
                          ("bracket count again", "BM_BracketCountKnownStates")):
            t = med[f"{bm}/{k}"][c]
            print(f"  {label:22s} {t:8.1f}  = {t / base:5.2f} x line count, {mb / (t / 1000):6.1f} MB/s")
    ratio = lambda bm, a, b: med[f"{bm}/{b}"][c] / med[f"{bm}/{a}"][c]
    print(f"100 MB / 10 MB: check {ratio('BM_VariableCheck', '0', '1'):5.2f}, list {ratio('BM_VariableList', '0', '1'):5.2f}"
          f" (goal <= 11); line count {ratio('BM_MemchrLineCountFile', '0', '1'):5.2f},"
          f" scanner passes {ratio('BM_StripAndCollect', '0', '1'):5.2f}")
    print(f"100 MB / 10 MB: bracket count {ratio('BM_BracketCountFresh', '0', '1'):5.2f},"
          f" again {ratio('BM_BracketCountKnownStates', '0', '1'):5.2f} (goal <= 11)")
    d10, d100 = med["BM_VariableCheckDefinitions/10"][c], med["BM_VariableCheckDefinitions/100"][c]
    print(f"definitions document: 10 MB {d10:.1f}, 100 MB {d100:.1f} ({104.9 / (d100 / 1000):.1f} MB/s), ratio {d100 / d10:5.2f}")
    w1, w2 = med["BM_VariableCheckWide/20000"][c], med["BM_VariableCheckWide/200000"][c]
    print(f"one definition with 20k / 200k locals: {w1:.1f} / {w2:.1f}, ratio {w2 / w1:5.2f} (x10 names)")
PY
