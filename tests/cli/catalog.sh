#!/usr/bin/env bash
# Golden tests of the function catalogue and the command/function tree.
# Usage: catalog.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected
stamp="2026/12/09 2:08:21"

golden catalog.catalog.txt catalog --stamp "$stamp" "$data/catalog.lsp"
golden catalog.catalog.raw catalog --raw --stamp="$stamp" "$data/catalog.lsp"
golden tools.catalog.txt catalog --stamp "作成：$stamp" "$data/tools.lsp"
golden catalog.tree.txt tree "$data/catalog.lsp"
golden tools.tree.txt tree "$data/tools.lsp"
golden commands.tree.txt tree "$data/commands.lsp"
golden none.tree.txt tree "$data/none.lsp"
# Without definitions the catalogue is empty.
silent catalog --stamp "$stamp" "$data/none.lsp"

# Without --stamp, the heading has the time now in the environment's form:
# the C locale's, or on Windows the user's (Japanese under Wine here).
LC_ALL=C "$cli" catalog "$data/catalog.lsp" >"$tmp/now.out"
now_form='[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}'
[ -n "$windows" ] && now_form='[0-9]{4}/[0-9]{1,2}/[0-9]{1,2} [0-9]{1,2}:[0-9]{2}:[0-9]{2}'
expect "dated now: $(sed -n 3p "$tmp/now.out")" \
    "$(sed -n 3p "$tmp/now.out" | grep -Eqx " 作成日時 : $now_form"; echo $?)"
expect "dated now, the rest as with a stamp" \
    "$(cmp -s <(sed 3d "$tmp/now.out") <(sed 3d "$exp/catalog.catalog.txt"); echo $?)"

fails_with "" catalog "$data/missing.lsp"
fails_with "" tree "$data/missing.lsp"
fails_with "" tree

finish
