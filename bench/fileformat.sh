#!/usr/bin/env bash
# UTF-8 documents against Shift-JIS ones: loads and saves the 100 MB
# workload as it is (Shift-JIS) and converted to UTF-8, and prints the
# ratios of the medians measured in the same run (goal: each <= 2).
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_build FileFormatBench
bench_workloads_10_100
utf8=${w100%.lsp}-utf8.lsp
[ -s "$utf8" ] || python3 -c 'import sys; open(sys.argv[2], "wb").write(open(sys.argv[1], "rb").read().decode("cp932").encode("utf-8"))' "$w100" "$utf8"
cat "$w100" "$utf8" >/dev/null  # both in the page cache
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/FileFormatBench" "$w100" "$utf8" --benchmark_repetitions="${REPS:-5}" \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json "$@"
python3 - "$json" <<'PY'
import json, sys
bench = json.load(open(sys.argv[1]))["benchmarks"]
t = {b["run_name"]: b["real_time"] for b in bench if b.get("aggregate_name") == "median"}
for op in ("Load", "Save"):
    print("%s of 100 MB: UTF-8 / Shift-JIS = %.2f (goal <= 2; %.0f ms / %.0f ms)"
          % (op, t[op + "/utf8"] / t[op + "/sjis"], t[op + "/utf8"], t[op + "/sjis"]))
PY
