#!/usr/bin/env bash
# What load-expr prints: the exact text each target is handed for a file.
# Usage: loadexpr.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"

same() {  # name, expected-file, command args...: the output equals the file byte for byte
    local name=$1 want=$2
    shift 2
    "$cli" "$@" >"$tmp/out"
    expect "$name: $(od -c "$tmp/out" | head -5)" "$(cmp -s "$tmp/out" "$want" && echo 0 || echo 1)"
}

lisp_string() {  # text: its inside of a LISP string, backslashes and quotes escaped
    local p=${1//\\/\\\\}
    printf '%s' "${p//\"/\\\"}"
}

# A folder whose name holds a blank, and ソ, whose Shift-JIS form ends in the
# byte of a backslash.
mkdir -p "$tmp/My Tools/ソフト" "$tmp/back\\slash" "$tmp/q\"uote"
doc="$tmp/My Tools/ソフト/tool.lsp"
printf '(princ)\r\n' >"$doc"
shown=$(native "$doc")

printf '\003(load "%s")(princ)\r' "$(lisp_string "$shown")" >"$tmp/acad"
same "AutoCAD: Ctrl+C, the expression, CR" "$tmp/acad" load-expr --target acad "$doc"
printf '(load "%s")(princ)\r' "$(lisp_string "$shown")" >"$tmp/bcad"
same "BricsCAD: no Ctrl+C" "$tmp/bcad" load-expr --target bcad "$doc"
printf '%s' "$shown" >"$tmp/plain"
same "IntelliCAD: the plain path" "$tmp/plain" load-expr --target icad "$doc"
same "ZwCAD: the plain path" "$tmp/plain" load-expr --target zcad "$doc"
# A relative name is the absolute path the program records.
abs=$(readlink -f "$cli")
(cd "$tmp/My Tools" && "$abs" load-expr --target icad "./ソフト/../ソフト/tool.lsp") >"$tmp/out"
expect "relative name" "$(cmp -s "$tmp/out" "$tmp/plain" && echo 0 || echo 1)"

# Shift-JIS: the real backslashes are doubled, ソ keeps its 0x5C byte. (On
# Windows every separator is such a backslash, and none can be in a name.)
odd="$tmp/back\\slash/ソフト.lsp"
[ -n "$windows" ] && odd="$tmp/ソフト.lsp"
printf 'x' >"$odd"
printf '\003(load "%s")(princ)\r' "$(lisp_string "$(native "$odd")")" | iconv -f UTF-8 -t CP932 >"$tmp/acad.raw"
same "Shift-JIS bytes" "$tmp/acad.raw" load-expr --raw --target acad "$odd"
expect "ソ is 83 5C once" "$(od -An -tx1 "$tmp/acad.raw" | tr -d '\n' | grep -q '83 5c 83 74' && echo 0 || echo 1)"

# A quote cannot end the string early (Windows allows none in a name).
if [ -z "$windows" ]; then
    quoted="$tmp/q\"uote/a.lsp"
    printf 'x' >"$quoted"
    printf '(load "%s")(princ)\r' "$tmp/q\\\"uote/a.lsp" >"$tmp/quoted"
    same "quote escaped" "$tmp/quoted" load-expr --target bcad "$quoted"
fi

# A modified document is loaded from temp.lsp beside the program.
printf '\003(load "%s")(princ)\r' "$(lisp_string "$(native "$(dirname "$abs")/temp.lsp")")" >"$tmp/modified"
same "modified: the temporary file" "$tmp/modified" load-expr --modified --target acad "$doc"

fails_with "quodle-cli: $(native "$tmp/none.lsp")が見つかりません." load-expr --target acad "$tmp/none.lsp"
# é has no Shift-JIS form: the Windows program could not send it.
printf 'x' >"$tmp/caf$(printf '\303\251').lsp"
fails_with "quodle-cli: $(native "$tmp/caf$(printf '\303\251').lsp")が見つかりません." load-expr --raw --target acad "$tmp/caf$(printf '\303\251').lsp"
fails_with "" load-expr --target autocad "$doc"
fails_with "" load-expr "$doc"

finish
