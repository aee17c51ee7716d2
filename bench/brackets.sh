#!/usr/bin/env bash
# Bracket count (F4) on adversarial files against balanced files of the same
# size, in one run: one line of 400 000 ")", and 510 KB of
# "(setq a (+ 1 2)) " on one line with one ")" more (both recount from the
# end), against generated LISP of the same sizes (goal: ratio <= 3).
# Env: QUODLE_BENCH_DIR (workloads, default brackets/ in the workload folder),
#      REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
dir=${QUODLE_BENCH_DIR:-$work/brackets}
mkdir -p "$dir"
python3 - "$dir" <<'PY'
import os, sys
d = sys.argv[1]
unit = b"(setq a (+ 1 2)) "
files = {
    "closing-400k.lsp": b")" * 400000,
    "extra-closing-510k.lsp": unit * (510 * 1024 // len(unit)) + b")",
    "balanced-line-510k.lsp": unit * (510 * 1024 // len(unit)),
}
for name, data in files.items():
    path = os.path.join(d, name)
    if not os.path.exists(path) or os.path.getsize(path) != len(data):
        open(path, "wb").write(data)
PY
for n in 400000 $(stat -c %s "$dir/extra-closing-510k.lsp"); do
  bench_workload "$dir/balanced-$n.lsp" --bytes "$n"
done
bench_build BracketBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/BracketBench" "$dir/closing-400k.lsp" "$dir/balanced-400000.lsp" "$dir/extra-closing-510k.lsp" \
  "$dir/balanced-$(stat -c %s "$dir/extra-closing-510k.lsp").lsp" "$dir/balanced-line-510k.lsp" \
  --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" <<'PY'
import json, sys
med = {r["run_name"]: r["cpu_time"] for r in json.load(open(sys.argv[1]))["benchmarks"]
       if r.get("aggregate_name") == "median"}
base400 = med["balanced-400000.lsp"]
base510 = next(v for k, v in med.items() if k.startswith("balanced-5"))
rows = [("one line of 400 000 \")\"", med["closing-400k.lsp"], base400),
        ("510 KB one line, one \")\" extra", med["extra-closing-510k.lsp"], base510),
        ("510 KB one line, balanced", med["balanced-line-510k.lsp"], base510)]
for what, t, base in rows:
    print(f"{what:34s} {t:8.2f} ms  balanced file of that size {base:7.2f} ms  ratio {t / base:5.2f}  (goal <= 3)")
print("(cpu time, medians of the repetitions)")
PY
