#!/usr/bin/env bash
# Installs the Debian packages Quodle needs to build, test and run.
# Idempotent: only packages that are missing are installed.
#   --fuzz  also clang with its libFuzzer and sanitizer runtimes (scripts/fuzz.sh)
#   --wine  also Wine and the locale data, to run the Windows build's tests
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config python3
  qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
  libonig-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils fonts-ipafont-gothic qt6-translations-l10n poppler-utils
  g++-mingw-w64-x86-64-posix
  librsvg2-bin groff-base man-db dpkg-dev
  desktop-file-utils appstream shared-mime-info xdg-utils libglib2.0-bin
)
if [ "${1:-}" = --fuzz ]; then
  packages+=(clang libclang-rt-dev)
fi
if [ "${1:-}" = --wine ]; then
  packages+=(wine wine64 locales)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
