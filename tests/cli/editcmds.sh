#!/usr/bin/env bash
# Golden tests of the commands that rewrite a document: the debug lines, the
# white-space conversions and commenting one line. Each prints the whole new
# document as a save writes it, keeping whether the file ended with a break.
# Usage: editcmds.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/editcmds
exp=$data/expected
d=$data/debug.lsp
b=$data/blanks.lsp

# Watch and break lines above the caret's line, indented as it (a tab and two
# blanks), numbered after the largest (1 and 5: 6; break 3: 4). Past the
# last line the new line comes last, and the text still ends without a break.
golden debug.add-watch.txt debug --op add-watch --line 3 --name 表 "$d"
golden debug.add-watch.raw debug --raw --op add-watch --line 3 --name 表 "$d"
golden debug.add-break.txt debug --op add-break --line 8 "$d"
golden debug.add-break-end.txt debug --op add-break --line 9 "$d"
golden debug.next-pv.txt debug --op next --group pv "$d"
golden debug.next-bp.txt debug --op next --group bp "$d"
# The groups: a line already commented stays; re-enabling removes every
# leading semicolon; a marker in the user's own comment counts.
golden debug.comment-pv.txt debug --op comment --group pv "$d"
golden debug.uncomment-pv.txt debug --op uncomment --group pv "$d"
golden debug.comment-bp.txt debug --op comment --group bp "$d"
golden debug.delete-bp.txt debug --op delete --group bp "$d"
golden debug.delete-pv.txt debug --op delete --group pv "$d"
# One line: ";" before the indentation; one ";" of two removed.
golden debug.comment-3.txt comment --line 3 "$d"
golden debug.uncomment-5.txt uncomment --line 5 "$d"

# Conversions with the tab width 4 (the editor's default) and 8: tab stops
# by display column (a tab already in the line runs to its stop), full-width
# blanks only as whole characters.
golden blanks.tabs-to-blanks.txt convert --op tabs-to-blanks "$b"
golden blanks.tabs-to-blanks-8.txt convert --op tabs-to-blanks --tab 8 "$b"
golden blanks.lead-blanks-to-tabs.txt convert --op lead-blanks-to-tabs --tab 4 "$b"
golden blanks.runs-to-tabs.txt convert --op runs-to-tabs "$b"
golden blanks.blanks-to-tabs.txt convert --op blanks-to-tabs "$b"
golden blanks.fullwidth-blanks.txt convert --op fullwidth-blanks "$b"
golden blanks.fullwidth-blanks.raw convert --raw --op fullwidth-blanks "$b"
# A conversion that changes nothing gives the file back byte for byte.
"$cli" convert --raw --op fullwidth-blanks "$d" >"$tmp/same"
expect "unchanged document is byte-identical" "$(cmp -s "$tmp/same" "$d"; echo $?)"

fails_with "" debug --op add-watch --line 3 "$d"
fails_with "" debug --op add-break --line 10 "$d"
fails_with "" debug --op add-break --line 0 "$d"
fails_with "" debug --op comment --group xx "$d"
fails_with "" debug --op frobnicate --group pv "$d"
fails_with "" convert --op sideways "$b"
# Tab widths outside the editor's own range are refused at once, however
# large (a width of 2^31 once took gigabytes before it failed).
for n in -1 0 33 2147483647 99999999999 4x; do
  fails_with "quodle-cli: --tab must be a number from 1 to 32: '$n'" convert --op runs-to-tabs --tab "$n" "$b"
done
fails_with "" comment "$d"
fails_with "" uncomment --line 2 "$data/no-such-file.lsp"

finish
