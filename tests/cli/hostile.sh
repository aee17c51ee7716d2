#!/usr/bin/env bash
# Every command against input nobody should give it: empty, CR only, NUL
# bytes, random bytes, broken Shift-JIS and UTF-8, Ctrl+Z, deep nesting, a
# megabyte line, a named pipe, a folder, /dev/zero. Each run ends within its
# time with 0, 1 or 2 (2 with a message), never by a signal, and prints no
# sanitizer report (the same script runs against a -DQUODLE_SANITIZE=ON
# build by hand).
source "$(dirname "$0")/golden.bash"

inputs=()
add() {  # name, then printf format and arguments for the bytes
  local name=$1
  shift
  # shellcheck disable=SC2059
  printf "$@" >"$tmp/$name.lsp"
  inputs+=("$tmp/$name.lsp")
}
add empty ''
add cr-only '\r\r\r\r'
add nul 'a\0b\r\n\0\0(setq\0 x 1)\r\n'
add bad-sjis '\x81\x20\xff\xfe(defun \x82) \x81\r\n\x82'
add bad-utf8-bom '\xef\xbb\xbf(setq a "\xc3(")\r\n\xe3\x81'
add ctrlz '(defun f ()\x1a(g))\r\n'
add quotes-and-bars '"\\"|;|"|\r\n#|;;;|\r\n'
python3 -c 'import random,sys; r=random.Random(29); sys.stdout.buffer.write(bytes(r.getrandbits(8) for _ in range(200000)))' \
  >"$tmp/random.lsp"
python3 -c 'import sys; sys.stdout.write("(" * 100000 + "defun c:x () " + ")" * 99999 + "\r\n")' >"$tmp/deep.lsp"
python3 -c 'import sys; sys.stdout.write("(setq s \"" + "a" * 1048576 + "\")")' >"$tmp/long-line.lsp"
inputs+=("$tmp/random.lsp" "$tmp/deep.lsp" "$tmp/long-line.lsp")
mkfifo "$tmp/pipe.lsp"
mkdir "$tmp/folder.lsp"
inputs+=("$tmp/pipe.lsp" "$tmp/folder.lsp" /dev/zero)

commands=(
  "text" "text --raw" "strip" "tokens" "brackets" "check" "vars" "jumplist" "usecounts" "unused" "tree"
  "catalog --stamp x" "defuns --padded" "args" "locals" "upcase-sysvars --raw" "load-expr --target acad"
  "load-expr --target zcad --modified --raw" "find --pattern setq --options down,zenkaku,crlf,space"
  "replace --raw --pattern a --with bb --options down" "debug --op add-watch --line 0 --name x"
  "debug --raw --op comment --group pv" "comment --line 0" "convert --op lead-blanks-to-tabs --tab 8"
  "print --pdf $tmp/out.pdf"
)
with_second=("search:c:" "comments:0")

run_one() {  # command words..., then the file last
  local rc
  timeout 60 "$cli" "$@" >"$tmp/out" 2>"$tmp/err"
  rc=$?
  local what="quodle-cli $* (exit $rc)"
  expect "$what: ends by itself with 0, 1 or 2" "$([ "$rc" -le 2 ] && echo 0 || echo 1)"
  if [ "$rc" -eq 2 ]; then
    expect "$what: says why" "$([ -s "$tmp/err" ] && echo 0 || echo 1)"
  fi
  ! grep -qE 'Sanitizer|runtime error:|LeakSanitizer' "$tmp/err"
  expect "$what: no sanitizer report" $?
}

for f in "${inputs[@]}"; do
  for c in "${commands[@]}"; do
    # shellcheck disable=SC2086
    run_one $c "$f"
  done
  for c in "${with_second[@]}"; do
    case $c in
      search:*) run_one search "$f" "${c#*:}" ;;
      comments:*) run_one comments "$f" "${c#*:}" ;;
    esac
  done
done

# The whole-project analysis of a folder that holds all of them, /dev/zero
# through a link among them: each is read or listed as skipped, none blocks.
ln -s /dev/zero "$tmp/zero.lsp"
run_one project "$tmp"

finish
