#!/usr/bin/env bash
# Search benchmarks on the 100 MB workload, as ratios of one run:
#   a forward search for a name that occurs once near the end against
#   `grep -F -c` on the same file (case matters; the dialog's default with
#   case ignored; case and width ignored), replace-all of every "command"
#   (about 95 000) and its undo against loading the file, the memory the
#   replace takes; a pattern of 5 000 characters searched forward over a
#   10 MB text with each option that lets matches vary in length (half- and
#   full-width alike, breaks or blanks skipped) against the same search
#   without options: once taken from near the end of the workload, once
#   over a text of one line repeated, with a character in its middle
#   changed (found nowhere, every line a long candidate); and the repaint of
#   a full view with the find marks of a regular expression against the
#   same repaint without them.
# SEARCH_SHOT=FILE also saves that view with its marks as a PNG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.bash"
w100=${QUODLE_BENCH_W100:-$work/w100.lsp}
w1=${QUODLE_BENCH_W1:-$work/w1.lsp}
needle=ExportAllLayouts
file=$work/search-100mb.lsp
bench_workload "$w100" --mb 100
bench_workload "$w1" --mb 1
if [ ! -s "$file" ]; then
  # The needle once, 50 lines before the end.
  total=$(wc -l <"$w100")
  { head -n $((total - 50)) "$w100"; printf '(defun c:%s ( / ) (princ))\r\n' "$needle"; tail -n 50 "$w100"; } >"$file"
fi
[ "$(grep -F -c "$needle" "$file")" -eq 1 ] || { echo "the needle must occur once in $file" >&2; exit 1; }
w10=${QUODLE_BENCH_W10:-$work/w10.lsp}
bench_workload "$w10" --mb 10
excerpt=$work/search-long-pattern.txt
repeat=$work/search-repeat-10mb.lsp
repeatPattern=$work/search-repeat-pattern.txt
python3 - "$w10" "$excerpt" "$repeat" "$repeatPattern" <<'PY'
import sys
text, excerpt, repeat, repeat_pattern = sys.argv[1:]
data = open(text, 'rb').read()
start = data.index(b'\r\n', len(data) * 95 // 100) + 2
open(excerpt, 'wb').write(data[start:].decode('cp932')[:5000].encode('cp932'))
line = '\t(setq pt (getvar "LASTPOINT"))\r\n'
open(repeat, 'w', newline='').write(line * (10 * 1048576 // len(line)))
pattern = (line * (5000 // len(line) + 1))[:5000]
open(repeat_pattern, 'w', newline='').write(pattern[:2500] + '#' + pattern[2501:])
PY
cat "$file" >/dev/null  # in the page cache for every pass

bench_build SearchBench
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/SearchBench" "$file" "$needle" "$w10" "$excerpt" "$repeat" "$repeatPattern" --benchmark_repetitions="${REPS:-5}" \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" <<'PY'
import json, sys
runs = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"}
def ms(name):
    b = runs[name]
    return b["real_time"] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
grep = ms("GrepFixedCount/real_time")
print(f"grep -F -c: {grep:.1f} ms (baseline)")
for name, goal in (("MatchCase", 3), ("IgnoreCase", 3), ("IgnoreCaseAndWidth", 10), ("WholeTextBuffer", 3)):
    t = ms(f"Search/{name}/real_time")
    print(f"search {name}: {t:.1f} ms, ratio to grep -F -c {t / grep:.2f} (goal <= {goal})")
load = ms("LoadFromFile/real_time")
for name in ("ReplaceAll", "UndoReplaceAll"):
    key = f"{name}/iterations:3/real_time"
    t = ms(key)
    b = runs[key]
    print(f"{name}: {t:.0f} ms for {int(b['hits'])} hits, ratio to loading the file ({load:.0f} ms) {t / load:.2f} "
          f"(goal <= 5); heap peak above the loaded document {b['peak_growth_mb']:.0f} MB")
for group, what in (("LongPattern", "taken from the workload"), ("RepeatPattern", "over one line repeated")):
    plain = ms(f"{group}/Plain/real_time")
    print(f"5 000-character pattern {what}, without options: {plain:.1f} ms (baseline)")
    for name in ("Zenkaku", "CrLf", "Space", "CrLfSpace", "ZenkakuMatchCase"):
        t = ms(f"{group}/{name}/real_time")
        print(f"  {name}: {t:.1f} ms, ratio {t / plain:.2f} (goal <= 3)")
print("(medians of the repetitions, wall clock)")
PY

export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD_GUI:-$root/build-bench-gui}
build=$QUODLE_BENCH_BUILD
bench_build SearchPaintBench -DQUODLE_GUI=ON
shot=()
[ -n "${SEARCH_SHOT:-}" ] && shot=(--shot "$SEARCH_SHOT")
"$build/bin/SearchPaintBench" "$w1" "${shot[@]}" --benchmark_repetitions="${REPS:-5}" \
  --benchmark_report_aggregates_only=true | grep -E "full repaint|saved"
