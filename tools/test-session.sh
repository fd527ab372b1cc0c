#!/usr/bin/env bash
# The test run's Wine session, as ctest's fixture calls it (so bare `ctest` works too):
#   test-session.sh start BUILD_DIR   a fresh prefix BUILD_DIR/test-prefix copied from the
#                                     template, a virtual display and a persistent wineserver
#   test-session.sh stop BUILD_DIR    stops both by their process ids
# The tests find the display in BUILD_DIR/test-session/display (tools/wine-run.sh reads it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-session.sh"
action="${1:?start or stop}"
build="${2:?the build tree}"
state="$build/test-session"
case "$action" in
  start)
    export WINEPREFIX="$build/test-prefix"
    wine_services_stop "$state"  # whatever an interrupted run left running
    wine_prefix_fresh "$build" "$build/test-prefix"
    wine_services_start "$state"
    echo "Wine session: prefix $WINEPREFIX, display $DISPLAY"
    ;;
  stop)
    export WINEPREFIX="$build/test-prefix"
    wine_environment
    wine_services_stop "$state"
    ;;
  *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
