#!/usr/bin/env bash
# `quodle-cli print`: a document written to PDF whose text poppler reads
# back (Japanese as Japanese, line numbers), columns that fold the pages,
# and errors that leave no file behind; quiet without a runtime folder.
source "$(dirname "$0")/golden.bash"

# The Windows build has no renderer without Qt: it says so.
if [ -n "$windows" ]; then
  printf '(princ)\r\n' >"$tmp/doc.lsp"
  fails_with "quodle-cli: print is not available in this build: it draws its pages with the window's code (Qt), which this quodle-cli was built without" \
    print --pdf "$tmp/one.pdf" "$tmp/doc.lsp"
  expect "unavailable: no file" "$([ -e "$tmp/one.pdf" ] && echo 1 || echo 0)"
  finish
  exit
fi

for i in $(seq 1 300); do printf "(setq v%d \"値\") ; 説明\r\n" "$i"; done | iconv -f UTF-8 -t CP932 >"$tmp/doc.lsp"

# Run as from a cron job: no runtime folder in the environment. Nothing on
# stderr, and the private folder made for the toolkit is gone afterwards.
mkdir "$tmp/scratch"
env -u XDG_RUNTIME_DIR TMPDIR="$tmp/scratch" "$cli" print --pdf "$tmp/one.pdf" --columns 1 "$tmp/doc.lsp" \
  >"$tmp/one.out" 2>"$tmp/one.err"
expect "one column: exit status" $?
expect "no runtime folder: stderr clean ($(head -c 200 "$tmp/one.err"))" "$([ -s "$tmp/one.err" ] && echo 1 || echo 0)"
expect "no runtime folder: nothing left behind" "$([ -z "$(ls -A "$tmp/scratch")" ] && echo 0 || echo 1)"
one=$(pdfinfo "$tmp/one.pdf" | awk '/^Pages:/ {print $2}')
expect "one column: page count printed" "$([ "$(cat "$tmp/one.out")" = "$one pages" ] && echo 0 || echo 1)"
pdftotext "$tmp/one.pdf" "$tmp/one.txt"
grep -q '^1:(setq v1 "値") ; 説明$' "$tmp/one.txt"
expect "first line with its number, Japanese as text" $?
grep -q '^300:(setq v300 "値") ; 説明$' "$tmp/one.txt"
expect "last line with its number" $?

"$cli" print --pdf "$tmp/three.pdf" --columns 3 --no-color "$tmp/doc.lsp" >/dev/null
expect "three columns: exit status" $?
three=$(pdfinfo "$tmp/three.pdf" | awk '/^Pages:/ {print $2}')
expect "three columns take a third of the pages ($one -> $three)" \
  "$([ "$three" -eq $(((one + 2) / 3)) ] && echo 0 || echo 1)"

"$cli" print "$tmp/doc.lsp" >/dev/null 2>"$tmp/nopdf.err"
expect "no --pdf: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
"$cli" print --pdf "$tmp/missing.pdf" "$tmp/no-such.lsp" >/dev/null 2>"$tmp/missing.err"
expect "unreadable source: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
expect "unreadable source: no file" "$([ -e "$tmp/missing.pdf" ] && echo 1 || echo 0)"
"$cli" print --pdf "$tmp/no-dir/out.pdf" "$tmp/doc.lsp" >/dev/null 2>"$tmp/nodir.err"
expect "unwritable output: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"

finish
