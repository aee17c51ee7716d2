#!/usr/bin/env bash
# The first start from a fresh clone: the build scripts/run.sh makes (the
# program and its word lists) against a build of everything (the tests and
# benchmarks too: what run.sh built before, and test.sh's first step), each
# in a clone of its own with an empty compiler cache, one after the other
# in one run. Prints wall-clock and CPU time (user + system of the whole
# build) of both and their ratios; CPU time is the steadier figure on a
# machine shared with other work.
# Env: QUODLE_BENCH_CLONE (what to clone, default this repository's HEAD).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source=${QUODLE_BENCH_CLONE:-$root}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$root/scripts/setup-deps.sh"

# One timed build: configure as build.sh does, then the given targets.
timed() {  # name, targets...
  local name=$1
  shift
  git clone -q "$source" "$work/$name"
  mkdir -p "$work/$name-ccache"
  CCACHE_DIR=$work/$name-ccache /usr/bin/time -f "%e %U %S" -o "$work/$name.time" \
    bash -c 'dir=$1 && shift && cmake -S "$dir" -B "$dir/build" -G Ninja -DQUODLE_WERROR=ON >/dev/null &&
             cmake --build "$dir/build" -j"$(nproc)" "$@" >/dev/null' timed "$work/$name" "$@"
  echo "$name: load $(cut -d' ' -f1-3 /proc/loadavg)" >&2
}
timed program --target quodle
timed everything
python3 - "$work/program.time" "$work/everything.time" <<'PY'
import sys
(pw, pu, ps), (ew, eu, es) = ([float(x) for x in open(p).read().split()] for p in sys.argv[1:])
print(f"program only:  wall {pw / 60:5.1f} min, cpu {(pu + ps) / 60:5.1f} min")
print(f"everything:    wall {ew / 60:5.1f} min, cpu {(eu + es) / 60:5.1f} min")
print(f"program / everything: wall {pw / ew:.2f}, cpu {(pu + ps) / (eu + es):.2f}")
PY
