#!/usr/bin/env bash
# Start-up without a display: the program ends with a message and status 1,
# never with an abort; started while its display is not up yet (an X server
# that is starting or resetting), it waits for it and shows its window; a
# file named on the command line opens.
# Usage: startup.sh QUODLE   (needs Xvfb and xdotool)
set -u
unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE
work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  cat "$work"/err* >&2 2>/dev/null
  exit 1
}
# A copy of the program: its settings file beside it is its own.
cp "$1" "$work/quodle"
export XDG_RUNTIME_DIR=$work

# Waits up to 20 s for a window `xdotool search` finds with the arguments
# after the program's pid (while the program runs), then ends the program.
window_of() {
  local pid=$1 found=
  shift
  for ((i = 0; i < 200; i++)); do
    found=$(DISPLAY=:$n xdotool search "$@" 2>/dev/null | head -1)
    [ -n "$found" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  [ -n "$found" ]
}

for ((n = 150; n < 250; n++)); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
done

DISPLAY=:$n "$work/quodle" >/dev/null 2>"$work/err1"
status=$?
[ "$status" -eq 1 ] || fail "status $status with no server on :$n (want 1)"
grep -qx "quodle: cannot connect to the X display \":$n\"" "$work/err1" || fail "message with no server on :$n"

env -u DISPLAY "$work/quodle" >/dev/null 2>"$work/err2"
status=$?
[ "$status" -eq 1 ] || fail "status $status without DISPLAY (want 1)"
grep -qx "quodle: no X display: DISPLAY is not set" "$work/err2" || fail "message without DISPLAY"

DISPLAY=:$n "$work/quodle" >/dev/null 2>"$work/err3" &
pid=$!
sleep 0.3
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
xvfb=$!
window_of "$pid" --onlyvisible --pid "$pid" || fail "no window once the display came up"

# A file named on the command line (read while the window is built, a
# toolkit option beside it) opens in its tab, titled with its path.
printf '(setq a 1)\r\n' >"$work/a.lsp"
DISPLAY=:$n "$work/quodle" -style Fusion "$work/a.lsp" >/dev/null 2>"$work/err4" &
window_of $! --name "^$work/a.lsp\$" || fail "no window titled with the file named on the command line"
echo "ok"
