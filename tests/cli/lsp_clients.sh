#!/usr/bin/env bash
# quodle-cli lsp in real clients: Neovim's built-in client and Emacs's eglot
# open the same Shift-JIS file of a workspace and must show the diagnostics,
# hover texts and definition jump that the program's own commands give for it.
QUODLE_CLI=$(realpath "$1")
source "$(dirname "$0")/golden.bash"
here=$(cd "$(dirname "$0")" && pwd)
export QUODLE_CLI HOME="$tmp/home"
mkdir -p "$HOME" "$tmp/ws"

# Written as UTF-8 here, stored as the Shift-JIS files the program edits.
printf '(princ)\n;; 補助関数の説明\n(defun helper (s n)\n  (strcat s (itoa n)))\n' | iconv -t CP932 >"$tmp/ws/b.lsp"
printf ';; 日本語のコマンド\n(defun c:テスト ( / 未)\n  (setq 値 (helper "あいう" 1))\n  (princ 値))\n(defun c:壊れ ()\n  (princ "ｶﾅ")\n' |
    iconv -t CP932 >"$tmp/ws/a.lsp"
export LSP_FILE="$tmp/ws/a.lsp" LSP_ROOT="$tmp/ws" LSP_HOVER="2:4 2:12" LSP_DEFINITION="2:12"

# What the program's commands say about the same files.
brackets=$("$cli" brackets "$tmp/ws/a.lsp" | tail -n +3 | paste -sd '|')
last_balanced=$("$cli" brackets "$tmp/ws/a.lsp" | sed -n 2p)
reference=$("$cli" lookup --functions setq | head -1)
detail=$("$cli" lookup --functions setq | sed -n '2s/^ *//p')
helper_line=$("$cli" jumplist "$tmp/ws/b.lsp" | awk -F '\t' '$1 == "helper" { print $2 }')
"$cli" check "$tmp/ws/a.lsp" >"$tmp/check.out"
# A ")" missing: on the row after the last balanced one.
cat >"$tmp/expected" <<END
diagnostic $last_balanced:0 brackets $brackets
diagnostic 0:0 Global 未宣言変数 c:壊れ (関数の外)
diagnostic 1:7 Global 未宣言変数 値 (関数 c:テスト)
diagnostic 1:7 UnusedLoc 未使用のローカル変数 未 (関数 c:テスト)
hover  ($reference|   $detail
hover ;; 補助関数の説明|(defun helper (s n)
definition b.lsp $((helper_line - 1)):7
reference b.lsp $((helper_line - 1)):7
reference a.lsp 2:11
action 未宣言変数をローカル変数に追加
action 未使用ローカル変数を削除
fixed (defun c:テスト ( / 未 値)
END
# The unclosed definition is no definition: its name is a variable outside
# them, on line 0 as the check lists it.
expect "the check lists 値, 未 and c:壊れ" \
    "$(grep -q '値' "$tmp/check.out" && grep -q '未' "$tmp/check.out" && grep -q '0l.*Global' "$tmp/check.out" &&
        grep -q 'c:壊れ' "$tmp/check.out"; echo $?)"

compare() {  # client output-file
    if diff <(sort "$tmp/expected") <(sort "$2") >"$tmp/diff"; then
        passed=$((passed + 1))
    else
        echo "FAIL: $1 shows other findings than the program:"
        cat "$tmp/diff"
        failed=$((failed + 1))
    fi
}

LSP_OUT="$tmp/nvim.out" timeout 60 nvim --headless --clean -n -u NONE -c "luafile $here/lsp/nvim.lua" >/dev/null 2>&1
expect "Neovim ended cleanly" $?
compare Neovim "$tmp/nvim.out"

LSP_OUT="$tmp/eglot.out" timeout 90 emacs --batch -Q -l "$here/lsp/eglot.el" >/dev/null 2>"$tmp/eglot.err"
rc=$?
[ $rc -eq 0 ] || tail -5 "$tmp/eglot.err"
expect "Emacs ended cleanly" $rc
compare eglot "$tmp/eglot.out"
expect "both clients saw the same" "$(cmp -s <(sort "$tmp/nvim.out") <(sort "$tmp/eglot.out"); echo $?)"

finish
