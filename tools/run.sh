#!/usr/bin/env bash
# The program's main job: builds setup.exe and runs the whole wizard under Wine in a fresh
# prefix with the print-UI stand-in: bash tools/run.sh
#
# On a person's display (DISPLAY set and reachable, not under CI) the wizard is theirs to click
# through. Otherwise it runs on a virtual display and is walked the way a user would (Next,
# Next, select the series, Next), with a screenshot of every page, the about box and the
# outcome message in build/screenshots/ (or Q73_SCREENSHOTS). Either way it ends with what was
# installed. Q73_SECOND_RUN=1 first runs the wizard once and cancels it: a first run writes the
# language files and shows English, the next one the system's language.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine --target setup printui wizard_walk

source tools/wine-session.sh
# A fresh prefix for every run: a whole copy of the build tree's template, which no run writes.
run_prefix="$root/build/run-prefix"
wine_prefix_fresh "$root/build" "$run_prefix"
# The stand-in for the platform's print-UI component.
cp build/printui_standin/printui.dll "$run_prefix/drive_c/windows/system32/printui.dll"

interactive=""
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ] && xdpyinfo >/dev/null 2>&1; then interactive=1; fi
session="$root/build/run-session"
trap 'wine_services_stop "$session"' EXIT
wine_services_start "$session" ${interactive:+--use-display}

program_dir="$run_prefix/drive_c/Program Files/Q73 Setup"
mkdir -p "$program_dir"
cp build/setup.exe "$program_dir/"
cp build/tools/wizard_driver/wizard_walk.exe "$run_prefix/drive_c/windows/"
language="${LC_ALL:-en_US.UTF-8}"
echo "Running setup.exe in C:\\Program Files\\Q73 Setup (system language: $language)"

status=0
if [ -n "$interactive" ]; then
  echo "The wizard is on your display ($DISPLAY)."
  env LC_ALL="$language" wine "C:\\Program Files\\Q73 Setup\\setup.exe" || status=$?
  echo "setup.exe ended with exit code $status."
  env LC_ALL="$language" wine wizard_walk.exe --report || true
else
  shots_windows='C:\q73-screenshots'
  shots="$run_prefix/drive_c/q73-screenshots"
  mkdir -p "$shots"
  if [ -n "${Q73_SECOND_RUN:-}" ]; then
    env LC_ALL="$language" wine wizard_walk.exe --cancel "C:\\Program Files\\Q73 Setup\\setup.exe"
  fi
  env LC_ALL="$language" wine wizard_walk.exe "C:\\Program Files\\Q73 Setup\\setup.exe" "$shots_windows" || status=$?
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
