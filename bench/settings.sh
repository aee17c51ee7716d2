#!/usr/bin/env bash
# Builds the settings-file benchmark (it runs real main windows offscreen, so
# it builds in the user-interface bench folder) and runs it: a sound settings
# file against damaged ones of about 10 MB (230 000 reopen entries, 100 000
# print-setting chunks), each read as the window's creation reads it and
# through a whole window life, as ratios of a plain read of the same file
# and of the sound file's window life. REPS repetitions (default 5), medians.
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
bench_build SettingsBench -DQUODLE_GUI=ON
"$build/bin/SettingsBench" --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true
