#!/usr/bin/env bash
# Row store benchmark: generates the 1 MB and 100 MB workloads when missing,
# runs bench/RowStoreBench once and prints the ratios against the baselines
# measured in the same run.
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_build RowStoreBench
bin=$build/bin/RowStoreBench
small=$work/rowstore-1mb.lsp
big=$work/big.lsp
bench_workload "$small" --mb 1
bench_workload "$big" --mb 100
cat "$small" "$big" >/dev/null  # both in the page cache for every pass
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bin" "$small" "$big" --benchmark_repetitions=3 --benchmark_out="$json" --benchmark_out_format=json "$@"
python3 - "$json" <<'PY'
import json, sys
# Medians of the repetitions; the maxima are the largest of any repetition.
bench = json.load(open(sys.argv[1]))["benchmarks"]
key = lambda b: b["run_name"].split("/iterations")[0]
runs = {key(b): b for b in bench if b.get("aggregate_name") == "median"}
for b in bench:
    if b.get("run_type") == "iteration":
        for k in ("max_ms", "max_cpu_ms"):
            if k in b:
                runs[key(b)][k] = max(runs[key(b)].get(k + "_seen", 0), b[k])
                runs[key(b)][k + "_seen"] = runs[key(b)][k]
def t(name, key="cpu_time"):
    b = runs[name]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
    return b[key] * scale  # milliseconds
def report(line):
    try:
        print(line())
    except KeyError as missing:  # a filtered run: that ratio has no inputs
        print("(no figure: %s not run)" % missing)
for f in ("rowstore-1mb.lsp", "big.lsp"):
    report(lambda: f"{f}: LoadFromFile / memchr line count = {t('LoadFromFile/' + f) / t('MemchrLineCount/' + f):.2f} (goal <= 3)")
report(lambda: "typing burst mean per edit, 100 MB / 1 MB = %.2f (goal <= 1.2)"
       % (t("TypingBurst/big.lsp") / t("TypingBurst/rowstore-1mb.lsp")))
report(lambda: "random-row edits at 100 MB: mean %.4f ms, max %.3f ms cpu / %.3f ms wall (goal <= 1 ms)"
       % (t("RandomRowEdits/big.lsp"), runs["RandomRowEdits/big.lsp"]["max_cpu_ms"],
          runs["RandomRowEdits/big.lsp"]["max_ms"]))
print("(times are medians of 3 repetitions, cpu time; wall maxima include time the machine gave to others)")
PY
