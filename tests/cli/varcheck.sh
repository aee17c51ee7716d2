#!/usr/bin/env bash
# Golden tests of the variable commands: each run's output must equal the
# expected file byte for byte, and the exit status must be the one the
# check gates a build with. Usage: varcheck.sh QUODLE_CLI TESTS_DATA_DIR
set -u
cli=$1
data=$2/lisp
exp=$data/expected
jogai=$data/varcheck.jogai.txt
failed=0
passed=0

check() {  # expected-file expected-status command args...
    local want=$1 status=$2
    shift 2
    local out rc
    out=$(mktemp)
    "$cli" "$@" >"$out"
    rc=$?
    if cmp -s "$out" "$exp/$want" && [ "$rc" -eq "$status" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: quodle-cli $* (expected $want, status $status; got status $rc)"
        diff <(od -c "$out") <(od -c "$exp/$want") | head -20
        failed=$((failed + 1))
    fi
    rm -f "$out"
}

check varcheck.check.txt 1 check --jogai "$jogai" "$data/varcheck.lsp"
check varcheck.check.raw 1 check --raw --jogai="$jogai" "$data/varcheck.lsp"
check varcheck.check-prefix.txt 1 check --no-star --no-gb --prefix lo --jogai "$jogai" "$data/varcheck.lsp"
check varcheck.vars.txt 0 vars --jogai "$jogai" "$data/varcheck.lsp"
check nofindings.txt 0 check --jogai "$jogai" "$data/varclean.lsp"
check nofindings.raw 0 check --raw --jogai "$jogai" "$data/varclean.lsp"
check nofindings.txt 0 check --jogai "$jogai" "$data/empty.lsp"
check novariables.txt 0 vars --jogai "$jogai" "$data/empty.lsp"

# Errors: exit status 2, a message on stderr and nothing on stdout.
for c in "check $data/missing.lsp" "check --jogai $data/missing.txt $data/varcheck.lsp" \
         "vars --jogai $data/missing.txt $data/varcheck.lsp" "check" "check --bogus $data/varcheck.lsp" \
         "vars $data/varcheck.lsp $data/varclean.lsp"; do
    # shellcheck disable=SC2086
    out=$("$cli" $c 2>/dev/null)
    rc=$?
    # shellcheck disable=SC2086
    err=$("$cli" $c 2>&1 >/dev/null)
    if [ "$rc" -eq 2 ] && [ -z "$out" ] && [ -n "$err" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: quodle-cli $c: status $rc, stdout '$out', stderr '$err'"
        failed=$((failed + 1))
    fi
done

echo "varcheck: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
