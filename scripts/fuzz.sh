#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang (the engine with
# AddressSanitizer and UBSan) and runs each for a given time, one after the
# other; prints each target's executions and stops at the first finding.
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [TARGET...]
#
#   -t SECONDS  time per target (default 60); CI runs a few seconds each
#   -r RUNS     executions per target instead of a time
#   TARGET      names of tests/fuzz/*.cpp without .cpp (default: all)
# Each target keeps its corpus in build-fuzz/corpus/TARGET between runs, so
# later runs start from what earlier ones found; the inputs checked in as
# tests/fuzz/seeds/TARGET are read too (never written), so a short run on a
# fresh clone starts deep. A crashing input is kept as
# build-fuzz/findings/TARGET-crash-* and the script exits 1.
# Env: QUODLE_FUZZ_BUILD (build folder, default build-fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUODLE_FUZZ_BUILD:-$root/build-fuzz}
seconds=60
runs=
while getopts "t:r:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) sed -n '2,16p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

bash "$root/scripts/setup-deps.sh" --fuzz
if [ ! -f "$build/build.ninja" ]; then
  CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUODLE_FUZZ=ON >/dev/null
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >"$build/build.log" 2>&1 ||
  { tail -30 "$build/build.log" >&2; exit 2; }

mkdir -p "$build/findings"
limit=(-max_total_time="$seconds")
[ -n "$runs" ] && limit=(-runs="$runs")
status=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/tests/fuzz/seeds/$t" ] && seeds=("$root/tests/fuzz/seeds/$t")
  log=$build/findings/$t.log
  # One process, no forks: the executions it prints are all of them.
  if "$build/bin/$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$t-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see $log)"
    status=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  per=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  printf '%-22s %10s executions  %7s/s  corpus %5d  %s\n' "$t" "${execs:-?}" "${per:-?}" \
    "$(find "$corpus" -type f | wc -l)" "$result"
  # The report, its stack and the saved input's name, for a log read elsewhere (CI).
  [ "$status" -eq 0 ] || { tail -n 40 "$log" >&2; break; }
done
exit $status
