#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix named by WINEPREFIX (the build tree's, set
# by the test registration), never in ~/.wine. Q73_LC_ALL, when set, is the system language
# the program sees. Exits with the program's exit code.
set -euo pipefail
: "${WINEPREFIX:?names the prefix of the build tree}"
export WINEPREFIX WINEARCH=win32 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;printui=n}"
if [ -n "${Q73_LC_ALL:-}" ]; then
  exec env LC_ALL="$Q73_LC_ALL" wine "$@"
fi
exec wine "$@"
