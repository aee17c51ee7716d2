#!/usr/bin/env bash
# Builds the scanner benchmark, makes the 100 MB workload if it is missing,
# and prints StripLispSource + CollectDefuns as a ratio of a memchr line
# count over the same file, both measured in the same run (target: <= 3).
# Env: QUODLE_BENCH_LISP (workload path, default big.lsp in the workload folder),
#      REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
export QUODLE_BENCH_LISP=${QUODLE_BENCH_LISP:-$work/big.lsp}
bench_workload "$QUODLE_BENCH_LISP" --mb 100
bench_build ScannerBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
bench_run ScannerBench "$json"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        med[r["run_name"].split("/")[0]] = (r["real_time"], r["cpu_time"])
file_base, mem_base, scan = (med[k] for k in ("BM_MemchrLineCountFile", "BM_MemchrLineCountMemory", "BM_StripAndCollect"))
print(f"memchr line count, file read:  {file_base[0]:8.1f} ms  (cpu {file_base[1]:.1f})")
print(f"memchr line count, in memory:  {mem_base[0]:8.1f} ms  (cpu {mem_base[1]:.1f})")
print(f"StripLispSource+CollectDefuns: {scan[0]:8.1f} ms  (cpu {scan[1]:.1f})")
print(f"ratio vs file line count:   {scan[0] / file_base[0]:5.2f}  (target <= 3; cpu time {scan[1] / file_base[1]:.2f})")
print(f"ratio vs memory line count: {scan[0] / mem_base[0]:5.2f}  (for reference; cpu time {scan[1] / mem_base[1]:.2f})")
PY
