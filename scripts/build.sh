#!/usr/bin/env bash
# Configures and builds Quodle in build/ (Ninja, ccache), warnings as
# errors. Extra arguments go to the configure step, e.g. -DQUODLE_BENCH=ON.
# QUODLE_BUILD_TARGETS names the targets to build (default: everything).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
bash "$root/scripts/setup-deps.sh"
# A build folder made before warnings became an option is configured anew.
if [ ! -f "$build/build.ninja" ] || [ $# -gt 0 ] || ! grep -qx 'QUODLE_WERROR:BOOL=ON' "$build/CMakeCache.txt"; then
  cmake -S "$root" -B "$build" -G Ninja -DQUODLE_WERROR=ON "$@" >/dev/null
fi
# shellcheck disable=SC2086 # a list of target names
cmake --build "$build" -j"$(nproc)" ${QUODLE_BUILD_TARGETS:+--target $QUODLE_BUILD_TARGETS}
