#!/usr/bin/env bash
# Builds Oniguruma for Windows (a static library, MinGW-w64) from Debian's
# source package of the libonig the Linux build links, into DIR/install.
# The source comes through apt-get source with a list of this machine's own
# Debian sources turned into deb-src entries, kept in DIR: the system's apt
# configuration is not touched.
#   onig-win32.sh DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
[ -f "$dir/install/lib/libonig.a" ] && exit 0
mkdir -p "$dir/apt/lists/partial" "$dir/apt/sources.list.d"
# Every main Debian archive of this machine (not the security one), once.
python3 - "$dir/apt/sources.list" <<'PY'
import glob, re, sys
entries = []
def add(uri, suite, options=""):
    uri = uri.rstrip("/")
    if not uri.endswith("/debian") or "-" in suite:
        return
    line = f"deb-src {options}{uri} {suite} main"
    if line not in entries:
        entries.append(line)
for path in glob.glob("/etc/apt/sources.list") + glob.glob("/etc/apt/sources.list.d/*.list"):
    for raw in open(path, encoding="utf-8", errors="replace"):
        m = re.match(r"^deb\s+(\[[^\]]*\]\s+)?(\S+)\s+(\S+)\s+(.*)$", raw.strip())
        if m and "main" in m.group(4).split():
            add(m.group(2), m.group(3), m.group(1) or "")
for path in glob.glob("/etc/apt/sources.list.d/*.sources"):
    for stanza in open(path, encoding="utf-8", errors="replace").read().split("\n\n"):
        fields = {}
        for line in stanza.splitlines():
            if ":" in line and not line.startswith((" ", "#")):
                key, value = line.split(":", 1)
                fields[key.strip().lower()] = value.split()
        if "deb" not in fields.get("types", []) or "main" not in fields.get("components", []):
            continue
        if fields.get("enabled", ["yes"])[0].lower() == "no":
            continue
        signed = fields.get("signed-by", [])
        options = f"[signed-by={signed[0]}] " if len(signed) == 1 and signed[0].startswith("/") else ""
        for uri in fields.get("uris", []):
            for suite in fields.get("suites", []):
                add(uri, suite, options)
if not entries:
    sys.exit("no Debian archive in this machine's apt sources")
open(sys.argv[1], "w").write("\n".join(entries) + "\n")
PY
apt=(apt-get -q -o "Dir::Etc::SourceList=$dir/apt/sources.list" -o "Dir::Etc::SourceParts=$dir/apt/sources.list.d"
     -o "Dir::State::Lists=$dir/apt/lists")
"${apt[@]}" update >"$dir/apt.log" 2>&1 || { cat "$dir/apt.log" >&2; exit 1; }
version=$(dpkg-query -W -f='${source:Version}' libonig-dev)
rm -rf "$dir/src"
mkdir -p "$dir/src"
# The version the Linux build links, or the archive's own when that one has
# moved on.
(cd "$dir/src" && { "${apt[@]}" source "libonig=$version" || "${apt[@]}" source libonig; }) >>"$dir/apt.log" 2>&1 ||
  { cat "$dir/apt.log" >&2; exit 1; }
source_dir=$(find "$dir/src" -mindepth 1 -maxdepth 1 -type d -name 'libonig-*' | head -1)
cmake -S "$source_dir" -B "$dir/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DENABLE_POSIX_API=OFF -DINSTALL_DOCUMENTATION=OFF \
  -DCMAKE_INSTALL_PREFIX="$dir/install" >"$dir/cmake.log" 2>&1 || { cat "$dir/cmake.log" >&2; exit 1; }
cmake --build "$dir/build" --target install -j2 >>"$dir/cmake.log" 2>&1 || { cat "$dir/cmake.log" >&2; exit 1; }
