#!/usr/bin/env bash
# Runs the Windows build's programs under Wine for the test suite, in one
# Wine prefix made at the start of a test run and shared by every test.
#   wine.sh start DIR BIN     makes the prefix in DIR and BIN/quodle-cli-wine,
#                             the quodle-cli that the golden scripts run
#   wine.sh run DIR PROG...   runs a Windows program in the prefix
#   wine.sh with DIR CMD...   runs a test script of the Windows build
#   wine.sh stop DIR          ends the prefix's Wine server
# Without Wine the tests are skipped (exit 77).
set -euo pipefail
self=$(readlink -f "$0")
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
command=$1
dir=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2
if [ ! -x "$wine" ]; then
  echo "Wine (wine64) is not installed: skipped" >&2
  exit 77
fi

# Japanese Windows (code page 932) with the Unix side in UTF-8: Wine takes
# both from the locale, made in DIR when the system lacks it. Only the
# Windows programs run in it.
wine_env=(env WINEPREFIX="$dir/prefix" WINEDEBUG=-all LOCPATH="$dir/locale" LC_ALL=ja_JP.UTF-8
          WINEDLLOVERRIDES="mscoree=;mshtml=")

case $command in
start)
  bin=$(cd "$1" && pwd)
  # A prefix left by an earlier run is made anew.
  "${wine_env[@]}" "$wineserver" -k 2>/dev/null || true
  rm -rf "$dir/prefix"
  mkdir "$dir/prefix"
  if [ ! -f "$dir/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$dir/locale"
    localedef -i ja_JP -f UTF-8 "$dir/locale/ja_JP.UTF-8"
  fi
  # One server for the whole run, so that no program waits for a new one.
  "${wine_env[@]}" "$wineserver" -p </dev/null >/dev/null 2>&1
  "${wine_env[@]}" "$wine" wineboot -i >"$dir/wineboot.log" 2>&1
  # Windows without a display: programs still make (invisible) windows.
  "${wine_env[@]}" "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$dir/wineboot.log" 2>&1
  # The desktop that wineboot started had no driver: it starts anew with the
  # null one, here, so that Wine's own processes hold the log open and not
  # the output of a test.
  "${wine_env[@]}" "$wineserver" -k
  "${wine_env[@]}" "$wineserver" -w
  "${wine_env[@]}" "$wineserver" -p </dev/null >/dev/null 2>&1
  "${wine_env[@]}" "$wine" wineboot </dev/null >>"$dir/wineboot.log" 2>&1
  cat >"$bin/quodle-cli-wine" <<WRAPPER
#!/bin/sh
exec bash '$self' run '$dir' '$bin/quodle-cli.exe' "\$@"
WRAPPER
  chmod +x "$bin/quodle-cli-wine"
  ;;
run)
  exec "${wine_env[@]}" "$wine" "$@"
  ;;
with)
  [ -d "$dir/prefix" ] || { echo "no Wine prefix in $dir: win32.wine-start did not run" >&2; exit 77; }
  # The golden scripts expect the paths and messages of Windows.
  QUODLE_WINE=1 exec "$@"
  ;;
stop)
  "${wine_env[@]}" "$wineserver" -k 2>/dev/null || true
  ;;
esac
