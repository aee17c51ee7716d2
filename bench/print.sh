#!/usr/bin/env bash
# Printing the 10 MB workload to PDF (PrintBench): layout alone as the
# baseline, rendering every page, and rendering plus writing the PDF, with
# pages per second; then the peak memory of a whole print to PDF of the
# 1 MB and the 10 MB workload, each in a child run of its own, against the
# size of the file and the number of pages (reported, not a test: memory
# should follow the text, not the pages; goal 1 000 pages <= 30 s).
# Env: QUODLE_BENCH_DIR (workloads, default print/ in the workload folder),
#      QUODLE_BENCH_MB (size, default 10), REPS (repetitions, default 1).
set -euo pipefail
export QUODLE_BENCH_BUILD=${QUODLE_BENCH_BUILD:-$(cd "$(dirname "$0")/.." && pwd)/build-bench-gui}
. "$(dirname "$0")/common.bash"
dir=${QUODLE_BENCH_DIR:-$work/print}
mb=${QUODLE_BENCH_MB:-10}
mkdir -p "$dir"
big=$dir/normal-${mb}mb.lsp
small=$dir/normal-1mb.lsp
bench_workload "$big" --mb "$mb"
bench_workload "$small" --mb 1
bench_build PrintBench -DQUODLE_GUI=ON
bin=$build/bin/PrintBench
out=$(mktemp)
trap 'rm -f "$out" "$dir"/out-*.pdf' EXIT
"$bin" "$big" --benchmark_repetitions="${REPS:-1}" >"$out" 2>&1 || { cat "$out" >&2; exit 1; }
sed -n '/^Benchmark/,$p' "$out"
echo "peak memory (resident, one child run each):"
python3 - "$bin" "$small" "$big" "$dir" <<'PY'
import os, subprocess, sys
bin, small, big, folder = sys.argv[1:]
def run(path):
    out = subprocess.run([sys.executable, "-c",
        "import resource, subprocess, sys\n"
        "r = subprocess.run(sys.argv[1:], check=True, capture_output=True, text=True)\n"
        "print(r.stdout.strip(), resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)",
        bin, "--once", path, os.path.join(folder, "out-%d.pdf" % os.getpid())],
        check=True, capture_output=True, text=True)
    pages, kb = out.stdout.split()
    return int(pages), int(kb) * 1024
(ps, ms), (pb, mbig) = run(small), run(big)
ss, sb = os.path.getsize(small), os.path.getsize(big)
for name, p, m, s in (("1 MB", ps, ms, ss), ("big", pb, mbig, sb)):
    print(f"  {name:5s} file {s / 2**20:6.1f} MB  {p:6d} pages  peak {m / 2**20:7.1f} MB = {m / s:5.2f} x file")
print(f"  big / 1 MB: pages x{pb / ps:.1f}, file x{sb / ss:.1f}, peak memory x{mbig / ms:.2f}")
PY
