#!/usr/bin/env bash
# quodle-cli's usage, help, version and manual page come from one command
# table: every command is listed with a summary, has its own help and an
# entry in the manual page; asked-for texts go to stdout with status 0,
# a bad command line gets the usage on stderr and status 2. The window
# program answers --help and --version without a display, and its manual
# page names every option its usage does. Usage: help.sh QUODLE_CLI TESTS_DATA_DIR
source "$(dirname "$0")/golden.bash"
build=$(cd "$(dirname "$cli")/.." && pwd)
version=$(sed -n 's/^project(Quodle VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")

asked() {  # name, expected stdout file, command args...: status 0, nothing on stderr
    local name=$1 want=$2
    shift 2
    "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    local rc=$?
    cmp -s "$tmp/out" "$want" && [ "$rc" -eq 0 ] && [ ! -s "$tmp/err" ]
    expect "$name (status $rc)" $?
}
refused() {  # name, command args...: status 2, nothing on stdout, the usage on stderr
    local name=$1
    shift
    "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    local rc=$?
    [ "$rc" -eq 2 ] && [ ! -s "$tmp/out" ] && grep -qxF "$(head -1 "$tmp/usage")" "$tmp/err"
    expect "$name (status $rc)" $?
}

"$cli" --help >"$tmp/usage" 2>"$tmp/err"
[ $? -eq 0 ] && [ -s "$tmp/usage" ] && [ ! -s "$tmp/err" ]
expect "--help: status 0, usage on stdout" $?
asked "-h" "$tmp/usage" -h
asked "help" "$tmp/usage" help
refused "no command"
refused "unknown command" no-such-command
refused "unknown option before a command" --no-such-option
"$cli" --help >&- 2>/dev/null
expect "--help to a closed output fails" $(( $? != 2 ))
printf 'quodle-cli %s\n' "$version" >"$tmp/version"
asked "--version" "$tmp/version" --version

# Each command: a usage line of its own name followed by a summary line.
mapfile -t names < <(awk '/^commands:/ {on = 1; next} on && /^  [^ ]/ {print $1} on && /^[^ ]/ {on = 0}' "$tmp/usage")
expect "the usage lists the commands (${#names[@]})" $(( ${#names[@]} < 20 ))
"$cli" help --man >"$tmp/man" 2>"$tmp/err"
expect "help --man: status 0" $?
for name in "${names[@]}"; do
    summary=$(awk -v n="$name" 'found {print; exit} $1 == n && /^  [^ ]/ {found = 1}' "$tmp/usage")
    [[ $summary =~ ^\ {6}[^\ ] ]]
    expect "$name has a summary" $?
    "$cli" help "$name" >"$tmp/one" 2>/dev/null
    grep -q "^usage: quodle-cli $name" "$tmp/one" && grep -qF "${summary#      }" "$tmp/one"
    expect "help $name" $?
    asked "$name --help" "$tmp/one" "$name" --help
    grep -A1 -x '\.TP' "$tmp/man" | grep -q "^\.B $(sed 's/-/\\\\-/g' <<<"$name")\( \|$\)"
    expect "$name in the manual page" $?
done
refused "help for an unknown command" help no-such-command

# The page renders without a warning, and the installed one is this one.
# (A long usage line that cannot be justified is no fault.)
groff -man -Tutf8 -z -Wbreak "$tmp/man" 2>"$tmp/groff"
[ $? -eq 0 ] && [ ! -s "$tmp/groff" ]
held=$?  # before the message's own commands change $?
expect "the manual page renders cleanly: $(head -3 "$tmp/groff")" "$held"
if [ -f "$build/packaging/man/quodle-cli.1.gz" ]; then
    zcat "$build/packaging/man/quodle-cli.1.gz" | cmp -s - "$tmp/man"
    expect "the built manual page is the program's" $?
fi

gui=$(dirname "$cli")/quodle
if [ -x "$gui" ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$gui" --help >"$tmp/gui" 2>"$tmp/err"
    [ $? -eq 0 ] && [ -s "$tmp/gui" ] && [ ! -s "$tmp/err" ]
    expect "quodle --help without a display: status 0" $?
    out=$(env -u DISPLAY "$gui" --version 2>&1)
    [ $? -eq 0 ] && [ "$out" = "quodle $version" ]
    expect "quodle --version says $version: $out" $?
    page=$build/packaging/man/quodle.1
    if [ -f "$page" ]; then
        for option in $(grep -o -- '--\?[a-z][a-z-]*' "$tmp/gui" | sort -u); do
            grep -qF -- "$(sed 's/-/\\-/g' <<<"$option")" "$page"
            expect "quodle's manual page names $option" $?
        done
        groff -man -Tutf8 -z -Wbreak "$page" 2>"$tmp/groff"
        [ $? -eq 0 ] && [ ! -s "$tmp/groff" ]
        held=$?  # before the message's own commands change $?
        expect "quodle's manual page renders cleanly: $(head -3 "$tmp/groff")" "$held"
    fi
fi
finish
