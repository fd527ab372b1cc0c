#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix named by WINEPREFIX (the test run's, set by
# the test registration), never in ~/.wine, on the test session's display when there is one
# (Q73_SESSION_DIR). Q73_LC_ALL, when set, is the system language the program sees. Exits
# with the program's exit code.
#   wine-run.sh PROGRAM [ARGUMENTS]
#   wine-run.sh --host COMMAND [ARGUMENTS]   a command of this machine, in the same environment
# Where the session's programs are 32-bit code (Q73_PROGRAM_ARCH x86, the default) and this
# machine cannot run it, says so and exits with 77, which the tests report as skipped.
set -euo pipefail
: "${WINEPREFIX:?names the prefix of the test run}"
source "$(dirname "$0")/wine-session.sh"
if [ "${Q73_PROGRAM_ARCH:-x86}" = x86 ] && ! machine_runs_32bit; then
  echo "Skipped: $Q73_NO_32BIT_REASON"
  exit 77
fi
wine_environment
if [ -n "${Q73_SESSION_DIR:-}" ] && [ -s "$Q73_SESSION_DIR/display" ]; then
  DISPLAY=$(cat "$Q73_SESSION_DIR/display")
  export DISPLAY
fi
# The system language through the environment of the program alone: this shell has no use
# for it, and the machine may lack that locale.
language=()
if [ -n "${Q73_LC_ALL:-}" ]; then language=(env LC_ALL="$Q73_LC_ALL"); fi
if [ "${1:-}" = --host ]; then
  shift
  exec "${language[@]}" "$@"
fi
exec "${language[@]}" "$(wine_loader)" "$@"
