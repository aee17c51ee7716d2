#!/usr/bin/env bash
# Builds the project-analysis benchmark, makes its workload (a folder of
# 2 000 files, 100 MB, calls between files; bench/gen_workload.py --project)
# if it is missing, and prints the time of the whole-project analysis as a
# ratio of the single-file analyses over the same files in one process (goal
# <= 1.5), how much of both cores it used, and its peak heap against the
# largest file plus what it keeps (goal < 1.3 x the largest file + that).
# Env: QUODLE_BENCH_PROJECT (the folder, default in the workload folder),
#      REPS (repetitions, default 5; the medians are compared).
set -euo pipefail
. "$(dirname "$0")/common.bash"
dir=${QUODLE_BENCH_PROJECT:-$work/project-2000}
if [ ! -d "$dir" ]; then
  mkdir -p "$(dirname "$dir")"
  python3 "$gen_workload" --project "$dir.$$" --files 2000 --mb 100 --seed 1
  mv "$dir.$$" "$dir"
fi
export QUODLE_BENCH_PROJECT=$dir
export QUODLE_BENCH_FUNCTIONS="$root/data/AutoLISPFunction.txt"
export QUODLE_BENCH_JOGAI="$root/data/JogaiList.txt"
bench_build ProjectBench
json=$(mktemp)
memory=$(mktemp)
trap 'rm -f "$json" "$memory"' EXIT
"$build/bin/ProjectBench" --benchmark_filter='BM_(SingleFile|ProjectAnalysis)' --benchmark_repetitions="${REPS:-5}" \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json >/dev/null
# Alone in its process, so that the peak resident size is the analysis's.
"$build/bin/ProjectBench" --benchmark_filter=BM_ProjectMemory --benchmark_out="$memory" \
  --benchmark_out_format=json >/dev/null
python3 - "$json" "$memory" "$dir" <<'PY'
import json, os, sys
med = {}
for r in json.load(open(sys.argv[1]))["benchmarks"]:
    if r.get("aggregate_name") == "median":
        med[r["run_name"].split("/real_time")[0].replace("/process_time", "")] = r
mem = json.load(open(sys.argv[2]))["benchmarks"][0]
size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(sys.argv[3]) for f in fs)
single = med["BM_SingleFileAnalyses"]
files = int(single["files"])
print(f"workload: {files} files, {size / 1e6:.1f} MB")
print(f"single-file analyses, one file after the other: {single['real_time']:.0f} ms wall, {single['cpu_time']:.0f} ms CPU")
for threads in ("1", "2"):
    p = med[f"BM_ProjectAnalysis/{threads}"]
    print(f"project analysis, {threads} worker(s): {p['real_time']:.0f} ms wall = {p['real_time'] / single['real_time']:.2f} x "
          f"the single-file analyses (goal <= 1.5); CPU {p['cpu_time']:.0f} ms = {p['cpu_time'] / p['real_time']:.2f} cores busy; "
          f"{int(p['findings'])} findings between files, {int(p['variables'])} of the files' variable checks")
peak, kept, largest = mem["peak_bytes"], mem["kept_bytes"], mem["largest_file"]
print(f"memory (heap, 2 workers): peak {peak / 1e6:.2f} MB; kept afterwards {kept / 1e6:.2f} MB "
      f"(summaries {mem['summary_bytes'] / 1e6:.2f} MB, findings and report {mem['findings_bytes'] / 1e6:.2f} MB); "
      f"largest file {largest / 1e6:.3f} MB")
print(f"  peak / (1.3 x largest file + kept) = {peak / (1.3 * largest + kept):.2f} (goal < 1);"
      f" peak above what is kept = {(peak - kept) / largest:.2f} x the largest file")
print(f"  peak resident size above the start: {mem['peak_rss_growth'] / 1e6:.1f} MB")
PY
