#!/usr/bin/env bash
# Builds the catalogue benchmark, makes the 10 MB and 100 MB workloads if
# they are missing, and prints the times of the function catalogue and of
# the command/function tree as ratios of a memchr line count over the same
# file (all measured in the same run), on the generated workloads and on a
# definitions-heavy document, with the 100 MB / 10 MB time ratios (linear
# scaling: <= 11). Then the main window showing a tree of 50 000 nodes.
# Env: QUODLE_BENCH_W10, QUODLE_BENCH_W100 (workload paths, default
#      w10.lsp and w100.lsp in the workload folder), REPS (repetitions, default 5; the
#      medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_workloads_10_100
export QUODLE_BENCH_CATALOG="$w10:$w100:/tmp/quodle-defs10.lsp:/tmp/quodle-defs100.lsp"
bench_build CatalogBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
bench_run CatalogBench "$json"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        med[r["run_name"].replace("/real_time", "")] = (r["real_time"], r["cpu_time"], r)
names = {"0": "10 MB workload", "1": "100 MB workload", "2": "10 MB definitions", "3": "100 MB definitions"}
for clock, c in (("wall clock", 0), ("CPU time", 1)):
    print(f"== {clock} (medians, ms)")
    for k, name in names.items():
        base = med[f"BM_MemchrLineCountFile/{k}"][c]
        mb = med[f"BM_MemchrLineCountFile/{k}"][2].get("bytes", 0) / 1e6
        print(f"{name} ({mb:.1f} MB): memchr line count {base:.1f}")
        for label, bm, counter in (("catalogue", "BM_Catalog", "lines"), ("tree", "BM_Tree", "nodes")):
            t = med[f"{bm}/{k}"][c]
            n = int(med[f"{bm}/{k}"][2].get(counter, 0))
            print(f"  {label:10s} {t:8.1f} = {t / base:5.2f} x line count (goal <= 15), {n} {counter}")
    for a, b, name in (("0", "1", "workload"), ("2", "3", "definitions")):
        r = lambda bm: med[f"{bm}/{b}"][c] / med[f"{bm}/{a}"][c]
        print(f"100 MB / 10 MB {name}: catalogue {r('BM_Catalog'):5.2f}, tree {r('BM_Tree'):5.2f} (goal <= 11),"
              f" line count {r('BM_MemchrLineCountFile'):5.2f}")
PY
# The main window, in a build folder of its own (it needs the user interface).
export QUODLE_BENCH_BUILD=$root/build-bench-gui
build=$QUODLE_BENCH_BUILD
bench_build TreeUiBench -DQUODLE_GUI=ON
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/TreeUiBench" 2>/dev/null | grep -E '^tree of'
