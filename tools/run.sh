#!/usr/bin/env bash
# The program's main job: builds setup.exe, runs it under Wine in a fresh prefix and shows
# what it left beside itself: bash tools/run.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh
cmake --preset wine >/dev/null
cmake --build --preset wine --target setup

source tools/wine-session.sh
# A fresh prefix for every run, copied from the build tree's (hard links: fast and small).
wine_session_init "$root/build"
run_prefix="$root/build/run-prefix"
rm -rf "$run_prefix"
cp -al "$root/build/wineprefix" "$run_prefix"
export WINEPREFIX="$run_prefix"
wine_session_start

program_dir="$run_prefix/drive_c/Program Files/Q73 Setup"
mkdir -p "$program_dir"
cp build/setup.exe "$program_dir/"
echo "Running setup.exe in C:\\Program Files\\Q73 Setup (system language: ${LC_ALL:-en_US.UTF-8})"
status=0
env LC_ALL="${LC_ALL:-en_US.UTF-8}" wine "C:\\Program Files\\Q73 Setup\\setup.exe" || status=$?
echo "setup.exe ended with exit code $status. Beside it now:"
(cd "$program_dir" && find . -mindepth 1 | sort | while read -r entry; do
  if [ -f "$entry" ]; then printf '  %-32s %6d bytes\n' "${entry#./}" "$(stat -c %s "$entry")"
  else printf '  %s/\n' "${entry#./}"; fi
done)
echo "setting.dll:"
sed 's/^/  /; s/\r$//' "$program_dir/setting.dll"; echo
