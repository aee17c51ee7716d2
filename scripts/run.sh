#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quodle. Arguments are files to
# open. Without a display it starts a virtual one (Xvfb), takes a screenshot
# after a few seconds and prints its path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
if [ ! -x "$build/bin/quodle" ]; then
  # The window is not built yet: show what the engine makes of the sample.
  exec "$build/bin/quodle-cli" text "${1:-$root/samples/sample.lsp}"
fi
[ $# -gt 0 ] || set -- "$root/samples/sample.lsp"
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/bin/quodle" "$@"
fi
echo "No display: starting Quodle under Xvfb on :99." >&2
Xvfb :99 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=:99
sleep 1
"$build/bin/quodle" "$@" &
app=$!
sleep 4
shot=${TMPDIR:-/tmp}/quodle-screenshot.png
import -window root "$shot"
echo "Screenshot: $shot" >&2
wait $app
