#!/usr/bin/env bash
# The Debian package as a user gets it: cpack makes it from the build; it
# holds exactly the install layout and names its libraries; its desktop
# entry, file type and metadata pass their validators and, under a private
# XDG data home, make Quodle the program for .lsp and .LSP files; unpacked
# with dpkg-deb -x, its quodle-cli runs an analysis with the word lists from
# share/quodle and keeps its own files in the user's folders, never beside
# itself. Usage: deb.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
expect() {  # name, status of the condition (0 = holds)
    if [ "$2" -eq 0 ]; then passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$work/quodle_${version}_$(dpkg --print-architecture).deb
if ! (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1) ||
    [ ! -f "$deb" ]; then
    cat "$work/cpack.log"
    echo "FAIL: cpack made no $(basename "$deb")"
    exit 1
fi

# Every file of the layout, and no other.
cat >"$work/want" <<LIST
./usr/bin/quodle
./usr/bin/quodle-cli
./usr/share/applications/org.quodle.Quodle.desktop
./usr/share/icons/hicolor/128x128/apps/quodle.png
./usr/share/icons/hicolor/256x256/apps/quodle.png
./usr/share/icons/hicolor/48x48/apps/quodle.png
./usr/share/icons/hicolor/scalable/apps/quodle.svg
./usr/share/man/man1/quodle-cli.1.gz
./usr/share/man/man1/quodle.1.gz
./usr/share/metainfo/org.quodle.Quodle.metainfo.xml
./usr/share/mime/packages/org.quodle.Quodle.xml
./usr/share/quodle/AutoCADSysVar.txt
./usr/share/quodle/AutoLISPFunction.txt
./usr/share/quodle/AutoLISPReserved.txt
./usr/share/quodle/HiliteWordList.txt
./usr/share/quodle/JogaiList.txt
LIST
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort >"$work/got"
diff "$work/want" "$work/got" >"$work/diff"
held=$?  # before the message's own commands change $?
expect "the package's files: $(tr '\n' ' ' <"$work/diff")" "$held"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libonig5 libx11-6 qt6-qpa-plugins fonts-ipafont-gothic; do
    grep -q "\b$library\b" <<<"$depends"
    expect "Depends names $library: $depends" $?
done

root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
# Hints (another category could be added) are no faults.
desktop-file-validate "$share/applications/org.quodle.Quodle.desktop" >"$work/out" 2>&1
[ $? -eq 0 ] && ! grep -qv 'hint:' "$work/out"
held=$?  # before the message's own commands change $?
expect "desktop-file-validate: $(grep -v 'hint:' "$work/out")" "$held"
appstreamcli validate --no-net "$share/metainfo/org.quodle.Quodle.metainfo.xml" >"$work/out" 2>&1
held=$?  # before the message's own commands change $?
expect "appstreamcli validate: $(cat "$work/out")" "$held"

# The association, as a desktop sees it.
printf '(princ)\r\n' >"$work/tool.lsp"
cp "$work/tool.lsp" "$work/TOOL.LSP"
data=$work/xdg
mkdir -p "$data/applications" "$data/mime/packages"
export XDG_CURRENT_DESKTOP=GNOME
[ "$(XDG_DATA_HOME=$data xdg-mime query filetype "$work/tool.lsp")" != text/x-autolisp ]
expect "without the package .lsp is not AutoLISP" $?
cp "$share/applications/org.quodle.Quodle.desktop" "$data/applications/"
cp "$share/mime/packages/org.quodle.Quodle.xml" "$data/mime/packages/"
update-mime-database "$data/mime" && update-desktop-database "$data/applications" >/dev/null
expect "the MIME and desktop databases are made" $?
for file in tool.lsp TOOL.LSP; do
    [ "$(XDG_DATA_HOME=$data xdg-mime query filetype "$work/$file")" = text/x-autolisp ]
    expect "$file is text/x-autolisp" $?
done
[ "$(XDG_DATA_HOME=$data xdg-mime query default text/x-autolisp)" = org.quodle.Quodle.desktop ]
expect "Quodle opens text/x-autolisp" $?
grep -qx 'Exec=quodle %F' "$share/applications/org.quodle.Quodle.desktop"
expect "the entry starts quodle with the files" $?

# The packaged programs, run as installed, for a user of their own.
cli=$root/usr/bin/quodle-cli
export HOME=$work/home XDG_CONFIG_HOME= XDG_CACHE_HOME=
mkdir -p "$HOME"
[ "$("$cli" --version)" = "quodle-cli $version" ] && [ "$("$root/usr/bin/quodle" --version)" = "quodle $version" ]
expect "the packaged programs know their version" $?
# "pause" is in the shipped exclusion list: reported only without it. The
# lookup reads the shipped function list.
printf '(defun c:t ( / a) (setq a 1) (princ a) (command "_.LINE" pause))\r\n' >"$work/check.lsp"
: >"$work/empty.txt"
"$cli" check "$work/check.lsp" >"$work/out" 2>&1
status=$?
"$cli" check --jogai "$work/empty.txt" "$work/check.lsp" >/dev/null 2>&1
without=$?
expect "check with the shipped exclusion list: status $status, $without without it; $(head -3 "$work/out")" \
    $(( status != 0 || without != 1 ))
"$cli" lookup --functions getv >"$work/out" 2>&1
grep -q '^getvar ' "$work/out"
held=$?  # before the message's own commands change $?
expect "lookup reads the shipped function list: $(head -2 "$work/out")" "$held"
[ "$("$cli" load-expr --target icad --modified "$work/check.lsp")" = "$HOME/.cache/quodle/temp.lsp" ]
expect "the load file of an installed program is the user's" $?
before=$(find "$root" | sort)
"$cli" print --pdf "$work/out.pdf" "$work/check.lsp" >/dev/null 2>&1
expect "the packaged quodle-cli prints" $?
[ "$(find "$root" | sort)" = "$before" ]
expect "nothing was written beside the programs" $?
man -l "$share/man/man1/quodle-cli.1.gz" 2>/dev/null | grep -q 'upcase-sysvars'
expect "the packaged manual page reads" $?

echo "deb: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
