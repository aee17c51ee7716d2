#!/usr/bin/env bash
# Word wrap benchmark: runs bench/WrapBench on the 100 MB workload (generated
# when missing) and prints the ratios against the baselines
# measured in the same run.
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_build WrapBench
bin=$build/bin/WrapBench
file=${WRAP_BENCH_FILE:-$work/w100.lsp}
bench_workload "$file" --mb 100
cat "$file" >/dev/null  # in the page cache for every pass
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bin" "$file" --benchmark_repetitions=3 --benchmark_out="$json" --benchmark_out_format=json "$@"
python3 - "$json" "$(basename "$file")" <<'PY'
import json, sys
# Medians of the repetitions, cpu time in milliseconds.
bench = json.load(open(sys.argv[1]))["benchmarks"]
f = sys.argv[2]
runs = {b["run_name"].split("/iterations")[0]: b for b in bench if b.get("aggregate_name") == "median"}
def t(name):
    b = runs[name]
    return b["cpu_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
def report(line):
    try:
        print(line())
    except KeyError as missing:  # a filtered run: that ratio has no inputs
        print("(no figure: %s not run)" % missing)
report(lambda: "switching word wrap on / loading = %.2f (goal <= 1.5); page faults per switch %.0f"
       % (t("WordWrapOn/" + f) / t("LoadFromFile/" + f), runs["WordWrapOn/" + f]["page_faults"]))
report(lambda: "edit in a 20 000-byte wrapped line: %.1f us, in that line alone %.1f us (ratio %.2f), "
       "in a short line %.2f us; rows replaced per edit %.0f of the line's %.0f"
       % (t("TypeLongLine/" + f) * 500, t("TypeLongLineAlone") * 500,
          t("TypeLongLine/" + f) / t("TypeLongLineAlone"), t("TypeShortLine/" + f) * 500,
          runs["TypeLongLine/" + f]["rows_replaced_per_edit"], runs["TypeLongLine/" + f]["rows_of_line"]))
report(lambda: "reading every line, wrap on / off = %.2f; a random line after an edit, wrap on / off = %.2f"
       % (t("ReadLines/%s:wrap" % f) / t("ReadLines/%s:nowrap" % f),
          t("RandomLines/%s:wrap" % f) / t("RandomLines/%s:nowrap" % f)))
print("(medians of 3 repetitions, cpu time; an edit figure is half of a type-and-delete iteration)")
PY
