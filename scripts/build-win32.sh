#!/usr/bin/env bash
# Cross-compiles the engine, quodle-cli.exe and the Windows test programs
# (tests/win32) with MinGW-w64 into BUILD_DIR (default build/win32), linked
# statically: the programs need no DLL beside them. Oniguruma comes from
# Debian's source package (scripts/onig-win32.sh, built once into
# BUILD_DIR/onig). The window needs Qt for Windows and is not built here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win32}
bash "$root/scripts/onig-win32.sh" "$build/onig"
# A build folder configured from another source folder (an older layout)
# is made anew; its Oniguruma build is kept.
if [ -f "$build/CMakeCache.txt" ] && ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$root" "$build/CMakeCache.txt"; then
  find "$build" -mindepth 1 -maxdepth 1 ! -name onig -exec rm -rf {} +
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DONIGURUMA_INCLUDE_DIR="$build/onig/install/include" \
    -DONIGURUMA_LIBRARY="$build/onig/install/lib/libonig.a" \
    -DQUODLE_GUI=OFF -DQUODLE_WERROR=ON >/dev/null
fi
cmake --build "$build" -j2
