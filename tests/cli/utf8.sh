#!/usr/bin/env bash
# UTF-8 sources: every analysis gives the same report for a program saved
# in UTF-8 (with LF, or with the byte-order mark and CR LF) as for the same
# program in Shift-JIS; `text --raw` gives the file's own bytes; a file with
# a character Shift-JIS cannot hold is analysed with a warning and never
# written back damaged.
source "$(dirname "$0")/golden.bash"
data=$2/lisp
exp=$data/expected
mkdir -p "$tmp/sjis" "$tmp/lf" "$tmp/bom"

for n in calls tools varcheck catalog brackets-open trailbytes; do
  cp "$data/$n.lsp" "$tmp/sjis/$n.lsp"
  "$cli" text "$data/$n.lsp" >"$tmp/lf/$n.lsp"
  { printf '\357\273\277'; sed 's/$/\r/' "$tmp/lf/$n.lsp"; } >"$tmp/bom/$n.lsp"
  grep -q "$(printf '\343')" "$tmp/lf/$n.lsp"
  expect "$n: the copy holds UTF-8 Japanese" $?
  for form in lf bom; do
    f=$tmp/$form/$n.lsp
    "$cli" text --raw "$f" | cmp -s - "$f"
    expect "$n ($form): text --raw gives the file's bytes" $?
    for cmd in jumplist tree defuns unused usecounts check brackets tokens strip; do
      "$cli" "$cmd" "$tmp/sjis/$n.lsp" >"$tmp/want" 2>&1
      want=$?
      "$cli" "$cmd" "$f" >"$tmp/got" 2>&1
      got=$?
      cmp -s "$tmp/want" "$tmp/got" && [ "$want" -eq "$got" ]
      expect "$n ($form): $cmd gives the report of the Shift-JIS file" $?
    done
  done
done
# The same reports as the golden files of the Shift-JIS sources.
golden tools.jumplist.txt jumplist "$tmp/lf/tools.lsp"
golden tools.defuns.txt defuns "$tmp/bom/tools.lsp"
golden calls.unused.txt unused "$tmp/bom/calls.lsp"
# --raw speaks the document's encoding: UTF-8 stays UTF-8, with its breaks.
"$cli" defuns --raw "$tmp/bom/tools.lsp" | tr -d '\r' | cmp -s - "$exp/tools.defuns.txt"
expect "defuns --raw of UTF-8: UTF-8 with the file's CR LF" $?
"$cli" defuns --raw "$tmp/lf/tools.lsp" | cmp -s - "$exp/tools.defuns.txt"
expect "defuns --raw of UTF-8 with LF" $?

# A character Shift-JIS cannot hold: analysed, warned of with its line,
# and --raw refuses rather than write 〓 in its place.
printf '(defun c:a ()\n  ; 絵文字 \360\237\230\200\n  (princ))\n' >"$tmp/emoji.lsp"
cp "$tmp/emoji.lsp" "$tmp/emoji.orig"
"$cli" jumplist "$tmp/emoji.lsp" >"$tmp/out" 2>"$tmp/err"
expect "emoji: analysed" $?
grep -q "C:A" "$tmp/out" || grep -qi "c:a" "$tmp/out"
expect "emoji: the defun is listed" $?
grep -q "line 2: character without a Shift-JIS form U+1F600" "$tmp/err"
expect "emoji: the warning names the character and its line" $?
"$cli" text --raw "$tmp/emoji.lsp" >"$tmp/out" 2>"$tmp/err"
expect "emoji: text --raw exits 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
expect "emoji: nothing written" "$([ -s "$tmp/out" ] && echo 1 || echo 0)"
cmp -s "$tmp/emoji.lsp" "$tmp/emoji.orig"
expect "emoji: the file is untouched" $?

