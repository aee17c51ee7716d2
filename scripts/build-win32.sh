#!/usr/bin/env bash
# Cross-compiles the load command's engine and its Windows backend with
# MinGW-w64 (installed by setup-deps.sh) into BUILD_DIR (default build/win32).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root/src/cad/win32" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/src/cad/win32/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2
