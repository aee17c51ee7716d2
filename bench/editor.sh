#!/usr/bin/env bash
# Builds the editor-control benchmark (it needs the user interface, so it
# builds in a folder of its own), makes the 1 MB and 100 MB workloads if they
# are missing and runs it offscreen. The program prints the ratios of its
# own run: typing at 100 MB against 1 MB, and the time of a full repaint.
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
w1=${QUODLE_BENCH_W1:-/tmp/w1.lsp}
w100=${QUODLE_BENCH_W100:-/tmp/w100.lsp}
[ -f "$w1" ] || python3 /work/shared/tools/gen_lisp.py --mb 1 --seed 1 --out "$w1"
[ -f "$w100" ] || python3 /work/shared/tools/gen_lisp.py --mb 100 --seed 1 --out "$w100"
bench_build EditorBench -DQUODLE_GUI=ON
"$build/bin/EditorBench" "$w1" "$w100"
