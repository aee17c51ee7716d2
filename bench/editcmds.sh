#!/usr/bin/env bash
# Builds the edit-commands benchmark, makes the 10 MB and 100 MB workloads
# if they are missing, and prints, for each white-space conversion and each
# debug group command (on the workload with 10 000 watch lines put in), its
# time as a ratio of a memchr line count over the same file, the
# 100 MB / 10 MB time ratio (linear: <= 11) and undo / do (goal <= 1), all
# measured in the same run.
# Env: QUODLE_BENCH_W10, QUODLE_BENCH_W100 (workload paths, default
#      w10.lsp and w100.lsp in the workload folder), REPS (repetitions, default 5; the
#      medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_workloads_10_100
export QUODLE_BENCH_EDITCMDS="$w10:$w100"
bench_build EditCmdsBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
bench_run EditCmdsBench "$json"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
med, calls = {}, {}
# Medians; with REPS=1 there are none, and the single runs stand for them.
for r in runs:
    if r.get("aggregate_name", "median") == "median":
        name = r["run_name"].split("/iterations")[0].replace("/real_time", "")
        med[name] = (r["real_time"], r["cpu_time"])
        calls[name] = r.get("replace_rows_calls", 0)
ops = [("Convert", o) for o in ("tabs-to-blanks", "lead-blanks-to-tabs", "runs-to-tabs", "blanks-to-tabs",
                               "fullwidth-blanks")] + [("Group", o) for o in ("comment", "reenable", "delete")]
for clock, c in (("wall clock", 0), ("CPU time", 1)):
    print(f"== {clock} (medians, ms)")
    base = {k: med[f"MemchrLineCountFile/{k}"][c] for k in ("0", "1")}
    print(f"memchr line count: 10 MB {base['0']:.1f}, 100 MB {base['1']:.1f} (ratio {base['1'] / base['0']:.2f})")
    print(f"{'command':28s} {'10 MB':>8s} {'x lines':>7s} {'100 MB':>8s} {'x lines':>7s} {'100/10':>6s}"
          f" {'undo 100':>8s} {'undo/do':>7s} {'steps':>6s}")
    for kind, op in ops:
        t10, t100 = med[f"{kind}/{op}/0"][c], med[f"{kind}/{op}/1"][c]
        u100 = med[f"Undo{kind}/{op}/1"][c]
        print(f"{kind + ' ' + op:28s} {t10:8.1f} {t10 / base['0']:7.2f} {t100:8.1f} {t100 / base['1']:7.2f}"
              f" {t100 / t10:6.2f} {u100:8.1f} {u100 / t100:7.2f} {calls[f'{kind}/{op}/1']:6.0f}")
    a10, a100 = med["AddWatch/0"][c], med["AddWatch/1"][c]
    print(f"{'AddWatch (one line)':28s} {a10:8.1f} {a10 / base['0']:7.2f} {a100:8.1f} {a100 / base['1']:7.2f} {a100 / a10:6.2f}")
PY
