#!/usr/bin/env bash
# The program's main job: builds setup.exe and runs the whole wizard under Wine in a fresh
# prefix with the print-UI stand-in: bash tools/run.sh
#
# On a person's display (DISPLAY set and reachable, not under CI) the wizard is theirs to click
# through. Otherwise it runs on a virtual display and is walked the way a user would (Next,
# Next, select the series, Next), with a screenshot of every page, the about box and the
# outcome message in build/screenshots/ (or Q73_SCREENSHOTS). Either way it ends with what was
# installed. Q73_SECOND_RUN=1 first runs the wizard once and cancels it: a first run writes the
# language files and shows English, the next one the system's language. A USB receipt printer
# is plugged in: its port, USB001, is in the spooler's list (Q73_NO_USB=1: none), so the walk
# puts the printer on it.
#   Q73_WINDOWS=32 (the default)  the 32-bit setup.exe on 32-bit Windows
#   Q73_WINDOWS=64                the 32-bit setup.exe on 64-bit Windows (under WoW64; it installs
#                                 the x64 driver)
#   Q73_WINDOWS=x64               the native 64-bit setup.exe (build/x64/setup.exe) on 64-bit Windows
# On a machine that cannot run 32-bit code (or with Q73_NO_32BIT=1) it says so and runs the
# native 64-bit setup.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tools/wine-session.sh

windows="${Q73_WINDOWS:-32}"
if [ "$windows" != x64 ] && ! machine_runs_32bit; then
  echo "This machine cannot run 32-bit code, so the native 64-bit setup.exe runs instead, on 64-bit Windows."
  windows=x64
fi
case "$windows" in
  32) export Q73_WINEARCH=win32; suffix=""; build=build ;;
  64) export Q73_WINEARCH=win64; suffix=64; build=build ;;
  x64) export Q73_WINEARCH=win64; suffix=x64; build=build/x64 ;;
  *) echo "run: Q73_WINDOWS is 32, 64 or x64, not ${windows}" >&2; exit 2 ;;
esac

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine --target setup printui wizard_walk x64_build-build

# A fresh prefix for every run: a whole copy of the build tree's template, which no run writes.
run_prefix="$root/build/run-prefix$suffix"
wine_prefix_fresh "$root/build" "$run_prefix"
# The stand-in for the platform's print-UI component; on 64-bit Windows the x64 one in
# system32 (and the x86 one in syswow64 for the 32-bit setup.exe), and the platform's x64
# Unidrv core in its driver store.
case "$windows" in
  32) standins=(-DSOURCE=build/printui_standin/printui.dll) ;;
  64) standins=(-DSOURCE=build/printui_standin/printui.dll -DSOURCE64=build/x64/printui_standin/printui.dll
                -DSTDNAMES=build/payload/STDNAMES.GPD) ;;
  x64) standins=(-DSOURCE64=build/x64/printui_standin/printui.dll -DSTDNAMES=build/x64/payload/STDNAMES.GPD) ;;
esac
cmake "${standins[@]}" -DPREFIX="$run_prefix" -P printui_standin/install_into_prefix.cmake >/dev/null

interactive=""
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ] && xdpyinfo >/dev/null 2>&1; then interactive=1; fi
session="$root/build/run-session$suffix"
trap 'wine_services_stop "$session"' EXIT
wine_services_start "$session" ${interactive:+--use-display}

# The port a USB printer's port driver adds, in both registry views of a 64-bit prefix.
if [ -z "${Q73_NO_USB:-}" ]; then
  ports='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports'
  "$(wine_loader)" reg add "$ports" /v USB001 /d "" /f >/dev/null
  if [ "$Q73_WINEARCH" = win64 ]; then "$(wine_loader)" reg add "$ports" /v USB001 /d "" /f /reg:32 >/dev/null; fi
fi

program_dir="$run_prefix/drive_c/Program Files/Q73 Setup"
mkdir -p "$program_dir"
cp "$build/setup.exe" "$program_dir/"
cp "$build/tools/wizard_driver/wizard_walk.exe" "$run_prefix/drive_c/windows/"
language="${LC_ALL:-en_US.UTF-8}"
echo "Running $build/setup.exe in C:\\Program Files\\Q73 Setup (system language: $language, Q73_WINDOWS=$windows)"

status=0
if [ -n "$interactive" ]; then
  echo "The wizard is on your display ($DISPLAY)."
  env LC_ALL="$language" "$(wine_loader)" "C:\\Program Files\\Q73 Setup\\setup.exe" || status=$?
  echo "setup.exe ended with exit code $status."
  env LC_ALL="$language" "$(wine_loader)" wizard_walk.exe --report || true
else
  shots_windows='C:\q73-screenshots'
  shots="$run_prefix/drive_c/q73-screenshots"
  mkdir -p "$shots"
  if [ -n "${Q73_SECOND_RUN:-}" ]; then
    env LC_ALL="$language" "$(wine_loader)" wizard_walk.exe --cancel "C:\\Program Files\\Q73 Setup\\setup.exe"
  fi
  env LC_ALL="$language" "$(wine_loader)" wizard_walk.exe "C:\\Program Files\\Q73 Setup\\setup.exe" "$shots_windows" || status=$?
  out="${Q73_SCREENSHOTS:-build/screenshots}"
  mkdir -p "$out"
  for shot in "$shots"/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "$out/$(basename "${shot%.bmp}").png"
  done
  echo "Screenshots: $out/"
fi

echo "Beside setup.exe now:"
(cd "$program_dir" && find . -mindepth 1 | sort | while read -r entry; do
  if [ -f "$entry" ]; then printf '  %-32s %6d bytes\n' "${entry#./}" "$(stat -c %s "$entry")"
  else printf '  %s/\n' "${entry#./}"; fi
done)
exit "$status"
