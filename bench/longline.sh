#!/usr/bin/env bash
# A 10 MB file of one line against a generated 10 MB LISP file, in one run
# (LongLineBench: open, keystroke, bracket count, every token), then the
# peak memory of each operation in a child run of its own, as a multiple of
# the file's size: whole process and over the same run on an empty file
# (reported, not a test: goal <= 4 over that baseline).
# Env: QUODLE_BENCH_DIR (workloads, default longline/ in the workload folder),
#      QUODLE_BENCH_MB (size, default 10), REPS (repetitions, default 3).
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
dir=${QUODLE_BENCH_DIR:-$work/longline}
mb=${QUODLE_BENCH_MB:-10}
mkdir -p "$dir"
normal=$dir/normal-${mb}mb.lsp
long=$dir/line-${mb}mb.lsp
bench_workload "$normal" --mb "$mb"
# The same kind of text with every line break a blank: one line.
[ -s "$long" ] || python3 - "$long" "$mb" <<'PY'
import sys
unit = b"(setq a (+ 1 2)) (princ \"x\") "
size = int(sys.argv[2]) * 1024 * 1024
open(sys.argv[1], "wb").write((unit * (size // len(unit) + 1))[:size])
PY
bench_build LongLineBench -DQUODLE_GUI=ON
bin=$build/bin/LongLineBench
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$bin" "$normal" "$long" --benchmark_repetitions="${REPS:-3}" --benchmark_report_aggregates_only=true >"$out" 2>&1 ||
  { cat "$out" >&2; exit 1; }
sed -n '/^thread cpu/,$p' "$out"
echo "peak memory (resident, one child run each) as a multiple of the file's size: the whole process, and"
echo "over its baseline (the same operation on an empty file: the toolkit, fonts and program; goal <= 4):"
empty=$dir/empty.lsp
: >"$empty"
for what in open type brackets tokens; do
  python3 - "$bin" "$what" "$empty" "$normal" "$long" <<'PY'
import os, subprocess, sys
bin, what, empty, normal, long = sys.argv[1:]
def peak(path):
    # A child of its own, so its peak is the only one seen.
    out = subprocess.run([sys.executable, "-c",
        "import resource, subprocess, sys\n"
        "subprocess.run(sys.argv[1:], check=True, stdout=subprocess.DEVNULL)\n"
        "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)",
        bin, "--once", what, path], check=True, capture_output=True, text=True)
    return int(out.stdout) * 1024
size = os.path.getsize(long)
base, n, l = peak(empty), peak(normal), peak(long)
mb = 2**20
print(f"  {what:9s} baseline {base / mb:5.1f} MB | long line {l / mb:6.1f} MB = {l / size:5.2f} x,"
      f" over baseline {(l - base) / mb:6.1f} MB = {(l - base) / size:5.2f} x"
      f" | normal file {n / mb:6.1f} MB = {n / size:5.2f} x, over baseline {(n - base) / size:5.2f} x")
PY
done
