#!/usr/bin/env bash
# The test run's Wine session, as ctest's fixture calls it (so bare `ctest` works too):
#   test-session.sh start BUILD_DIR [win64]   a fresh prefix BUILD_DIR/test-prefix copied from
#                                             the template, a virtual display and a persistent
#                                             wineserver
#   test-session.sh stop BUILD_DIR [win64]    stops both by their process ids
# With win64 the session is the 64-bit one, beside the other: BUILD_DIR/test-prefix64 from the
# 64-bit template, state in BUILD_DIR/test-session64.
# The tests find the display in the session's state folder (tools/wine-run.sh reads it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-session.sh"
action="${1:?start or stop}"
build=$(cd "${2:?the build tree}" && pwd)
suffix=""
case "${3:-win32}" in
  win32) export Q73_WINEARCH=win32 ;;
  win64) export Q73_WINEARCH=win64; suffix=64 ;;
  *) echo "usage: $0 start|stop BUILD_DIR [win64]" >&2; exit 2 ;;
esac
state="$build/test-session$suffix"
prefix="$build/test-prefix$suffix"
case "$action" in
  start)
    export WINEPREFIX="$prefix"
    wine_services_stop "$state"  # whatever an interrupted run left running
    wine_prefix_fresh "$build" "$prefix"
    wine_services_start "$state"
    echo "Wine session: prefix $WINEPREFIX ($Q73_WINEARCH), display $DISPLAY"
    ;;
  stop)
    export WINEPREFIX="$prefix"
    wine_environment
    wine_services_stop "$state"
    ;;
  *) echo "usage: $0 start|stop BUILD_DIR [win64]" >&2; exit 2 ;;
esac
