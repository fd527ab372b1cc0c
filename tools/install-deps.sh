#!/usr/bin/env bash
# Installs, by Debian package name, everything the build, the run and the tests need:
# the 32-bit Wine, the MinGW-w64 cross compilers, CMake, GoogleTest's sources, a virtual X
# display, the fonts that render the Chinese dialog texts and the window captions, the tools
# the screenshots use, clang for the native sanitizer and fuzzing builds, osslsigncode for
# signing, NSIS for the benchmark, and the Python libraries the build's tools use (PE files,
# ASN.1 for the catalog, pictures for their check).
# Returns within a second or two when everything is already there.
set -euo pipefail

packages=(
  cmake ninja-build googletest python3
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb x11-utils xdotool imagemagick fonts-wqy-microhei fonts-wine
  clang libclang-rt-14-dev osslsigncode nsis
  python3-pefile python3-asn1crypto python3-pil wixl
)

missing_packages() {
  # One status line per package; a package that is not fully installed is listed.
  local package status
  for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null) || status=""
    [[ "$status" == ii* ]] || echo "$package"
  done
}

if dpkg --print-foreign-architectures | grep -qx i386 && [ -z "$(missing_packages)" ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages; run this script as root: $(missing_packages | xargs)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
dpkg --add-architecture i386

# An index of the archive may be out of step for a while ("File has unexpected size ...
# Mirror sync in progress?"): try a few times, then go on with the indexes that did refresh.
index_complete=""
for attempt in 1 2 3; do
  if apt-get update -qq; then index_complete=1; break; fi
  echo "install-deps: the package index could not be refreshed completely (attempt $attempt)" >&2
  [ "$attempt" -lt 3 ] && sleep 10
done

install_packages() { apt-get install -y -qq --no-install-recommends "$@" "${packages[@]}" >/dev/null; }
if ! install_packages; then
  # With one architecture's index of a suite missing, the two architectures' versions of a
  # shared library can disagree; the release's own suite is complete for both.
  if [ -z "$index_complete" ]; then
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    echo "install-deps: installing from the $codename suite only" >&2
    install_packages -t "$codename" || true
  fi
fi

still_missing=$(missing_packages | xargs)
if [ -n "$still_missing" ]; then
  echo "install-deps: these packages could not be installed: $still_missing" >&2
  exit 1
fi
