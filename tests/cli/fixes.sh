#!/usr/bin/env bash
# Golden tests of the slips check and the fixes: full-width slips listed and
# replaced only in code (strings and comments keep their full-width text),
# and the definitions' locals made and tidied in their heads as written.
# Usage: fixes.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/fixes
exp=$data/expected

golden_status slips.txt 1 slips "$data/slips.lsp"
golden_status slips.raw 1 slips --raw "$data/slips.lsp"
golden_status noslips.txt 0 slips "$data/heads.lsp"
golden slips.fixed.txt fix --slips "$data/slips.lsp"
golden slips.fixed.raw fix --raw --slips "$data/slips.lsp"
# The fixed text has no slips left.
"$cli" fix --raw --slips "$data/slips.lsp" >"$tmp/fixed.lsp"
expect "no slips after the fix" "$("$cli" slips "$tmp/fixed.lsp" >/dev/null; echo $?)"

# Localise: "/" made where there is none, a head over lines keeps its
# breaks; "*" and "GB_" names stay out unless asked for.
golden heads.localise.txt fix --localise "$data/heads.lsp"
golden heads.localise-7.txt fix --localise --line 7 "$data/heads.lsp"
golden heads.localise-all-names.txt fix --localise --no-star --no-gb --line 2 "$data/heads.lsp"
golden heads.drop.txt fix --drop-unused "$data/heads.lsp"
# Both fixes leave the check with nothing to say.
"$cli" fix --raw --localise "$data/heads.lsp" >"$tmp/localised.lsp"
"$cli" fix --raw --drop-unused "$tmp/localised.lsp" >"$tmp/tidy.lsp"
expect "check clean after localise and drop" "$("$cli" check "$tmp/tidy.lsp" >/dev/null; echo $?)"

# A head with a comment inside is refused, alone or with the whole file;
# another definition can still be fixed by its line.
golden badhead.localise-1.txt fix --localise --line 1 "$data/badhead.lsp"
fails_with "quodle-cli: line 2: 引数リストの中にコメントか文字列があるため、書き換えられません．" fix --localise "$data/badhead.lsp"
fails_with "" fix --localise --line 3 "$data/badhead.lsp"
fails_with "quodle-cli: カーソル位置に関数定義がありません．" fix --localise --line 1 "$data/slips.lsp"
fails_with "" fix --localise --drop-unused "$data/heads.lsp"
fails_with "" fix "$data/heads.lsp"
fails_with "" slips "$data/missing.lsp"
fails_with "" fix --localise --line 99 "$data/heads.lsp"

finish
