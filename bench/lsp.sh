#!/usr/bin/env bash
# The language server on a 1 MB document: the diagnostics after one edit in
# the middle against a full load (open and first diagnostics) of the same
# file, in one run (goal: well under the full load, within 100 ms).
# Env: REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
w1=$work/w1.lsp
bench_workload "$w1" --mb 1
bench_build LspBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/LspBench" "$w1" --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" <<'PY'
import json, sys
med = {r["run_name"]: r["cpu_time"] for r in json.load(open(sys.argv[1]))["benchmarks"]
       if r.get("aggregate_name") == "median"}
load, edit = med["full load"], med["edit, then diagnostics"]
print(f"1 MB document: full load {load:8.2f} ms   edit, then diagnostics {edit:8.2f} ms   ratio {edit / load:5.2f}")
print("(cpu time, medians of the repetitions)")
PY
