#!/usr/bin/env bash
# Builds the scanner benchmark, makes the 100 MB workload if it is missing,
# and prints StripLispSource + CollectDefuns as a ratio of a memchr line
# count over the same file, both measured in the same run (target: <= 3).
# Env: QUODLE_BENCH_LISP (workload path, default /tmp/big.lsp),
#      REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BENCH_BUILD:-$root/build-bench}
export QUODLE_BENCH_LISP=${QUODLE_BENCH_LISP:-/tmp/big.lsp}
if [ ! -f "$QUODLE_BENCH_LISP" ]; then
  python3 /work/shared/tools/gen_lisp.py --mb 100 --seed 1 --out "$QUODLE_BENCH_LISP"
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUODLE_BENCH=ON \
    -DQUODLE_GUI=OFF -DQUODLE_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target scanner_bench >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/scanner_bench" --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {r["run_name"].split("/")[0]: r["real_time"] for r in runs if r.get("aggregate_name") == "median"}
file_base = med["BM_MemchrLineCountFile"]
mem_base = med["BM_MemchrLineCountMemory"]
scan = med["BM_StripAndCollect"]
print(f"memchr line count, file read:  {file_base:8.1f} ms")
print(f"memchr line count, in memory:  {mem_base:8.1f} ms")
print(f"StripLispSource+CollectDefuns: {scan:8.1f} ms")
print(f"ratio vs file line count:   {scan / file_base:5.2f}  (target <= 3)")
print(f"ratio vs memory line count: {scan / mem_base:5.2f}  (for reference)")
PY
