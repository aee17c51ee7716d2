#!/usr/bin/env bash
# Golden tests of the user-function lists: every run's output must equal the
# expected file byte for byte. Usage: userfunctions.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected

golden calls.jumplist.txt jumplist "$data/calls.lsp"
golden calls.usecounts.txt usecounts "$data/calls.lsp"
golden calls.usecounts.raw usecounts --raw "$data/calls.lsp"
golden calls.unused.txt unused "$data/calls.lsp"
golden calls.search-set.txt search "$data/calls.lsp" set
golden calls.search-set.txt search "$data/calls.lsp" SeT
golden calls.search-all.txt search "$data/calls.lsp" ""
golden calls.search-zz.txt search "$data/calls.lsp" zz
golden tools.jumplist.txt jumplist "$data/tools.lsp"
golden tools.usecounts.txt usecounts "$data/tools.lsp"
golden trailbytes.jumplist.txt jumplist "$data/trailbytes.lsp"
golden trailbytes.unused.txt unused "$data/trailbytes.lsp"
golden commands.jumplist.txt jumplist "$data/commands.lsp"
golden commands.usecounts.txt usecounts "$data/commands.lsp"
golden none.unused.txt unused "$data/commands.lsp"
golden none.jumplist.txt jumplist "$data/none.lsp"
golden none.usecounts.txt usecounts "$data/none.lsp"
golden none.unused.txt unused "$data/none.lsp"

# The search shows nothing at all when the file has no definitions.
silent search "$data/none.lsp" x

finish
