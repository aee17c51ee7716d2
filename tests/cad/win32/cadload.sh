#!/usr/bin/env bash
# The load command's Windows backend end to end under Wine: the stand-in CAD
# (quodle_stand_in_cad.exe) makes the targets' windows and records what
# they receive; quodle_load_driver.exe runs the command as F9 does; what
# arrives must be, byte for byte, what `quodle-cli load-expr` prints for the
# same file. Usage (through tests/win32/wine.sh with): cadload.sh WINE_SH
# WINE_DIR BIN, where BIN holds the Windows programs and quodle-cli-wine.
wine_sh=$1 wine_dir=$2 bin=$3
source "$(dirname "$0")/../../cli/golden.bash" "$bin/quodle-cli-wine"
run() { bash "$wine_sh" run "$wine_dir" "$@"; }
runs=0

start_cad() {  # targets [--ansi]: the stand-in with the targets' windows, in $rec
    runs=$((runs + 1))
    rec=$tmp/record$runs
    mkdir -p "$rec"
    # Not through run(): $! must be the program itself, for stop_cad.
    bash "$wine_sh" run "$wine_dir" "$bin/quodle_stand_in_cad.exe" "$(native "$rec")" "$@" &
    cad=$!
    # Wine may take long to start a program on a busy machine.
    for _ in $(seq 1 900); do
        [ -e "$rec/ready" ] && return
        sleep 0.1
    done
    echo "FAIL: the stand-in CAD did not start"
    exit 1
}
stop_cad() { kill "$cad" 2>/dev/null; wait "$cad" 2>/dev/null; }

load() {  # driver arguments...: runs the load command, its messages in $tmp/said
    run "$bin/quodle_load_driver.exe" "$@" >"$tmp/said"
}
said() {  # name, messages...: the command showed exactly these
    local name=$1
    shift
    if [ $# -eq 0 ]; then : >"$tmp/want"; else printf 'message: %s\n' "$@" >"$tmp/want"; fi
    expect "$name: messages $(cat "$tmp/said")" "$(cmp -s "$tmp/said" "$tmp/want"; echo $?)"
}
same() {  # name, file received, file expected
    expect "$1: $(od -c "$2" 2>&1 | head -3)" "$(cmp -s "$2" "$3"; echo $?)"
}

# A Japanese folder and file name, with a blank, given with a drive letter.
mkdir -p "$tmp/図面 データ"
printf '(princ "ロード")\r\n' | iconv -f UTF-8 -t CP932 >"$tmp/図面 データ/ロード.lsp"
doc=$(native "$tmp/図面 データ/ロード.lsp")

# AutoCAD, a Unicode window: one record, kind 1, the expression in UTF-16
# with its NUL, then WM_NULL.
start_cad acad
load --target acad "$doc"
said "AutoCAD (wide)"
"$cli" load-expr --raw --target acad "$doc" | iconv -f CP932 -t UTF-16LE >"$tmp/want"
printf '\0\0' >>"$tmp/want"
same "AutoCAD (wide): the record" "$rec/copydata" "$tmp/want"
printf 'copydata 1 %d from-none\nnull\n' "$(stat -c %s "$tmp/want")" >"$tmp/events"
same "AutoCAD (wide): record, then WM_NULL" "$rec/events" "$tmp/events"
stop_cad

# AutoCAD, an ANSI window: the Shift-JIS bytes with their NUL.
start_cad acad --ansi
load --target acad "$doc"
said "AutoCAD (ANSI)"
{ "$cli" load-expr --raw --target acad "$doc"; printf '\0'; } >"$tmp/want"
same "AutoCAD (ANSI): the record" "$rec/copydata" "$tmp/want"
stop_cad

# A modified document: the notice, its text in temp.lsp beside the
# program, and that file loaded.
start_cad acad --ansi
rm -f "$bin/temp.lsp"
load --target acad --modified "(princ)" "$doc"
said "modified" "変更されているため、テンポラリファイルに保存後ロードします."
expect "modified: temp.lsp holds the text" "$([ "$(cat "$bin/temp.lsp" 2>&1)" = "(princ)" ]; echo $?)"
{ "$cli" load-expr --raw --modified --target acad "$doc"; printf '\0'; } >"$tmp/want"
same "modified: the record" "$rec/copydata" "$tmp/want"
stop_cad

# BricsCAD: one WM_CHAR per byte into the docked command line's input.
start_cad bcad
load --target bcad "$doc"
said "BricsCAD"
"$cli" load-expr --raw --target bcad "$doc" >"$tmp/want"
same "BricsCAD: the characters" "$rec/chars" "$tmp/want"
expect "BricsCAD: nothing but the characters" "$([ ! -s "$rec/events" ]; echo $?)"
stop_cad

# IntelliCAD/IJCAD and ZwCAD: their windows are found; the automation
# object they would be loaded through is not registered here, so the
# command reports that it could not be had.
start_cad icad,zcad
load --target icad "$doc"
said "IntelliCAD: no automation object" "IntelliCAD/IJCADの取得に失敗しました."
load --target zcad "$doc"
said "ZwCAD: no automation object" "ZwCADの取得に失敗しました."
stop_cad

# No CAD at all: each target's message, nothing sent.
start_cad none
load --target acad "$doc"
said "no AutoCAD" "AutoCADが見つかりません."
load --target bcad "$doc"
said "no BricsCAD" "BricsCADが見つかりません."
load --target icad "$doc"
said "no IntelliCAD" "IntelliCAD/IJCADが見つかりません."
load --target zcad "$doc"
said "no ZwCAD" "ZwCADが見つかりません."
expect "nothing received" "$([ -z "$(ls "$rec" | grep -v ready)" ]; echo $?)"
load --target acad "$(native "$tmp/無い.lsp")"
said "no file" "$(native "$tmp/無い.lsp")が見つかりません."
stop_cad

finish
