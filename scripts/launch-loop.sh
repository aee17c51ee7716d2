#!/usr/bin/env bash
# Launches Quodle again and again on a virtual display and reports every run
# that did not end cleanly: killed by a signal (an abort, a segmentation
# fault), a sanitizer report, a non-zero exit, no window within the time
# limit, or no exit after the window was asked to close.
#
#   scripts/launch-loop.sh [-n COUNT] [-b BUILD_DIR] [-o LOG_DIR] [-t SECONDS] [-g] [FILE...]
#
# The runs take turns: no file, then each FILE. Each run waits for the main
# window, waits a little (0 s, 0.05 s, 0.3 s or 1 s, in turn, so the close
# meets start-up at different points), then asks the window to close as a
# window manager would (WM_DELETE_WINDOW) and waits for the exit. Each run's
# error output is kept in LOG_DIR/run-N.err; failed runs are listed at the
# end and make the exit status 1.
#   -n COUNT      launches (default 200)
#   -b BUILD_DIR  build whose bin/quodle runs (default build); a sanitizer
#                 build (-DQUODLE_SANITIZE=ON) is run with leak checks off
#   -o LOG_DIR    where the logs go (default a new folder under /tmp)
#   -t SECONDS    time limit for the window to show and for the exit (60)
#   -g            run each launch under gdb and keep its backtrace on a crash
# The program runs from a copy of bin/ in a folder of its own, so its
# settings file starts empty and is shared by the runs of one loop only.
# Env: LAUNCH_DISPLAY — use this display instead of a new Xvfb (which runs
# as Xvfb does by default: it resets whenever its last client has gone).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=200
build=$root/build
logs=
limit=60
use_gdb=0
while getopts "n:b:o:t:g" opt; do
  case $opt in
    n) count=$OPTARG ;;
    b) build=$(cd "$OPTARG" && pwd) ;;
    o) logs=$OPTARG ;;
    t) limit=$OPTARG ;;
    g) use_gdb=1 ;;
    *) sed -n '2,26p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
files=("" "$@")
for f in "$@"; do [ -f "$f" ] || { echo "no such file: $f" >&2; exit 2; }; done
[ -x "$build/bin/quodle" ] || { echo "no program: $build/bin/quodle" >&2; exit 2; }
logs=${logs:-$(mktemp -d /tmp/quodle-launch-loop.XXXXXX)}
mkdir -p "$logs"

stage=$(mktemp -d /tmp/quodle-launch-stage.XXXXXX)
cp "$build/bin/quodle" "$build"/bin/*.txt "$stage/"
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$stage"
}
trap cleanup EXIT

if [ -n "${LAUNCH_DISPLAY:-}" ]; then
  export DISPLAY=$LAUNCH_DISPLAY
else
  # A display number of its own, well above the ones people pick by hand.
  for ((number = 100; number < 200; number++)); do
    [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] || break
  done
  Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp 2>/dev/null &
  xvfb_pid=$!
  for ((w = 0; w < 100; w++)); do
    [ -e "/tmp/.X11-unix/X$number" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$number" ] || { echo "Xvfb did not start" >&2; exit 2; }
  export DISPLAY=:$number
fi
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$stage}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Asks a window to close the way a window manager does.
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = [ctypes.c_void_p]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit(1)
event = XEvent()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
x.XFlush(display)
x.XCloseDisplay(display)
PY
}

# The visible window of a process, if it has one yet.
window_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -1; }

# Waits up to `limit` seconds for process $1 to end; its status in $status.
wait_exit() {
  local pid=$1 waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$waited" -ge $((limit * 10)) ]; then return 1; fi
    sleep 0.1
    waited=$((waited + 1))
  done
  wait "$pid"
  status=$?
  return 0
}

delays=(0 0.05 0.3 1)
declare -A runs=() failures=()
failed=()
for ((i = 1; i <= count; i++)); do
  file=${files[$(((i - 1) % ${#files[@]}))]}
  mode=${file:+$(basename "$file")}
  mode=${mode:-no file}
  err=$logs/run-$i.err
  args=()
  [ -n "$file" ] && args=("$file")
  if [ "$use_gdb" = 1 ]; then
    gdb -q -batch -return-child-result -ex run -ex "thread apply all bt" --args "$stage/quodle" "${args[@]}" \
      >"$logs/run-$i.gdb" 2>"$err" &
  else
    "$stage/quodle" "${args[@]}" 2>"$err" >/dev/null &
  fi
  pid=$!
  # Under gdb the window belongs to gdb's child.
  app=$pid
  outcome=
  window=
  for ((w = 0; w < limit * 10; w++)); do
    if [ "$use_gdb" = 1 ]; then app=$(pgrep -P "$pid" -x quodle | head -1); app=${app:-$pid}; fi
    window=$(window_of "$app")
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$window" ]; then
    sleep "${delays[$((i % ${#delays[@]}))]}"
    close_window "$window"
    if ! wait_exit "$pid"; then
      outcome="no exit within ${limit}s of the close"
      kill -ABRT "$app" 2>/dev/null
      sleep 1
      kill -KILL "$pid" "$app" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  elif kill -0 "$pid" 2>/dev/null; then
    outcome="no window within ${limit}s"
    kill -KILL "$pid" "$app" 2>/dev/null
    wait "$pid" 2>/dev/null
  else
    wait "$pid"
    status=$?
    outcome="ended before its window showed (status $status)"
  fi
  if [ -z "$outcome" ]; then
    if [ "$status" -gt 128 ]; then
      outcome="killed by signal $((status - 128)) ($(kill -l $((status - 128)) 2>/dev/null))"
    elif [ "$status" -ne 0 ]; then
      outcome="exit status $status"
    fi
  fi
  if grep -qE "ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer|terminate called|Fatal|ASSERT" "$err" 2>/dev/null; then
    outcome="${outcome:+$outcome; }error output: $(grep -m1 -E "ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer|terminate called|Fatal|ASSERT" "$err")"
  fi
  runs[$mode]=$((${runs[$mode]:-0} + 1))
  if [ -n "$outcome" ]; then
    failures[$mode]=$((${failures[$mode]:-0} + 1))
    failed+=("run $i ($mode): $outcome — $err")
  elif [ ! -s "$err" ]; then
    rm -f "$err" "$logs/run-$i.gdb"
  fi
  printf '\r%d/%d launches, %d failed' "$i" "$count" "${#failed[@]}" >&2
done
echo >&2

echo "program: $build/bin/quodle   display: $DISPLAY   logs: $logs"
for mode in "${!runs[@]}"; do
  printf '  %-24s %4d launches, %d failed\n' "$mode" "${runs[$mode]}" "${failures[$mode]:-0}"
done
if [ ${#failed[@]} -gt 0 ]; then
  printf '%s\n' "${failed[@]}"
  exit 1
fi
echo "no crash, hang or sanitizer report"
