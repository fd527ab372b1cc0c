#!/usr/bin/env bash
# A Wine session of the test run, as ctest's fixtures call it (so bare `ctest` works too):
#   test-session.sh start PREFIX STATE_DIR ARCH   a fresh PREFIX copied from the template of
#                                                 ARCH (win32 or win64), a virtual display and
#                                                 a persistent wineserver
#   test-session.sh stop PREFIX STATE_DIR ARCH    stops both by their process ids
# The templates live in Q73_WINE_TEMPLATES (a build tree). Q73_PROGRAM_ARCH says whose
# programs run in the session: x86 (32-bit code) or x64. A session for 32-bit programs on a
# machine that cannot run them says so and reports itself skipped (exit code 77).
# The tests find the display in the state folder (tools/wine-run.sh reads it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-session.sh"
usage="usage: $0 start|stop PREFIX STATE_DIR win32|win64"
action="${1:?$usage}"
prefix="${2:?$usage}"
state="${3:?$usage}"
export Q73_WINEARCH="${4:?$usage}"
templates="${Q73_WINE_TEMPLATES:?names the build tree that holds the prefix templates}"

if [ "${Q73_PROGRAM_ARCH:-x86}" = x86 ] && ! machine_runs_32bit; then
  echo "Skipped: $Q73_NO_32BIT_REASON"
  exit 77
fi

export WINEPREFIX="$prefix"
case "$action" in
  start)
    wine_services_stop "$state"  # whatever an interrupted run left running
    wine_prefix_fresh "$templates" "$prefix"
    wine_services_start "$state"
    echo "Wine session: prefix $WINEPREFIX ($Q73_WINEARCH), display $DISPLAY"
    ;;
  stop)
    wine_environment
    wine_services_stop "$state"
    ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