# 〜 and — where Shift-JIS reads ～ and ―: the file keeps its own forms,
# in --raw and in the UTF-8 output alike.
printf '(defun c:a ()\n  ; 範囲 1〜9 — 注\n  (princ "〜"))\n' >"$tmp/wave.lsp"
"$cli" text --raw "$tmp/wave.lsp" 2>"$tmp/err" | cmp -s - "$tmp/wave.lsp"
expect "wave dash: text --raw gives the file's bytes" $?
expect "wave dash: no warning" "$([ -s "$tmp/err" ] && echo 1 || echo 0)"
"$cli" text "$tmp/wave.lsp" | cmp -s - "$tmp/wave.lsp"
expect "wave dash: text gives the file's characters" $?
"$cli" jumplist "$tmp/wave.lsp" | grep -qi "c:a"
expect "wave dash: analysed" $?
# Both forms of one code: refused at the first in the second form.
printf '; 〜\n; ～ 〜\n' >"$tmp/both.lsp"
"$cli" text --raw "$tmp/both.lsp" >"$tmp/out" 2>"$tmp/err"
expect "both forms: text --raw exits 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -q "line 2: character without a Shift-JIS form U+FF5E" "$tmp/err"
expect "both forms: the warning names the character and its line" $?

# Marked UTF-8 but not: read as Shift-JIS, every byte given back.
printf '\357\273\277; \202\240\r\n(princ)\r\n' >"$tmp/badbom.lsp"
"$cli" text --raw "$tmp/badbom.lsp" 2>"$tmp/err" | cmp -s - "$tmp/badbom.lsp"
expect "bad mark: raw bytes kept" $?
grep -q "line 1: byte that is not UTF-8" "$tmp/err"
expect "bad mark: warned" $?

# Half-width kana that spell UTF-8 no Japanese text holds (ﾆｭ is U+01AD):
# Shift-JIS; --encoding makes either reading, for every command.
printf '(defun c:a ()\r\n  (princ "\306\255"))\r\n' >"$tmp/kana.lsp"
"$cli" text --raw "$tmp/kana.lsp" 2>"$tmp/err" | cmp -s - "$tmp/kana.lsp"
expect "kana: text --raw gives the Shift-JIS bytes" $?
expect "kana: no warning" "$([ -s "$tmp/err" ] && echo 1 || echo 0)"
"$cli" text "$tmp/kana.lsp" | grep -q 'ﾆｭ'
expect "kana: read as ﾆｭ" $?
"$cli" text --encoding utf-8 "$tmp/kana.lsp" 2>"$tmp/err" | grep -q '〓'
expect "kana: --encoding utf-8 reads U+01AD" $?
grep -q "line 2: character without a Shift-JIS form U+01AD" "$tmp/err"
expect "kana: --encoding utf-8 warns of it" $?
"$cli" jumplist --encoding=sjis "$tmp/kana.lsp" | grep -qi "c:a"
expect "kana: --encoding=sjis on another command" $?
# Real UTF-8 with accented Latin stays UTF-8; sjis reads its bytes.
printf '; caf\303\251\n(princ)\n' >"$tmp/cafe.lsp"
"$cli" text "$tmp/cafe.lsp" 2>/dev/null | grep -q '〓'
expect "café: UTF-8 (é has no Shift-JIS form)" $?
"$cli" text --encoding sjis "$tmp/cafe.lsp" | grep -q 'cafﾃｩ'
expect "café: --encoding sjis reads the bytes" $?
# Named UTF-8 but not: every byte kept, and said so.
printf '; \202\240\n' >"$tmp/sjis.lsp"
"$cli" text --raw --encoding utf-8 "$tmp/sjis.lsp" 2>"$tmp/err" | cmp -s - "$tmp/sjis.lsp"
expect "not UTF-8: raw bytes kept" $?
grep -q "line 1: byte that is not UTF-8 (--encoding utf-8) 0x82" "$tmp/err"
expect "not UTF-8: warned" $?
"$cli" text --encoding latin1 "$tmp/sjis.lsp" 2>"$tmp/err"
expect "unknown encoding: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -q "takes sjis or utf-8" "$tmp/err"
expect "unknown encoding: said so" $?

finish
