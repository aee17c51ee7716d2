#!/usr/bin/env bash
# Golden test of `quodle-cli tokens`: the fixture's rows cut into tokens
# (row, byte offset, length, kind code), states carried from row to row;
# --raw ends each line with CR LF; bad input exits 2.
source "$(dirname "$0")/golden.bash"
data=$2/tokenizer

"$cli" tokens "$data/sample.lsp" >"$tmp/out" 2>"$tmp/err"
expect "exit status" $?
diff "$data/sample.tokens" "$tmp/out"
expect "tokens differ from sample.tokens" $?
# The sample ends in a Ctrl+Z with text behind it: told, never tokenized.
[ "$(cat "$tmp/err")" = "$data/sample.lsp: line 14: the 12 bytes from Ctrl+Z on are not analysed or shown; --raw writes them back" ]
expect "stderr: only the note of the Ctrl+Z" $?

"$cli" tokens --raw "$data/sample.lsp" >"$tmp/raw"
sed 's/$/\r/' "$data/sample.tokens" | cmp -s - "$tmp/raw"
expect "--raw: CR LF after each line" $?

# An empty file has no tokens.
: >"$tmp/empty.lsp"
"$cli" tokens "$tmp/empty.lsp" >"$tmp/empty.out"
expect "empty file: exit status" $?
expect "empty file: output" "$([ -s "$tmp/empty.out" ] && echo 1 || echo 0)"

"$cli" tokens "$tmp/missing.lsp" >"$tmp/out" 2>"$tmp/err"
expect "missing: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -qF "$tmp/missing.lsp: No such file or directory" "$tmp/err"
expect "missing: path and reason on stderr" $?
"$cli" tokens >"$tmp/out" 2>"$tmp/err"
expect "no file: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"

finish
