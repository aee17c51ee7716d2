#!/usr/bin/env bash
# Golden tests of the whole-document bracket count: each run's output must
# equal the expected file byte for byte. Usage: brackets.sh QUODLE_CLI TESTS_DATA_DIR
set -u
cli=$1
data=$2/lisp
exp=$data/expected
failed=0
passed=0

check() {  # expected-file command args...
    local want=$1
    shift
    if cmp -s <("$cli" "$@") "$exp/$want"; then
        passed=$((passed + 1))
    else
        echo "FAIL: quodle-cli $* (expected $want)"
        diff <("$cli" "$@") "$exp/$want" | head -20
        failed=$((failed + 1))
    fi
}

# More opening brackets; brackets in strings, escaped quotes, line and
# block comments do not count.
check brackets-open.txt brackets "$data/brackets-open.lsp"
check brackets-open.raw brackets --raw "$data/brackets-open.lsp"
# More closing brackets: counted again from the end.
check brackets-close.txt brackets "$data/brackets-close.lsp"
check calls.brackets.txt brackets "$data/calls.lsp"
# Full-width brackets are not list brackets; an empty file has none.
check brackets-wide.txt brackets "$data/brackets-wide.lsp"
check brackets-empty.txt brackets "$data/empty.lsp"

"$cli" brackets "$data/no-such-file.lsp" 2>/dev/null
if [ $? -eq 2 ]; then passed=$((passed + 1)); else echo "FAIL: a missing file must exit 2"; failed=$((failed + 1)); fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
