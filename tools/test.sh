#!/usr/bin/env bash
# Builds everything and runs every test under Wine: bash tools/test.sh [ctest arguments]
# Both flavours run: the 32-bit programs in 32-bit and (WoW64) 64-bit prefixes, and the native
# 64-bit programs (tests named x64.*) in a 64-bit prefix. On a machine that cannot run 32-bit
# code (or with Q73_NO_32BIT=1) the 32-bit entries report themselves skipped, with the reason.
# The Wine sessions are ctest fixtures, so `ctest --preset wine -R NAME` in the source tree works
# the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tools/wine-session.sh

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine

if ! machine_runs_32bit; then echo "$Q73_NO_32BIT_REASON"; fi
ctest --preset wine "$@"
