#!/usr/bin/env bash
# Golden tests of the whole-document bracket count: each run's output must
# equal the expected file byte for byte. Usage: brackets.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected

# More opening brackets; brackets in strings, escaped quotes, line and
# block comments do not count.
golden brackets-open.txt brackets "$data/brackets-open.lsp"
golden brackets-open.raw brackets --raw "$data/brackets-open.lsp"
# More closing brackets: counted again from the end.
golden brackets-close.txt brackets "$data/brackets-close.lsp"
golden calls.brackets.txt brackets "$data/calls.lsp"
# Full-width brackets are not list brackets; an empty file has none.
golden brackets-wide.txt brackets "$data/brackets-wide.lsp"
golden brackets-empty.txt brackets "$data/empty.lsp"

fails_with "" brackets "$data/no-such-file.lsp"

finish
