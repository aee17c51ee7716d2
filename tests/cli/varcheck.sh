#!/usr/bin/env bash
# Golden tests of the variable commands: each run's output must equal the
# expected file byte for byte, and the exit status must be the one the
# check gates a build with. Usage: varcheck.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected
jogai=$data/varcheck.jogai.txt

golden_status varcheck.check.txt 1 check --jogai "$jogai" "$data/varcheck.lsp"
golden_status varcheck.check.raw 1 check --raw --jogai="$jogai" "$data/varcheck.lsp"
golden_status varcheck.check-prefix.txt 1 check --no-star --no-gb --prefix lo --jogai "$jogai" "$data/varcheck.lsp"
golden_status varcheck.vars.txt 0 vars --jogai "$jogai" "$data/varcheck.lsp"
golden_status nofindings.txt 0 check --jogai "$jogai" "$data/varclean.lsp"
golden_status nofindings.raw 0 check --raw --jogai "$jogai" "$data/varclean.lsp"
golden_status nofindings.txt 0 check --jogai "$jogai" "$data/empty.lsp"
golden_status novariables.txt 0 vars --jogai "$jogai" "$data/empty.lsp"

# Errors: exit status 2, a message on stderr and nothing on stdout.
fails_with "" check "$data/missing.lsp"
fails_with "" check --jogai "$data/missing.txt" "$data/varcheck.lsp"
fails_with "" vars --jogai "$data/missing.txt" "$data/varcheck.lsp"
fails_with "" check
fails_with "" check --bogus "$data/varcheck.lsp"
fails_with "" vars "$data/varcheck.lsp" "$data/varclean.lsp"

finish
