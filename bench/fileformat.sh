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
med = {b["run_name"].replace("/real_time", ""): b for b in bench if b.get("aggregate_name") == "median"}
for op in ("Load", "Save"):
    u, s = med[op + "/utf8"], med[op + "/sjis"]
    print("%s of 100 MB: UTF-8 / Shift-JIS = %.2f cpu, %.2f wall (goal <= 2; %.0f / %.0f ms cpu)"
          % (op, u["cpu_time"] / s["cpu_time"], u["real_time"] / s["real_time"], u["cpu_time"], s["cpu_time"]))
print("(medians; cpu time is the fairer figure on a busy machine)")
PY
