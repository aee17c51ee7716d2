#!/usr/bin/env bash
# Installs what is missing, builds (the benchmarks too, compiled only, so
# they cannot rot), and runs the whole test suite; then builds the engine
# and quodle-cli in Release too (mostly from ccache), where the optimiser
# finds warnings the default build does not; last, builds the fuzz targets
# with clang and runs each for a few seconds from its checked-in seeds
# (any finding fails).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
release=${QUODLE_RELEASE_BUILD_DIR:-$root/build-release}
# Wine runs the tests of the Windows build (tests/win32).
bash "$root/scripts/setup-deps.sh" --wine
bash "$root/scripts/build.sh" -DQUODLE_BENCH=ON
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
(cd "$build" && ctest --output-on-failure -j"$(nproc)" </dev/null)
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUODLE_WERROR=ON \
  -DQUODLE_GUI=OFF -DQUODLE_TESTS=OFF >/dev/null
cmake --build "$release" --target quodle-cli -j"$(nproc)"
bash "$root/scripts/fuzz.sh" -t 5
