#!/usr/bin/env bash
# Builds the main-window benchmark of the reference lists (it needs the user
# interface, so it builds in a folder of its own) and runs it offscreen with
# the shipped word lists: repainting string-heavy rows with the system
# variables in bold against without (goal <= 1.5), and Ctrl+Space to the
# painted pick list (goal <= 20 ms) against a one-line pick list.
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
bench_build ReferenceUiBench -DQUODLE_GUI=ON
"$build/bin/ReferenceUiBench" 2>/dev/null | grep -E '^(full repaint|Ctrl\+Space)'
