# What the benchmark scripts share (sourced, not run): the optimised build of
# one benchmark program in its own folder, and a run whose repetitions go to
# a JSON file for the script's report.
# Env: QUODLE_BENCH_BUILD (build folder, default build-bench),
#      REPS (repetitions, default 5; the medians are compared).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUODLE_BENCH_BUILD:-$root/build-bench}

# Builds TARGET with the optimisation of the shipped build (-O2); configured
# every time so that a folder left in another build type is brought back.
# Further arguments go to the configuration (they win over the defaults).
bench_build() {
  local target=$1
  shift
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUODLE_BENCH=ON \
    -DQUODLE_GUI=OFF -DQUODLE_TESTS=OFF "$@" >/dev/null
  cmake --build "$build" -j2 --target "$target" >/dev/null
}

# Runs TARGET with REPS repetitions, aggregates only, into the file JSON.
bench_run() {
  "$build/bin/$1" --benchmark_repetitions="${REPS:-5}" --benchmark_report_aggregates_only=true \
    --benchmark_out="$2" --benchmark_out_format=json >/dev/null
}

# The workloads come from bench/gen_workload.py. By default they live in a
# folder named after the generator's contents, so a changed generator never
# meets the files of an older one (QUODLE_BENCH_WORK names another folder).
gen_workload=$root/bench/gen_workload.py
work=${QUODLE_BENCH_WORK:-${TMPDIR:-/tmp}/quodle-workloads-$(sha1sum "$gen_workload" | cut -c1-10)}

# Makes PATH, a workload of the generator's size arguments (--mb N or
# --bytes N, seed 1), unless it is there. Workloads of the same arguments
# are made once and linked: several scripts ask for the same 100 MB.
bench_workload() {
  local path=$1
  shift
  [ -s "$path" ] && return 0
  local made
  made=$work/.made/$(printf '%s' "$*" | tr -c 'A-Za-z0-9.' _).lsp
  mkdir -p "$work/.made" "$(dirname "$path")"
  if [ ! -s "$made" ]; then
    python3 "$gen_workload" "$@" --seed 1 --out "$made.$$"
    mv "$made.$$" "$made"
  fi
  ln -f "$made" "$path" 2>/dev/null || cp "$made" "$path"
}

# Sets w10 and w100 to the 10 MB and 100 MB workloads (QUODLE_BENCH_W10 and
# QUODLE_BENCH_W100, else in the workload folder), made when missing.
bench_workloads_10_100() {
  w10=${QUODLE_BENCH_W10:-$work/w10.lsp}
  w100=${QUODLE_BENCH_W100:-$work/w100.lsp}
  bench_workload "$w10" --mb 10
  bench_workload "$w100" --mb 100
}
