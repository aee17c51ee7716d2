#!/usr/bin/env bash
# quodle-cli never reports success for output it did not write: a full
# device, a closed output, a file-size limit each end with exit status 2 and
# a message on stderr, for every command that prints. Usage: output.sh
# QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
data=$2/lisp
lsp=$data/tools.lsp

fails_to_write() {  # name, expected reason, redirection command, command args...
    local name=$1 reason=$2 how=$3 rc
    shift 3
    case $how in
        full) "$cli" "$@" >/dev/full 2>"$tmp/err" ;;
        closed) "$cli" "$@" >&- 2>"$tmp/err" ;;
        limit) (ulimit -f 1 && exec "$cli" "$@" >"$tmp/limited.out" 2>"$tmp/err") ;;
    esac
    rc=$?
    if [ "$rc" -eq 2 ] && [ "$(cat "$tmp/err")" = "quodle-cli: cannot write the output: $reason" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $name: quodle-cli $* ($how): status $rc, stderr '$(cat "$tmp/err")'"
        failed=$((failed + 1))
    fi
}

for cmd in "text" "text --raw" "tokens" "strip" "defuns" "vars" "check" "brackets" "jumplist" "usecounts" \
           "unused"; do
    # shellcheck disable=SC2086 # the command and its option are two words
    fails_to_write "$cmd" "No space left on device" full $cmd "$lsp"
    # Wine hands a program started with its output closed whatever file it
    # opens next as that output: only Linux is asked.
    # shellcheck disable=SC2086
    [ -z "$windows" ] && fails_to_write "$cmd" "Bad file descriptor" closed $cmd "$lsp"
done
fails_to_write "search" "No space left on device" full search "$lsp" c:
fails_to_write "args" "No space left on device" full args "$lsp" 7 0
fails_to_write "comments" "No space left on device" full comments "$lsp" 7

# Output past a file-size limit: the write fails (the signal does not kill
# the program) and what was written is all the limit allowed. Windows has
# no such limit.
if [ -z "$windows" ]; then
    head -c 5000 /dev/zero | tr '\0' 'q' >"$tmp/long.lsp"
    fails_to_write "size limit" "File too large" limit text --raw "$tmp/long.lsp"
    expect "size limit: 1024 bytes written" "$([ "$(stat -c %s "$tmp/limited.out")" -eq 1024 ] && echo 0 || echo 1)"
fi

# Output that fits is written whole, empty lines included, and succeeds.
printf 'a\r\n\r\n\r\nb' >"$tmp/empty-lines.lsp"
"$cli" text "$tmp/empty-lines.lsp" >"$tmp/out"
expect "empty lines: exit 0" $?
printf 'a\n\n\nb' | cmp -s - "$tmp/out"
expect "empty lines: output" $?

finish
