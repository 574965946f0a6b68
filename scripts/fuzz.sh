#!/usr/bin/env bash
# Builds every libFuzzer program of tests/fuzz (one per .cpp) natively with clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer, in the asan tree (build/asan/fuzzers),
# and runs each for the given number of seconds on a copy of its seed corpus
# (tests/fuzz/corpus/<name>).
# New inputs that reach new code are kept in build/fuzz/corpus/<name>; a crash leaves its
# input in build/fuzz/crashes/ and makes the script fail.
# Every finished run adds a line to build/fuzz/runs.log (time, target, executions, seconds,
# outcome), so the executions of a target can be added up over many runs.
# Usage: scripts/fuzz.sh [seconds per target] [name ...]   (default: 10 s, every target)
#        OV_FUZZ_RUNS=N stops each target after N executions if that comes first.
#        OV_FUZZ_STEP=build only builds; OV_FUZZ_STEP=run only runs (the tree is built).
#        OV_FUZZ_TIMEOUT=S fails an input that runs longer than S seconds of wall time
#        (default 10).
#        OV_FUZZ_LEAKS=exit checks for leaks once, when the run ends, instead of after every
#        input that leaves memory allocated (a reader's caches, such as libical's time zones,
#        make that check run on most inputs and cut the executions six-fold); for long runs.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-10}
shift || true
dir=$root/build/fuzz
fuzzers=$root/build/asan/fuzzers
mkdir -p "$dir"

step=${OV_FUZZ_STEP:-all}
if [ "$step" != run ]; then
  OV_TARGETS=fuzzers "$root/scripts/build.sh" asan
fi
[ "$step" != build ] || exit 0

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for src in "$root"/tests/fuzz/*.cpp; do names+=("$(basename "$src" .cpp)"); done
fi

failed=0
mkdir -p "$dir/crashes"
# The targets that read files write them to the temporary folder; memory-backed, they
# run several times faster.
scratch=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
runs_limit=()
[ -n "${OV_FUZZ_RUNS:-}" ] && runs_limit=(-runs="$OV_FUZZ_RUNS")
[ "${OV_FUZZ_LEAKS:-}" = exit ] && runs_limit+=(-detect_leaks=0)
for name in "${names[@]}"; do
  corpus=$dir/corpus/$name
  mkdir -p "$corpus"
  seeds=$root/tests/fuzz/corpus/$name
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  log=$dir/$name.log
  # -rss_limit_mb: a reader that allocates what a file claims instead of what it holds fails.
  if TMPDIR=$scratch ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
     nice "$fuzzers/$name" -max_total_time="$seconds" "${runs_limit[@]}" -rss_limit_mb=1024 \
       -timeout="${OV_FUZZ_TIMEOUT:-10}" -print_final_stats=1 -artifact_prefix="$dir/crashes/$name-" "$corpus" >"$log" 2>&1; then
    read -r runs took < <(awk '/^Done [0-9]+ runs in/ {print $2, $5}' "$log") || true
    echo "fuzz $name: ${runs:-?} runs in ${took:-?} s, no fault"
    printf '%s\t%s\t%s\t%s\tno fault\n' "$(date -u +%FT%TZ)" "$name" "${runs:-?}" "${took:-?}" >>"$dir/runs.log"
  else
    failed=1
    printf '%s\t%s\t?\t?\tFAULT\n' "$(date -u +%FT%TZ)" "$name" >>"$dir/runs.log"
    tail -n 60 "$log"
    echo "fuzz $name: FAULT (log: $log, input in $dir/crashes/)" >&2
  fi
done
exit $failed
