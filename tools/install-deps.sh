#!/usr/bin/env bash
# Installs, by Debian package name, everything the build, the run and the tests need:
# the 32-bit Wine, the MinGW-w64 cross compiler, CMake, GoogleTest's sources, a virtual X
# display, the fonts that render the Chinese dialog texts and the window captions, the
# tools the screenshots use, and NSIS for the benchmark.
# Returns within a second or two when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build googletest python3
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 wine64
  xvfb x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine
  nsis  # the benchmark's other installer (tools/bench.sh)
)

installed() {
  # dpkg-query prints one status line per package; any that is not fully installed fails the check.
  local status
  status=$(dpkg-query -W -f='${db:Status-Abbrev}\n' "${packages[@]}" 2>/dev/null) || return 1
  [ "$(grep -c '^ii' <<<"$status")" -eq "${#packages[@]}" ]
}

if dpkg --print-foreign-architectures | grep -qx i386 && installed; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages; run this script as root: ${packages[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
installed || { echo "install-deps: packages still missing after apt-get" >&2; exit 1; }
