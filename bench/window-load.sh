#!/usr/bin/env bash
# The window from launch until it shows a file: quodle started on the 100 MB
# workload against quodle started with no file, on a virtual display, in
# one run (interleaved, REPS of each, medians). A start counts as done when
# a window titled with the file's path (or the main window, without a file)
# exists; each run starts with settings of its own, so nothing is restored.
# Prints wall-clock times and the ratio the goal is written in, and the
# memory each window holds once it has settled (resident size SETTLE seconds
# after it shows, default 2): the loaded window's above the empty one's,
# against the file's size.
# Env: QUODLE_BENCH_W100 (the workload), REPS (default 5),
#      QUODLE_BENCH_GUI (a quodle to measure instead of building one),
#      QUODLE_BENCH_GUI_BEFORE (an older quodle started in the same run,
#      interleaved, its loaded start then given as after / before).
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
w100=${QUODLE_BENCH_W100:-$work/w100.lsp}
bench_workload "$w100" --mb 100
gui=${QUODLE_BENCH_GUI:-}
if [ -z "$gui" ]; then
  bench_build quodle -DQUODLE_GUI=ON
  gui=$build/bin/quodle
fi
cat "$w100" >/dev/null  # in the page cache for every run

display=:$((70 + RANDOM % 20))
Xvfb "$display" -screen 0 1300x850x24 >/dev/null 2>&1 &
xvfb=$!
home=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
sleep 1

# Milliseconds from launch of $1 until a window whose name matches $2
# exists, and the resident KiB of the program SETTLE seconds later.
one() {
  local gui=$1 name=$2
  shift 2
  rm -rf "${home:?}"/*
  local start=$(date +%s%N)
  HOME=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home DISPLAY=$display "$gui" "$@" >/dev/null 2>&1 &
  local pid=$!
  until DISPLAY=$display xdotool search --name "$name" >/dev/null 2>&1; do sleep 0.005; done
  local end=$(date +%s%N)
  sleep "${SETTLE:-2}"
  local rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null || true
  echo "$(((end - start) / 1000000)) $rss"
}

before=${QUODLE_BENCH_GUI_BEFORE:-}
empty=() loaded=() empty_kb=() loaded_kb=() before_loaded=()
for ((i = 0; i < ${REPS:-5}; i++)); do
  read -r ms kb < <(one "$gui" '^Tarnwick')
  empty+=("$ms") empty_kb+=("$kb")
  read -r ms kb < <(one "$gui" "^$w100\$" "$w100")
  loaded+=("$ms") loaded_kb+=("$kb")
  if [ -n "$before" ]; then
    read -r ms kb < <(one "$before" "^$w100\$" "$w100")
    before_loaded+=("$ms")
  fi
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
if [ -n "$before" ]; then
  awk -v a="$(median "${loaded[@]}")" -v b="$(median "${before_loaded[@]}")" \
    'BEGIN {printf "launch -> window with 100 MB, after / before: %d / %d ms = %.2f\n", a, b, a / b}'
fi
e=$(median "${empty[@]}")
l=$(median "${loaded[@]}")
echo "launch -> empty window: $e ms; launch -> window with 100 MB: $l ms (medians of ${REPS:-5})"
awk -v l="$l" -v e="$e" 'BEGIN {printf "window with 100 MB / empty window = %.2f (goal <= 1.5)\n", l / e}'
ekb=$(median "${empty_kb[@]}")
lkb=$(median "${loaded_kb[@]}")
size=$(stat -c %s "$w100")
awk -v e="$ekb" -v l="$lkb" -v s="$size" 'BEGIN {
  printf "resident: empty window %.0f MiB, window with 100 MB %.0f MiB; above the empty one = %.2f x the file (goal <= 1.3)\n",
    e / 1024, l / 1024, (l - e) * 1024 / s }'
