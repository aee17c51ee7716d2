#!/usr/bin/env bash
# quodle-cli find and replace: one search over the whole document, the
# document after replace-all as a save writes it, the count on stderr.
source "$(dirname "$0")/golden.bash"

out_is() {  # name, expected stdout (printf format), command args...
    local name=$1 want=$2
    shift 2
    "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
    printf "$want" | cmp -s - "$tmp/out"
    expect "$name: $(od -c "$tmp/out" | head -3)" $?
}

printf 'abc abc\r\nabc' >"$tmp/abc.lsp"
out_is "forward" 'found 0 3\n' find --pattern abc --options down "$tmp/abc.lsp"
out_is "after the selection" 'found 4 3\n' find --pattern abc --options down --start 0 --length 3 "$tmp/abc.lsp"
out_is "next line" 'found 9 3\n' find --pattern abc --options down --start 4 --length 3 "$tmp/abc.lsp"
out_is "backward" 'found 4 3\n' find --pattern ABC --start 9 "$tmp/abc.lsp"
out_is "case" 'not found\n' find --pattern ABC --options down,matchcase "$tmp/abc.lsp"
"$cli" find --pattern abc --options down --start 12 "$tmp/abc.lsp" >/dev/null
expect "not found: exit 1" "$([ $? -eq 1 ] && echo 0 || echo 1)"

# Shift-JIS: no match on a trail byte; widths and breaks as options.
printf '\x81\x40@ \xb6\xde\r\n x' >"$tmp/sjis.lsp"
out_is "trail byte" 'found 2 1\n' find --pattern @ --options down "$tmp/sjis.lsp"
out_is "zenkaku" 'found 4 2\n' find --pattern ガ --options down,zenkaku "$tmp/sjis.lsp"
out_is "no zenkaku" 'not found\n' find --pattern ガ --options down "$tmp/sjis.lsp"
out_is "skipped break" 'found 3 7\n' find --pattern ' ガx' --options down,zenkaku,crlf,space "$tmp/sjis.lsp"

# Offsets over several rows, an empty one among them; a start inside a CR LF
# or inside a double-byte character.
printf 'x\r\nab\r\n\r\nab' >"$tmp/rows.lsp"
out_is "last row, backward" 'found 9 2\n' find --pattern ab --start 11 "$tmp/rows.lsp"
out_is "backward past an empty row" 'found 3 2\n' find --pattern ab --start 9 "$tmp/rows.lsp"
out_is "forward from inside a CR LF" 'found 3 2\n' find --pattern ab --options down --start 1 --length 1 "$tmp/rows.lsp"
printf '\x82\xa0abc\x82\xa0' >"$tmp/kana.lsp"
out_is "backward from a trail byte" 'found 0 2\n' find --pattern あ --start 6 "$tmp/kana.lsp"
out_is "backward from the end" 'found 5 2\n' find --pattern あ --start 7 "$tmp/kana.lsp"

fails_with "quodle-cli: unknown search option 'bogus'" find --pattern a --options down,bogus "$tmp/abc.lsp"
fails_with "quodle-cli: --start must be a number from 0: '-1'" find --pattern a --start -1 "$tmp/abc.lsp"
"$cli" find "$tmp/abc.lsp" >/dev/null 2>"$tmp/err"
grep -q "usage: find --pattern P" "$tmp/err"
expect "no pattern: usage" $?

# Replace-all: the document as saved, the count on stderr.
printf 'a a\r\na\r\nb' >"$tmp/a.lsp"
out_is "replace forward" 'xyz xyz\nxyz\nb' replace --pattern a --with xyz --options down "$tmp/a.lsp"
grep -qx 3 "$tmp/err"
expect "replace count" $?
"$cli" replace --raw --pattern a --with xyz --options down "$tmp/a.lsp" 2>/dev/null | cmp -s - <(printf 'xyz xyz\r\nxyz\r\nb')
expect "replace raw" $?
printf 'aaa' >"$tmp/aaa.lsp"
out_is "backward doubling ends" 'aaaaaa' replace --pattern a --with aa "$tmp/aaa.lsp"
grep -qx 3 "$tmp/err"
expect "backward count" $?
out_is "no match leaves the text" 'aaa' replace --pattern q --with x --options down "$tmp/aaa.lsp"
grep -qx 0 "$tmp/err"
expect "no match count" $?
"$cli" replace --pattern a "$tmp/aaa.lsp" >/dev/null 2>"$tmp/err"
grep -q "usage: replace --pattern P --with R" "$tmp/err"
expect "no replacement: usage" $?

# A replace-all that would grow the document past 2 GiB is refused before
# anything is made: 3 MB of "a", each replaced by 1 000 letters.
head -c 3000000 /dev/zero | tr '\0' a >"$tmp/big.lsp"
fails_with "" replace --pattern a --with "$(printf '%01000d' 0)" --options down,matchcase "$tmp/big.lsp"
grep -q "would make the document 3000000000 bytes" "$tmp/fail.err"
expect "too large: the size in the message" $?

finish
