#!/usr/bin/env bash
# Configures and builds Quodle in build/ (Ninja, ccache). Extra arguments go
# to the configure step, e.g. -DQUODLE_BENCH=ON.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
bash "$root/scripts/setup-deps.sh"
if [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
