#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix named by WINEPREFIX (the test run's, set by
# the test registration), never in ~/.wine, on the test session's display when there is one
# (Q73_SESSION_DIR). Q73_LC_ALL, when set, is the system language the program sees. Exits
# with the program's exit code.
set -euo pipefail
: "${WINEPREFIX:?names the prefix of the test run}"
source "$(dirname "$0")/wine-session.sh"
wine_environment
if [ -n "${Q73_SESSION_DIR:-}" ] && [ -s "$Q73_SESSION_DIR/display" ]; then
  DISPLAY=$(cat "$Q73_SESSION_DIR/display")
  export DISPLAY
fi
if [ -n "${Q73_LC_ALL:-}" ]; then
  exec env LC_ALL="$Q73_LC_ALL" wine "$@"
fi
exec wine "$@"
