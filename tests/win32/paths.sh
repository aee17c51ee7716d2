#!/usr/bin/env bash
# quodle-cli.exe and the names Windows users give it: a drive letter and
# backslashes, relative names with backslashes, Japanese file and folder
# names (which the ANSI code page of a Western Windows could not hold),
# files with CR LF and with LF. Runs under Wine (tests/win32/wine.sh).
# Usage: paths.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/../cli/golden.bash"
rows=$2/rowstore
exp=$2/lisp/expected

mkdir -p "$tmp/資料 フォルダ/下位"
folder=$(native "$tmp/資料 フォルダ")
for n in crlf lf; do
  cp "$rows/$n.lsp" "$tmp/資料 フォルダ/下位/表示_$n.lsp"
  # The bytes a save writes: the file's own line break kept.
  "$cli" text --raw "$folder\\下位\\表示_$n.lsp" | cmp -s - "$rows/$n.expected"
  expect "$n: text --raw by drive letter and backslashes" $?
done
cp "$2/lisp/tools.lsp" "$tmp/資料 フォルダ/ツール.lsp"
golden tools.jumplist.txt jumplist "$folder\\ツール.lsp"
# A name relative to the working folder, with backslashes.
(cd "$tmp/資料 フォルダ" && "$cli" jumplist '.\下位\..\ツール.lsp') | cmp -s - "$exp/tools.jumplist.txt"
expect "relative name with backslashes" $?
# Forward slashes name the same file.
golden tools.jumplist.txt jumplist "${folder//\\//}/ツール.lsp"

# What load-expr hands a CAD for such a name: the path as Windows writes it,
# Shift-JIS, backslashes doubled only inside the expression.
printf '\003(load "%s")(princ)\r' "${folder//\\/\\\\}\\\\ツール.lsp" | iconv -f UTF-8 -t CP932 >"$tmp/acad"
"$cli" load-expr --raw --target acad "$folder\\ツール.lsp" | cmp -s - "$tmp/acad"
expect "load-expr: Shift-JIS expression of a Japanese path" $?
printf '%s\\ツール.lsp' "$folder" | iconv -f UTF-8 -t CP932 >"$tmp/icad"
"$cli" load-expr --raw --target icad "$folder\\ツール.lsp" | cmp -s - "$tmp/icad"
expect "load-expr: the plain path for automation" $?

# Errors name the file as it was given.
fails_with "quodle-cli: cannot read $folder\\無い.lsp: No such file or directory" text "$folder\\無い.lsp"
fails_with "quodle-cli: cannot read $folder: Is a directory" text "$folder"

finish
