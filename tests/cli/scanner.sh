#!/usr/bin/env bash
# Golden tests of the scanner commands: each run's output must equal the
# expected file byte for byte. Usage: scanner.sh QUODLE_CLI TESTS_DATA_DIR
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
        diff <("$cli" "$@" | od -c) <(od -c "$exp/$want") | head -20
        failed=$((failed + 1))
    fi
}

check tools.strip.txt strip "$data/tools.lsp"
check tools.defuns.txt defuns "$data/tools.lsp"
check tools.defuns-padded.txt defuns --padded "$data/tools.lsp"
check tools.args-7-0.txt args "$data/tools.lsp" 7 0
check tools.locals-7-0.txt locals "$data/tools.lsp" 7 0
check tools.locals-18-0.txt locals "$data/tools.lsp" 18 0
check tools.args-19-2.txt args "$data/tools.lsp" 19 2
check tools.args-26-2.txt args "$data/tools.lsp" 26 2
check tools.args-30-0.txt args "$data/tools.lsp" 30 0
check tools.comments-7.txt comments "$data/tools.lsp" 7
check tools.comments-7.raw comments --raw "$data/tools.lsp" 7
check tools.comments-18.txt comments "$data/tools.lsp" 18
check tools.comments-32.txt comments "$data/tools.lsp" 32
check trailbytes.strip.txt strip "$data/trailbytes.lsp"
check trailbytes.strip.raw strip --raw "$data/trailbytes.lsp"
check trailbytes.defuns.txt defuns "$data/trailbytes.lsp"
check trailbytes.locals-1-0.txt locals "$data/trailbytes.lsp" 1 0

# No output at all: no argument list, no comment block (comments up to the
# top of the file; a blank line above).
for c in "args $data/tools.lsp 18 0" "locals $data/tools.lsp 19 2" "comments $data/tools.lsp 3" \
         "comments $data/tools.lsp 30" "args $data/trailbytes.lsp 1 0"; do
    # shellcheck disable=SC2086
    out=$("$cli" $c | od -c)
    if [ "$("$cli" $c | wc -c)" -eq 0 ]; then passed=$((passed + 1)); else echo "FAIL: quodle-cli $c printed:"; echo "$out"; failed=$((failed + 1)); fi
done

# Failures go to stderr with exit status 2.
err=$("$cli" strip "$data/no-such.lsp" 2>&1 >/dev/null); rc=$?
if [ $rc -eq 2 ] && [ "$err" = "quodle-cli: cannot read $data/no-such.lsp: No such file or directory" ]; then
    passed=$((passed + 1))
else
    echo "FAIL: missing file gave rc=$rc '$err'"; failed=$((failed + 1))
fi
err=$("$cli" args "$data/tools.lsp" 7 x 2>&1 >/dev/null); rc=$?
if [ $rc -eq 2 ] && [ "$err" = "quodle-cli: COL must be a number from 0: 'x'" ]; then
    passed=$((passed + 1))
else
    echo "FAIL: bad column gave rc=$rc '$err'"; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
