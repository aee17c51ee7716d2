#!/usr/bin/env bash
# Builds the editor-control benchmark (it needs the user interface, so it
# builds in a folder of its own), makes the 1 MB and 100 MB workloads if they
# are missing and runs it offscreen. The program prints the ratios of its
# own run: typing at 100 MB against 1 MB, and the time of a full repaint.
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
w1=${QUODLE_BENCH_W1:-$work/w1.lsp}
w100=${QUODLE_BENCH_W100:-$work/w100.lsp}
bench_workload "$w1" --mb 1
bench_workload "$w100" --mb 100
bench_build EditorBench -DQUODLE_GUI=ON
"$build/bin/EditorBench" "$w1" "$w100"
