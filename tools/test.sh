#!/usr/bin/env bash
# Builds everything and runs every test under Wine: bash tools/test.sh [ctest arguments]
# The Wine session (a fresh prefix, a virtual display, a wineserver) is a ctest fixture, so
# `ctest --preset wine -R NAME` in the source tree works the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine

ctest --preset wine "$@"
