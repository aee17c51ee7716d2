#!/usr/bin/env bash
# Tokenizer benchmark: tokenizing every row of the 100 MB workload (what
# quodle-cli tokens does, without printing) against a memchr line count and
# against the Scintilla LISP lexer on the same file, all in one run; and the
# cost of bracket depth colours, colouring and row states with them on
# against the same with them off.
# The Scintilla peer needs Debian's libqscintilla2-qt6-dev (a measuring peer
# only; nothing of ours links it) and its driver (QUODLE_BENCH_PEERS).
# Without them that ratio is skipped.
# Env: RUNS (default 3) repetitions / peer runs, medians are printed;
#      QUODLE_BENCH_TOKENIZER_BEFORE (an older TokenizerBench, whose
#      tokenize-rows time is measured in the same run, interleaved with
#      this build's, 3 x RUNS times each: after / before).
set -euo pipefail
. "$(dirname "$0")/common.bash"
bench_build TokenizerBench
bin=$build/bin/TokenizerBench
big=$work/big.lsp
runs=${RUNS:-3}
bench_workload "$big" --mb 100
cat "$big" >/dev/null  # in the page cache for every pass

json=$(mktemp)
peer=$(mktemp)
trap 'rm -f "$json" "$peer"' EXIT
"$bin" "$big" --benchmark_repetitions="$runs" --benchmark_out="$json" --benchmark_out_format=json "$@" >&2

# Scintilla's lexer over the same bytes in its own Shift-JIS mode (code page
# 932); "lex" is SCI_COLOURISE over the loaded document.
# The peer's driver is not part of the project: QUODLE_BENCH_PEERS names its
# folder; without it the figure is skipped.
peers=${QUODLE_BENCH_PEERS:-/work/shared/tools/peers}
qtinc=$(pkg-config --variable=includedir Qt6Core 2>/dev/null || true)
if [ ! -f "$peers/scintilla/build.sh" ]; then
  echo "(no peer driver in $peers: no Scintilla figure)" >&2
elif [ -n "$qtinc" ] && [ -e "$qtinc/Qsci/qsciscintilla.h" ]; then
  export PEERS_BUILD=${PEERS_BUILD:-/tmp/quodle-peers-build}
  sh "$peers/scintilla/build.sh" >&2
  for ((i = 0; i < runs; i++)); do
    QT_QPA_PLATFORM=offscreen "$PEERS_BUILD/sci_bench" "$big" dbcs '*pts-table*' 1 2>/dev/null |
      tr ' ' '\n' | sed -n 's/^lex=//p' >>"$peer"
  done
else
  echo "(libqscintilla2-qt6-dev not installed: no Scintilla figure)" >&2
fi

python3 - "$json" "$peer" "$runs" <<'PY'
import json, statistics, sys
bench = json.load(open(sys.argv[1]))["benchmarks"]
runs = {b["run_name"]: b for b in bench if b.get("aggregate_name") == "median"}
def ms(name, key="cpu_time"):
    b = runs[name]
    return b[key] * {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
def report(line):
    try:
        print(line())
    except KeyError as missing:  # a filtered run: that ratio has no inputs
        print("(no figure: %s not run)" % missing)
report(lambda: "tokenize rows in memory: %.0f ms; memchr line count: %.1f ms; ratio %.2f (goal <= 6)"
       % (ms("TokenizeRows"), ms("MemchrLineCount"), ms("TokenizeRows") / ms("MemchrLineCount")))
report(lambda: "tokens command without printing (load + tokenize): %.0f ms; read + memchr line count: %.1f ms; ratio %.2f"
       % (ms("TokensCommand"), ms("LineCountFile"), ms("TokensCommand") / ms("LineCountFile")))
report(lambda: "colouring with bracket depth colours: %.0f ms; off: %.0f ms; ratio %.3f (goal <= 1.10)"
       % (ms("ColourRowsDepth"), ms("ColourRows"), ms("ColourRowsDepth") / ms("ColourRows")))
report(lambda: "row states keeping bracket depths: %.0f ms; without: %.0f ms; ratio %.3f (goal <= 1.10)"
       % (ms("RowStatesDepth"), ms("RowStates"), ms("RowStatesDepth") / ms("RowStates")))
lex = [float(x) for x in open(sys.argv[2]).read().split()]
if lex:
    sci = statistics.median(lex) * 1000
    # The peer reports wall time only: compare it with our wall time.
    report(lambda: "Scintilla LISP lexer (code page 932): %.0f ms wall; tokenize rows %.0f ms wall; ratio %.2f (goal >= 2)"
           % (sci, ms("TokenizeRows", "real_time"), sci / ms("TokenizeRows", "real_time")))
print("(medians of %s runs; the memchr ratios compare cpu times)" % sys.argv[3])
PY

# A few per cent of change is less than the machine's own drift from one
# run to the next (other work, a shared core): the two builds take turns,
# one process each, and the ratio of their medians is printed.
before=${QUODLE_BENCH_TOKENIZER_BEFORE:-}
if [ -n "$before" ]; then
  turns=$(mktemp)
  trap 'rm -f "$json" "$peer" "$turns"' EXIT
  for ((i = 0; i < 3 * runs; i++)); do
    for b in "$bin" "$before"; do
      printf '%s ' "$b" >>"$turns"
      "$b" "$big" --benchmark_filter='^TokenizeRows$' --benchmark_min_time=0.3 --benchmark_format=json 2>/dev/null |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["benchmarks"][0]["cpu_time"])' >>"$turns"
    done
  done
  python3 - "$turns" "$bin" <<'PY'
import statistics, sys
times = {}
for line in open(sys.argv[1]):
    name, t = line.split()
    times.setdefault(name == sys.argv[2], []).append(float(t))
after, before = statistics.median(times[True]), statistics.median(times[False])
print("tokenize rows, this build / QUODLE_BENCH_TOKENIZER_BEFORE: %.3f (medians of %d interleaved runs each; best %.3f)"
      % (after / before, len(times[True]), min(times[True]) / min(times[False])))
PY
fi
