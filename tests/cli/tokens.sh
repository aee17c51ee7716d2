#!/usr/bin/env bash
# Golden test of `quodle-cli tokens`: the fixture's rows cut into tokens
# (row, byte offset, length, kind code), states carried from row to row;
# --raw ends each line with CR LF; bad input exits 2.
set -u
cli=$1
data=$2/tokenizer
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() {  # name, condition result
  if [ "$2" -ne 0 ]; then echo "FAIL: $1"; fail=1; fi
}

"$cli" tokens "$data/sample.lsp" >"$tmp/out" 2>"$tmp/err"
check "exit status" $?
diff "$data/sample.tokens" "$tmp/out"
check "tokens differ from sample.tokens" $?
check "stderr not empty" "$([ -s "$tmp/err" ] && echo 1 || echo 0)"

"$cli" tokens --raw "$data/sample.lsp" >"$tmp/raw"
sed 's/$/\r/' "$data/sample.tokens" | cmp -s - "$tmp/raw"
check "--raw: CR LF after each line" $?

# An empty file has no tokens.
: >"$tmp/empty.lsp"
"$cli" tokens "$tmp/empty.lsp" >"$tmp/empty.out"
check "empty file: exit status" $?
check "empty file: output" "$([ -s "$tmp/empty.out" ] && echo 1 || echo 0)"

"$cli" tokens "$tmp/missing.lsp" >"$tmp/out" 2>"$tmp/err"
check "missing: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -qF "$tmp/missing.lsp: No such file or directory" "$tmp/err"
check "missing: path and reason on stderr" $?
"$cli" tokens >"$tmp/out" 2>"$tmp/err"
check "no file: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"

exit $fail
