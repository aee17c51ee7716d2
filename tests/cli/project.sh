#!/usr/bin/env bash
# Golden tests of the whole-project analysis: the report as the output pane
# shows it, the JSON, and the exit statuses a build gates on.
# Usage: project.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/project
exp=$data/expected
# The folder is named as given, and the report says it as given.
cd "$data" || exit 2

golden_status basic.txt 1 project basic
golden_status basic.raw 1 project --raw basic
golden_status basic.json 1 project --json basic
# One worker or many: the same report, in the same order.
golden_status basic.txt 1 project --jobs 1 basic
golden_status basic.txt 1 project --jobs 7 basic
# The calls of one function (named in UTF-8), or none.
golden_status basic-calls.txt 0 project --calls 描く basic
golden_status basic-calls-none.txt 1 project --calls nobody basic
expect "a built-in's calls are not looked for" \
    "$("$cli" project --calls SETQ basic | tail -1 | grep -qx 'SETQ は組み込み関数のため，呼び出し箇所は調べません．'; echo $?)"
# --exclude keeps names out besides the folder's own list.
golden_status basic-exclude.txt 1 project --exclude exclude.txt basic

# Nothing to report, and no LISP files at all: status 0 and the message.
mkdir -p "$tmp/clean" "$tmp/none"
printf '(defun c:go () (princ))\r\n' >"$tmp/clean/a.lsp"
cd "$tmp" || exit 2
golden_status clean.txt 0 project clean
golden_status none.txt 0 project none
cd "$data" || exit 2

# A file nobody may read is listed with the reason, and is a finding. Root
# reads every file, so only an ordinary user can see it.
if [ "$(id -u)" -ne 0 ]; then
    cp -r basic "$tmp/locked"
    chmod 000 "$tmp/locked/main.lsp"
    "$cli" project "$tmp/locked" >"$tmp/locked.out"
    rc=$?
    expect "an unreadable file is listed" "$(grep -qx ' main.lsp : アクセスが許可されていません' "$tmp/locked.out"; echo $?)"
    expect "an unreadable file is a finding" "$([ "$rc" -eq 1 ]; echo $?)"
    chmod 644 "$tmp/locked/main.lsp"
else
    echo "running as root: the unreadable-file case is skipped"
fi

# Errors: exit status 2, a message on stderr and nothing on stdout.
fails_with "" project missing
fails_with "" project basic/main.lsp
fails_with "" project --exclude missing.txt basic
fails_with "" project --functions missing.txt basic
fails_with "" project --jobs 0 basic
fails_with "" project basic basic
fails_with "" project

finish
