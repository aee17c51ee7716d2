#!/usr/bin/env bash
# Golden tests of the user-function lists: every run's output must equal the
# expected file byte for byte. Usage: userfunctions.sh QUODLE_CLI TESTS_DATA_DIR
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

check calls.jumplist.txt jumplist "$data/calls.lsp"
check calls.usecounts.txt usecounts "$data/calls.lsp"
check calls.usecounts.raw usecounts --raw "$data/calls.lsp"
check calls.unused.txt unused "$data/calls.lsp"
check calls.search-set.txt search "$data/calls.lsp" set
check calls.search-set.txt search "$data/calls.lsp" SeT
check calls.search-all.txt search "$data/calls.lsp" ""
check calls.search-zz.txt search "$data/calls.lsp" zz
check tools.jumplist.txt jumplist "$data/tools.lsp"
check tools.usecounts.txt usecounts "$data/tools.lsp"
check trailbytes.jumplist.txt jumplist "$data/trailbytes.lsp"
check trailbytes.unused.txt unused "$data/trailbytes.lsp"
check commands.jumplist.txt jumplist "$data/commands.lsp"
check commands.usecounts.txt usecounts "$data/commands.lsp"
check none.unused.txt unused "$data/commands.lsp"
check none.jumplist.txt jumplist "$data/none.lsp"
check none.usecounts.txt usecounts "$data/none.lsp"
check none.unused.txt unused "$data/none.lsp"

# The search shows nothing at all when the file has no definitions.
if [ "$("$cli" search "$data/none.lsp" x | wc -c)" -eq 0 ]; then
    passed=$((passed + 1))
else
    echo "FAIL: search in a file without definitions printed something"; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
