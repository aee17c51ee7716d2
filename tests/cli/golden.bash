# The checks shared by the quodle-cli test scripts; sourced by them (its
# ending keeps ctest from running it by itself):
#   source "$(dirname "$0")/golden.bash"   # with the script's QUODLE_CLI TESTS_DATA_DIR
# gives $cli, a scratch folder $tmp, the checks below and `finish`, which
# prints the count and fails the script when any check failed. Expected
# files are looked up in $exp, which the script sets.
set -u
cli=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0
# Under Wine (tests/win32/wine.sh sets QUODLE_WINE) the program is the
# Windows build: it writes paths in Windows' form, and what only Linux has
# (devices, file-size limits, other users) is not tried.
windows=${QUODLE_WINE:+1}

native() {  # path: the absolute path as the program writes it (Wine's drive Z: is /)
    if [ -n "$windows" ]; then
        local p=Z:$1
        printf '%s' "${p//\//\\}"
    else
        printf '%s' "$1"
    fi
}

expect() {  # name, status of the condition (0 = holds)
    if [ "$2" -eq 0 ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1"
        failed=$((failed + 1))
    fi
}

golden_status() {  # expected-file expected-status command args...
    local want=$1 status=$2 rc
    shift 2
    "$cli" "$@" >"$tmp/golden.out"
    rc=$?
    if cmp -s "$tmp/golden.out" "$exp/$want" && [ "$rc" -eq "$status" ]; then
        passed=$((passed + 1))
    else
        echo "FAIL: quodle-cli $* (expected $want, status $status; got status $rc)"
        diff <(od -c "$tmp/golden.out") <(od -c "$exp/$want") | head -20
        failed=$((failed + 1))
    fi
}

golden() {  # expected-file command args...: the output, and exit status 0
    local want=$1
    shift
    golden_status "$want" 0 "$@"
}

silent() {  # command args...: prints nothing at all
    "$cli" "$@" >"$tmp/silent.out"
    expect "quodle-cli $* printed: $(od -c "$tmp/silent.out")" "$([ -s "$tmp/silent.out" ] && echo 1 || echo 0)"
}

fails_with() {  # message ("" = any) command args...: exit 2, the message on stderr, nothing on stdout
    local message=$1 rc
    shift
    "$cli" "$@" >"$tmp/fail.out" 2>"$tmp/fail.err"
    rc=$?
    local err
    err=$(cat "$tmp/fail.err")
    if [ "$rc" -eq 2 ] && [ ! -s "$tmp/fail.out" ] && [ -n "$err" ] && { [ -z "$message" ] || [ "$err" = "$message" ]; }; then
        passed=$((passed + 1))
    else
        echo "FAIL: quodle-cli $*: status $rc, stdout '$(cat "$tmp/fail.out")', stderr '$err'"
        failed=$((failed + 1))
    fi
}

finish() {
    echo "$(basename "$0" .sh): $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
