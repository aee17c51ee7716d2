#!/usr/bin/env bash
# Golden tests of the reference commands: the pick-list lines of a list for a
# prefix, and the document with its system-variable names upper-cased.
# Usage: reference.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/reference
exp=$data/expected

# A run starts at a head that begins with the prefix and takes its detail
# lines (TABs as two blanks); it goes on through heads holding the prefix.
golden lookup-get.txt lookup --list "$data/functions.txt" get
golden lookup-an.txt lookup --list "$data/functions.txt" an
golden lookup-g.txt lookup --list "$data/functions.txt" g
golden lookup-all.txt lookup --list "$data/functions.txt" ""
golden lookup-os.raw lookup --raw --list="$data/sysvars.txt" OS
# "target-of" holds "et" but does not begin with it.
silent lookup --list "$data/functions.txt" et
# The shipped lists beside the program.
"$cli" lookup --functions getvar | head -1 >"$tmp/getvar.txt"
expect "the shipped function list names getvar" "$(grep -qx 'getvar varname)' "$tmp/getvar.txt"; echo $?)"
"$cli" lookup --sysvars OSMODE | head -1 >"$tmp/osmode.txt"
expect "the shipped system variables hold OSMODE" "$(grep -q '^OSMODE \[' "$tmp/osmode.txt"; echo $?)"

# Only quoted, whole, listed names before a comment; spelled as the list
# spells them; the message on stderr.
golden upcase.txt upcase-sysvars --words "$data/words.txt" "$data/upcase.lsp"
golden upcase.raw upcase-sysvars --raw --words "$data/words.txt" "$data/upcase.lsp"
"$cli" upcase-sysvars --words "$data/words.txt" "$data/upcase.lsp" 2>"$tmp/message.txt" >/dev/null
expect "the count message" "$(cmp -s "$tmp/message.txt" "$exp/upcase.message.txt"; echo $?)"
golden upcase-none.txt upcase-sysvars --words "$data/words.txt" "$data/upcase-none.lsp"
"$cli" upcase-sysvars --words "$data/words.txt" "$data/upcase-none.lsp" 2>"$tmp/none.txt" >/dev/null
expect "no message when no name is found" "$([ -s "$tmp/none.txt" ] && echo 1 || echo 0)"

fails_with "" lookup --functions
fails_with "" lookup --functions --sysvars x
fails_with "" lookup --list "$data/missing.txt" x
fails_with "" upcase-sysvars --words "$data/missing.txt" "$data/upcase.lsp"
fails_with "" upcase-sysvars "$data/missing.lsp"

finish
