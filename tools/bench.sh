#!/usr/bin/env bash
# The benchmark: setup.exe against an NSIS installer of the same payload, both run under Wine
# in the same session, interleaved: bash tools/bench.sh
#
# Builds the programs (a Release build), builds the NSIS installer with Debian's makensis from
# bench/q73.nsi, and measures in a Wine prefix of its own (build-bench/bench/wineprefix):
#   - file sizes, and sizes apart from the payload;
#   - start-up to the first painted wizard page (bench_measure first-page), both installers
#     in turn and the bare dialogs after them, Q73_BENCH_RUNS times each (default 21);
#   - the install sequence's own file work against a bare copy of the same bytes
#     (bench_install), Q73_BENCH_RUNS pairs;
#   - peak private bytes of a whole install through each installer's pages, and of the bare
#     dialog programs, Q73_BENCH_MEMORY_RUNS times each (default 3).
# Writes docs/benchmark.md with the table and docs/benchmark.png with its chart, and prints
# the table. The raw figures stay in build-bench/bench/results.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs="${Q73_BENCH_RUNS:-21}"
memory_runs="${Q73_BENCH_MEMORY_RUNS:-3}"

bash tools/install-deps.sh
# What ships: a Release build without the test build's assertions, in a tree of its own.
bench_build="build-bench"
cmake --preset wine -B "$bench_build" -DQ73_ASSERTIONS=OFF >/dev/null
cmake --build "$bench_build" --target setup uninstaller printui bench_install bench_measure bare_dialog \
  bare_dialog_spooler

out="$root/$bench_build/bench"
nsis="$out/nsis"
mkdir -p "$nsis"
python3 bench/nsis_files.py "$bench_build"/payload/payload.rc "$nsis/files.nsh"
makensis -V2 -DPAYLOAD_FILES="$nsis/files.nsh" -DOUTFILE="$nsis/nsis_setup.exe" -DUNCOMPRESSED bench/q73.nsi
makensis -V2 -DPAYLOAD_FILES="$nsis/files.nsh" -DOUTFILE="$nsis/nsis_setup_lzma.exe" bench/q73.nsi

source tools/wine-session.sh
# A prefix of the benchmark's own, a fresh copy of the build tree's template, with the print-UI
# stand-in; a virtual display and a wineserver, stopped by their process ids at the end.
wine_prefix_fresh "$root/$bench_build" "$out/wineprefix"
cp "$bench_build"/printui_standin/printui.dll "$WINEPREFIX/drive_c/windows/system32/printui.dll"
trap 'wine_services_stop "$out/session"' EXIT
wine_services_start "$out/session"

# Each program alone in its own folder, as a user would start it.
drive_c="$WINEPREFIX/drive_c"
programs="$drive_c/q73bench-programs"
rm -rf "$programs" "$drive_c/q73bench"
mkdir -p "$programs"/{ours,nsis,bare,bare_spooler}
cp "$bench_build"/setup.exe "$programs/ours/"
cp "$nsis/nsis_setup.exe" "$programs/nsis/"
cp "$bench_build"/bench/bare_dialog.exe "$programs/bare/"
cp "$bench_build"/bench/bare_dialog_spooler.exe "$programs/bare_spooler/"
ours='C:\q73bench-programs\ours\setup.exe'
theirs='C:\q73bench-programs\nsis\nsis_setup.exe'
bare='C:\q73bench-programs\bare\bare_dialog.exe'
bare_spooler='C:\q73bench-programs\bare_spooler\bare_dialog_spooler.exe'

results="$out/results.txt"
: >"$results"
load_before=$(cut -d' ' -f1 /proc/loadavg)  # other work on the machine slows both installers
measure() {  # LABEL bench_measure arguments...: appends "LABEL KEY VALUE" lines
  local label="$1" output line
  shift
  output=$(wine "$bench_build"/bench/bench_measure.exe "$@")  # a failed measure ends the benchmark
  while read -r line; do
    echo "$label ${line%$'\r'}" >>"$results"
  done <<<"$output"
}

echo "Warming up (the first run of setup.exe writes its language files)"
wine "$bench_build"/bench/bench_measure.exe first-page "$ours" "C:\\q73bench-programs\\ours.bmp" >/dev/null
wine "$bench_build"/bench/bench_measure.exe first-page "$theirs" "C:\\q73bench-programs\\nsis.bmp" >/dev/null
convert "$programs/ours.bmp" "$out/first-page-ours.png"
convert "$programs/nsis.bmp" "$out/first-page-nsis.png"

echo "Start-up to the first painted page: $runs runs each"
for ((i = 0; i < runs; i++)); do
  if ((i % 2 == 0)); then
    measure ours first-page "$ours"; measure nsis first-page "$theirs"
  else
    measure nsis first-page "$theirs"; measure ours first-page "$ours"
  fi
  # What any dialog program costs to start here, for reference.
  measure bare first-page "$bare"
  measure bare_spooler first-page "$bare_spooler"
done

echo "The install sequence's own work against a bare copy: $runs pairs"
wine "$bench_build"/bench/bench_install.exe "$runs" | tr -d '\r' | sed 's/^/work /' >>"$results"

echo "Peak private bytes: $memory_runs runs each"
for ((i = 0; i < memory_runs; i++)); do
  # The print-UI stand-in adds nothing, so that every run does the same work.
  export Q73_PRINTUI_FAIL=1
  measure ours install-ours "$ours"
  unset Q73_PRINTUI_FAIL
  rm -rf "$drive_c/q73bench/nsis-install"
  measure nsis install-nsis "$theirs"
  measure bare idle "$bare"
  measure bare_spooler idle "$bare_spooler"
done
rm -rf "$drive_c/q73bench"

python3 bench/report.py --results "$results" --setup "$bench_build"/setup.exe --uninstaller "$bench_build"/uninstall.exe \
  --nsis "$nsis/nsis_setup.exe" --nsis-lzma "$nsis/nsis_setup_lzma.exe" --payload "$bench_build"/payload/payload.rc \
  --runs "$runs" --memory-runs "$memory_runs" --load-before "$load_before" \
  --markdown docs/benchmark.md --chart docs/benchmark.png
