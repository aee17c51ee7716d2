#!/usr/bin/env bash
# Builds the reference benchmark, makes the 10 MB and 100 MB workloads if
# they are missing, and prints システム変数を大文字に as a ratio of a memchr
# line count over the same file, both measured in the same run (goal <= 20),
# and its 100 MB time over its 10 MB time (goal <= 11: linear); also the
# definition search a pointer hint over an undefined word makes.
# Env: REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
small=$work/reference-10mb.lsp
big=$work/reference-100mb.lsp
bench_workload "$small" --mb 10
bench_workload "$big" --mb 100
export QUODLE_BENCH_LISP="$small:$big"
bench_build ReferenceBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
bench_run ReferenceBench "$json"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med = {}
for r in runs:
    if r.get("aggregate_name") == "median":
        med[r["run_name"].split("/iterations")[0].split("/real_time")[0]] = r
def t(name, key="real_time"):
    return med[name][key]
def ratio(a, b):
    return f"{t(a) / t(b):5.2f} (cpu time {t(a, 'cpu_time') / t(b, 'cpu_time'):.2f})"
for size in ("reference-10mb.lsp", "reference-100mb.lsp"):
    base, up, low = "MemchrLineCount/" + size, "Upcase/" + size, "UpcaseAllLowerCase/" + size
    print(f"{size}: memchr line count {t(base):7.1f} ms, upcase {t(up):7.1f} ms "
          f"({int(med[up]['found'])} names found, {int(med[up]['replaced'])} rewritten): "
          f"ratio {ratio(up, base)} (goal <= 20)")
    print(f"{size}: every name in lower case, edit applied: {t(low):7.1f} ms, ratio {ratio(low, base)}")
    look = "DefinitionLookup/" + size
    print(f"{size}: a hint's search for an undefined function: {t(look):7.1f} ms, ratio {ratio(look, base)}; "
          f"with the definitions kept: {t('DefinitionLookupKept/' + size):7.3f} ms")
print(f"upcase 100 MB / 10 MB: {ratio('Upcase/reference-100mb.lsp', 'Upcase/reference-10mb.lsp')} (goal <= 11)")
print("every name rewritten, 100 MB / 10 MB: "
      f"{ratio('UpcaseAllLowerCase/reference-100mb.lsp', 'UpcaseAllLowerCase/reference-10mb.lsp')}")
print("(medians of the repetitions; the machine is shared, so cpu time is the steadier figure)")
PY
