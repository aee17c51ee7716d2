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
"$cli" print --pdf /dev/full "$tmp/doc.lsp" >"$tmp/full.out" 2>"$tmp/full.err"
expect "a device as output: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
expect "a device as output: no page count" "$([ -s "$tmp/full.out" ] && echo 1 || echo 0)"
# A disk that fills up while the PDF is written (a file-size limit stands
# in for it): exit 2, and the earlier PDF is still whole.
cp "$tmp/one.pdf" "$tmp/old.pdf"
(ulimit -f 8 && "$cli" print --pdf "$tmp/old.pdf" "$tmp/doc.lsp") >/dev/null 2>"$tmp/limit.err"
expect "disk full: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -qF "cannot write $tmp/old.pdf: File too large" "$tmp/limit.err"
expect "disk full: told ($(cat "$tmp/limit.err"))" $?
cmp -s "$tmp/one.pdf" "$tmp/old.pdf"
expect "disk full: the earlier PDF is untouched" $?
expect "disk full: no temporary file left" "$([ "$(ls -A "$tmp" | grep -c quodle-)" -eq 0 ] && echo 0 || echo 1)"

# Numbers outside what the command can do are refused, not clamped.
for n in 0 4 2147483647 -1 x; do
  fails_with "quodle-cli: --columns must be a number from 1 to 3: '$n'" print --pdf "$tmp/n.pdf" --columns "$n" "$tmp/doc.lsp"
done

finish
