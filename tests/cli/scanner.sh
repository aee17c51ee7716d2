#!/usr/bin/env bash
# Golden tests of the scanner commands: each run's output must equal the
# expected file byte for byte. Usage: scanner.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected

golden tools.strip.txt strip "$data/tools.lsp"
golden tools.defuns.txt defuns "$data/tools.lsp"
golden tools.defuns-padded.txt defuns --padded "$data/tools.lsp"
golden tools.args-7-0.txt args "$data/tools.lsp" 7 0
golden tools.locals-7-0.txt locals "$data/tools.lsp" 7 0
golden tools.locals-18-0.txt locals "$data/tools.lsp" 18 0
golden tools.args-19-2.txt args "$data/tools.lsp" 19 2
golden tools.args-26-2.txt args "$data/tools.lsp" 26 2
golden tools.args-30-0.txt args "$data/tools.lsp" 30 0
golden tools.comments-7.txt comments "$data/tools.lsp" 7
golden tools.comments-7.raw comments --raw "$data/tools.lsp" 7
golden tools.comments-18.txt comments "$data/tools.lsp" 18
golden tools.comments-32.txt comments "$data/tools.lsp" 32
golden trailbytes.strip.txt strip "$data/trailbytes.lsp"
golden trailbytes.strip.raw strip --raw "$data/trailbytes.lsp"
golden trailbytes.defuns.txt defuns "$data/trailbytes.lsp"
golden trailbytes.locals-2-0.txt locals "$data/trailbytes.lsp" 2 0

# No output at all: no argument list, no comment block (comments up to the
# top of the file; a blank line above).
silent args "$data/tools.lsp" 18 0
silent locals "$data/tools.lsp" 19 2
silent comments "$data/tools.lsp" 3
silent comments "$data/tools.lsp" 30
silent args "$data/trailbytes.lsp" 2 0

# ... and exit status 0: having no names is not an error.
"$cli" args "$data/tools.lsp" 18 0 >/dev/null
expect "args without names: exit 0" $?

# Failures go to stderr with exit status 2; a position outside the file is
# an input error, not an empty answer.
printf '(defun f (a / b)\r\n  (setq b a))\r\n' >"$tmp/f.lsp"
fails_with "quodle-cli: LINE 2 is outside the file, which has 2 lines (LINE counts from 0)" args "$tmp/f.lsp" 2 0
fails_with "quodle-cli: LINE 99 is outside the file, which has 2 lines (LINE counts from 0)" locals "$tmp/f.lsp" 99 0
fails_with "quodle-cli: COL 16 is outside LINE 0, which has 16 bytes (COL counts from 0)" locals "$tmp/f.lsp" 0 16
fails_with "quodle-cli: LINE 2 is outside the file, which has 2 lines (LINE counts from 0)" comments "$tmp/f.lsp" 2
fails_with "quodle-cli: cannot read $data/no-such.lsp: No such file or directory" strip "$data/no-such.lsp"
fails_with "quodle-cli: COL must be a number from 0: 'x'" args "$data/tools.lsp" 7 x

finish
