#!/usr/bin/env bash
# Builds everything and runs every test under Wine: bash tools/test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine

source tools/wine-session.sh
wine_session_init "$root/build"
wine_session_start

ctest --preset wine "$@"
