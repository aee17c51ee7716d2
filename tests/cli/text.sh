#!/usr/bin/env bash
# Golden tests of `quodle-cli text`: --raw gives exactly the bytes a save
# writes, the default gives UTF-8 with LF; unreadable files and bad usage
# exit 2 with a message on stderr.
source "$(dirname "$0")/golden.bash"
data=$2/rowstore

for f in "$data"/*.lsp; do
  n=$(basename "$f" .lsp)
  # On Windows "nul" with any extension names the null device.
  [ -n "$windows" ] && [ "$n" = nul ] && continue
  "$cli" text --raw "$f" >"$tmp/$n.out" 2>"$tmp/$n.err"
  expect "$n: exit status" $?
  cmp -s "$tmp/$n.out" "$data/$n.expected"
  expect "$n: raw output differs from $n.expected" $?
  case $n in
    ctrlz | ctrlz_first | ctrlz_twice | ctrlz_utf8)
      grep -q ': the [0-9]* bytes from Ctrl+Z on are not analysed or shown; --raw writes them back$' "$tmp/$n.err"
      expect "$n: the kept tail is told on stderr" $? ;;
    *) expect "$n: stderr not empty" "$([ -s "$tmp/$n.err" ] && echo 1 || echo 0)" ;;
  esac
done

# What follows a Ctrl+Z survives a rewriting command byte for byte, and is
# told with the line the Ctrl+Z stands on.
printf '(setq a 1)\r\n(setq b 2)\x1a\r\n(defun c:important ()\r\n (princ "x")\r\n)\r\n' >"$tmp/z.lsp"
"$cli" comment --raw --line 1 "$tmp/z.lsp" >"$tmp/z.out" 2>"$tmp/z.err"
expect "Ctrl+Z: exit 0" $?
printf ';(setq a 1)\r\n(setq b 2)\x1a\r\n(defun c:important ()\r\n (princ "x")\r\n)\r\n' | cmp -s - "$tmp/z.out"
expect "Ctrl+Z: the tail is written back after the edited text" $?
[ "$(cat "$tmp/z.err")" = "$tmp/z.lsp: line 2: the 43 bytes from Ctrl+Z on are not analysed or shown; --raw writes them back" ]
expect "Ctrl+Z: the note names the line and the size" $?

# People's form: UTF-8, LF, the last line without a break stays so.
"$cli" text "$data/mixed.lsp" >"$tmp/mixed.txt"
printf 'a\nb\nc\nd\n\ne\n\nf' | cmp -s - "$tmp/mixed.txt"
expect "mixed: UTF-8 form" $?
"$cli" text "$data/sjis.lsp" | head -n 1 >"$tmp/sjis.txt"
printf '漢字;ソ表\n' | cmp -s - "$tmp/sjis.txt"
expect "sjis: decoded first line" $?

# A single line of 20 MB without a break comes back byte for byte.
head -c 20971520 /dev/zero | tr '\0' 'q' >"$tmp/long.lsp"
"$cli" text --raw "$tmp/long.lsp" | cmp -s - "$tmp/long.lsp"
expect "20 MB line" $?

# Unreadable input: the path and the reason, exit 2, nothing on stdout.
"$cli" text "$tmp/missing.lsp" >"$tmp/out" 2>"$tmp/err"
expect "missing: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -qF "$tmp/missing.lsp: No such file or directory" "$tmp/err"
expect "missing: message names path and reason" $?
expect "missing: no output" "$([ -s "$tmp/out" ] && echo 1 || echo 0)"
"$cli" text "$tmp" >"$tmp/out" 2>"$tmp/err"
expect "directory: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -qF "$tmp: Is a directory" "$tmp/err"
expect "directory: message" $?

# What is no regular file is refused at once, never read: a device that
# never ends, a named pipe nobody writes to, a link to either.
mkfifo "$tmp/pipe.lsp"
ln -s /dev/zero "$tmp/zero.lsp"
for f in /dev/zero "$tmp/pipe.lsp" "$tmp/zero.lsp"; do
  timeout 20 "$cli" text "$f" >"$tmp/out" 2>"$tmp/err"
  expect "$f: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
  expect "$f: message" "$([ "$(cat "$tmp/err")" = "quodle-cli: cannot read $f: Not a regular file" ] && echo 0 || echo 1)"
done
timeout 20 "$cli" strip "$tmp/pipe.lsp" >"$tmp/out" 2>"$tmp/err"
expect "pipe: every command refuses it" "$([ $? -eq 2 ] && echo 0 || echo 1)"

# A file this user may not read (as root, checked as "nobody"; Wine runs
# only as the owner of its prefix).
if [ -z "$windows" ]; then
  printf 'x\r\n' >"$tmp/locked.lsp"
  chmod 000 "$tmp/locked.lsp"
  chmod 755 "$tmp"
  as_user=()
  [ "$(id -u)" -eq 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  "${as_user[@]}" "$cli" text "$tmp/locked.lsp" >"$tmp/out" 2>"$tmp/err"
  expect "no permission: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
  grep -qF "$tmp/locked.lsp: Permission denied" "$tmp/err"
  expect "no permission: message" $?
fi

# Bad usage: usage on stderr, exit 2.
"$cli" text --bogus "$data/crlf.lsp" >/dev/null 2>"$tmp/err"
expect "unknown option: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -q "usage: .*text \[--raw\] FILE" "$tmp/err"
expect "unknown option: usage" $?
"$cli" text >/dev/null 2>"$tmp/err"
expect "no file: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -q "usage: .*text \[--raw\] FILE" "$tmp/err"
expect "no file: usage" $?
"$cli" nonsense >/dev/null 2>"$tmp/err"
expect "unknown command: exit 2" "$([ $? -eq 2 ] && echo 0 || echo 1)"
grep -q "usage: quodle-cli COMMAND" "$tmp/err"
expect "unknown command: usage" $?

finish
