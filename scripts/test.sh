#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; then
# builds the engine and quodle-cli in Release too (mostly from ccache),
# where the optimiser finds warnings the default build does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
release=${QUODLE_RELEASE_BUILD_DIR:-$root/build-release}
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
(cd "$build" && ctest --output-on-failure -j"$(nproc)" </dev/null)
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUODLE_WERROR=ON \
  -DQUODLE_GUI=OFF -DQUODLE_TESTS=OFF >/dev/null
cmake --build "$release" --target quodle-cli -j"$(nproc)"
