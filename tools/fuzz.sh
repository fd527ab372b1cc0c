#!/usr/bin/env bash
# Builds the installer's portable logic natively with AddressSanitizer, UndefinedBehaviorSanitizer
# and libFuzzer (tests/fuzz/, into build/fuzz/) and runs every fuzz target; any finding fails.
#
#   bash tools/fuzz.sh                   each target for 3 s (the quick mode ctest runs)
#   bash tools/fuzz.sh --long [SECONDS]  each target for SECONDS (default 3600)
#   bash tools/fuzz.sh --runs N          each target for N inputs (e.g. 10000000)
#   bash tools/fuzz.sh ... -- NAME...    only the named targets (e.g. patch_rules_fuzz)
#
# One target at a time, one process each. Q73_FUZZ_BUILD names another build folder (for a
# long run beside quick ones). New inputs go to <build>/corpus/<target>/ (the seeds in
# tests/fuzz/corpus/ stay as committed); a finding is written as
# <build>/findings/<target>-crash-... and is replayed with: <build>/<target> FILE
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${Q73_FUZZ_BUILD:-$root/build/fuzz}"

limit=(-max_total_time=3)
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --long) seconds=3600
            if [[ "${2:-}" =~ ^[0-9]+$ ]]; then seconds=$2; shift; fi
            limit=(-max_total_time="$seconds") ;;
    --runs) [[ "${2:-}" =~ ^[0-9]+$ ]] || { echo "fuzz: --runs needs a number" >&2; exit 2; }
            limit=(-runs="$2"); shift ;;
    --) shift; targets=("$@"); break ;;
    *) echo "fuzz: unknown argument $1 (see the top of $0)" >&2; exit 2 ;;
  esac
  shift
done

# Quiet unless the configure or the build fails.
run_quietly() {
  local output
  output=$("$@" 2>&1) || { echo "$output" >&2; echo "fuzz: failed: $*" >&2; exit 1; }
}
run_quietly cmake -S "$root/tests/fuzz" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
run_quietly cmake --build "$build" -j2
[ ${#targets[@]} -gt 0 ] || mapfile -t targets <"$build/fuzz_targets.txt"

failed=0
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  [ -x "$build/$target" ] || { echo "fuzz: no target $target" >&2; failed=1; continue; }
  mkdir -p "$build/corpus/$target"
  log="$build/$target.log"
  if "$build/$target" "${limit[@]}" -max_len=4096 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$build/findings/$target-" \
       "$build/corpus/$target" "$root/tests/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz: $target: ${runs:-?} inputs, no finding"
  else
    failed=1
    echo "fuzz: $target: FINDING (log: $log)" >&2
    grep -E 'ERROR|runtime error|invariant broken|Test unit written|SUMMARY' "$log" | head -20 >&2 || true
  fi
done
exit $failed
