#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quodle. Arguments are files to
# open (default: the sample). Without a display it starts a virtual one
# (Xvfb), takes a screenshot of the window, prints its path and stops the
# program again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
# Only the program and its word lists: the tests and benchmarks are
# test.sh's, and building them would keep the window waiting for minutes.
QUODLE_BUILD_TARGETS=quodle bash "$root/scripts/build.sh"
[ $# -gt 0 ] || set -- "$root/samples/sample.lsp"
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/quodle" "$@"
fi

# The first display number nobody uses.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done
echo "No display: starting Quodle under Xvfb on :$display." >&2
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
for _ in $(seq 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

"$build/bin/quodle" "$@" &
app=$!
sleep 4
if ! kill -0 "$app" 2>/dev/null; then
  wait "$app" || true
  echo "Quodle ended before its window could be shown." >&2
  exit 1
fi
shot=${TMPDIR:-/tmp}/quodle-screenshot.png
import -window root "$shot"
echo "Screenshot: $shot" >&2
echo "Stopping Quodle and the virtual display (there is no screen to use it on)." >&2
