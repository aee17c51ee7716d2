#!/usr/bin/env bash
# Builds the variable-check benchmark, makes the 10 MB and 100 MB workloads
# if they are missing, and prints the check's time as a ratio of a memchr
# line count over the same file (both measured in the same run), its speed
# in MB/s, and the 100 MB / 10 MB time ratio (linear scaling: <= 11).
# Env: QUODLE_BENCH_W10, QUODLE_BENCH_W100 (workload paths, default
#      /tmp/w10.lsp and /tmp/w100.lsp), REPS (repetitions, default 5; the
#      medians are compared).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BENCH_BUILD:-$root/build-bench}
w10=${QUODLE_BENCH_W10:-/tmp/w10.lsp}
w100=${QUODLE_BENCH_W100:-/tmp/w100.lsp}
[ -f "$w10" ] || python3 /work/shared/tools/gen_lisp.py --mb 10 --seed 1 --out "$w10"
[ -f "$w100" ] || python3 /work/shared/tools/gen_lisp.py --mb 100 --seed 1 --out "$w100"
export QUODLE_BENCH_VARCHECK="$w10:$w100"
# The optimisation of the shipped build (-O2). Configured every time so that
# a build folder left in another type is brought to this one.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUODLE_BENCH=ON \
  -DQUODLE_GUI=OFF -DQUODLE_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target VarCheckBench >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/VarCheckBench" --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" "$w10" "$w100" <<'PY'
import json, os, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {r["run_name"].replace("/real_time", ""): r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
sizes = {"0": os.path.getsize(sys.argv[2]), "1": os.path.getsize(sys.argv[3])}
names = {"0": "10 MB", "1": "100 MB"}
for k in ("0", "1"):
    base = med[f"BM_MemchrLineCountFile/{k}"]
    check = med[f"BM_VariableCheck/{k}"]
    vlist = med[f"BM_VariableList/{k}"]
    scan = med[f"BM_StripAndCollect/{k}"]
    mb = sizes[k] / 1e6
    print(f"{names[k]} workload ({mb:.1f} MB):")
    print(f"  memchr line count, file read: {base:8.1f} ms")
    print(f"  variable check:               {check:8.1f} ms  = {check / base:5.2f} x line count,"
          f" {mb / (check / 1000):6.1f} MB/s (goal >= 50)")
    print(f"  variable list:                {vlist:8.1f} ms  = {vlist / base:5.2f} x line count,"
          f" {mb / (vlist / 1000):6.1f} MB/s")
    print(f"  of which scanner passes:      {scan:8.1f} ms")
r = med["BM_VariableCheck/1"] / med["BM_VariableCheck/0"]
rl = med["BM_VariableList/1"] / med["BM_VariableList/0"]
rb = med["BM_MemchrLineCountFile/1"] / med["BM_MemchrLineCountFile/0"]
print(f"100 MB / 10 MB time: check {r:5.2f}, list {rl:5.2f} (goal <= 11), line count {rb:5.2f}")
PY
