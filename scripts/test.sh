#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the Windows and the sanitizer trees,
# then runs the core tests natively under the sanitizers, the core, Windows unit and
# end-to-end tests under Wine, and each fuzz program for a short while. Exits non-zero
# when anything fails. The release tree of g++ (build/native) is the benchmarks' and is
# not built here: the optimised g++ code of the core is tested in the Windows tree, and
# a third compile of the whole core held the run past its time on a two-core machine.
#
# The Windows tree is built first and its tests start at once: the end-to-end scenarios
# (two at a time, each in its own Wine prefix and display) spend most of their time
# waiting for the program. From the start, the sanitizer tree (with the fuzz programs) is
# built and tested, and the fuzz programs run, at idle priority, so that they use what
# the Windows build and the scenarios leave idle without slowing them down.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/wine-env.sh
start=$(date +%s)
jobs=${OV_JOBS:-$(nproc)}
mkdir -p build
: >build/test-steps.log

# Runs a step and notes its wall time in build/test-steps.log.
step() {
  local name=$1 t0=$SECONDS rc=0
  shift
  "$@" || rc=$?
  printf '%-12s %5d s%s\n' "$name" $((SECONDS - t0)) "$([ $rc = 0 ] || echo "  (failed, exit $rc)")" >>build/test-steps.log
  return $rc
}

step install scripts/install-deps.sh

# run_ctest TREE [COMMAND PREFIX...]
run_ctest() {
  local tree=$1 log=build/$1.test.log
  shift
  if (cd "build/$tree" && "$@" ctest --output-on-failure -j "$jobs") >"$log" 2>&1; then
    echo "== test $tree: $(grep -E 'tests passed' "$log"), $(grep -oE 'Total Test time \(real\) = +[0-9.]+ sec' "$log" | grep -oE '[0-9.]+ sec')"
  else
    echo "== test $tree FAILED"
    # ctest prints the whole output of each failed test; the summary is at the end.
    tail -n 400 "$log"
    return 1
  fi
}

# Every fuzz program for three seconds on its corpus, seeds first: a regression of a
# reader shows here (long runs are scripts/fuzz.sh's, by hand). Two at a time; they end
# the whole run, so every second here is one of the test command's. They may run beside
# the scenarios, which can hold both processors for a while, so an input fails only after
# a minute of wall time (a hang, not a slow moment); long runs by hand keep the ten seconds.
fuzz_all() {
  local -x OV_FUZZ_TIMEOUT=${OV_FUZZ_TIMEOUT:-60}
  local names=() half rc=0 src
  for src in tests/fuzz/*.cpp; do names+=("$(basename "$src" .cpp)"); done
  half=$(((${#names[@]} + 1) / 2))
  OV_FUZZ_STEP=run scripts/fuzz.sh "${OV_FUZZ_SECONDS:-3}" "${names[@]:0:half}" >build/fuzz.test.log 2>&1 &
  local first=$!
  OV_FUZZ_STEP=run scripts/fuzz.sh "${OV_FUZZ_SECONDS:-3}" "${names[@]:half}" >build/fuzz.test2.log 2>&1 || rc=1
  wait "$first" || rc=1
  cat build/fuzz.test2.log >>build/fuzz.test.log
  return $rc
}
# From the start, in the background: the sanitizer tree (it holds the fuzz programs too),
# its tests, and then the fuzz programs. They use what the Windows build and the
# scenarios leave idle. The build and tests run in the idle scheduling class, which gets
# a processor only when nothing else wants one (nice 19 still took a third longer off the
# Windows build); the fuzz programs, whose time-out per input is wall time, only at
# nice 19.
if chrt --idle 0 true 2>/dev/null; then idle=(chrt --idle 0); else idle=(nice -n 19); fi
low_priority() {
  renice -n 19 -p "$BASHPID" >/dev/null
  local rc=0
  if step build-asan "${idle[@]}" scripts/build.sh asan; then
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 step test-asan run_ctest asan "${idle[@]}" || rc=1
    echo "== fuzz"
    step fuzz fuzz_all || { rc=1; tail -n 80 build/fuzz.test.log; }
    grep -E '^fuzz ' build/fuzz.test.log || true
  else
    rc=1
  fi
  return $rc
}
failed=0
win_pid=
(low_priority) >build/low-priority.out 2>&1 &
low_pid=$!
# A process and everything it started (on a failed step, nothing may build on).
kill_tree() {
  local child
  for child in $(pgrep -P "$1"); do kill_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
trap '[ -n "${OV_XVFB_PID:-}" ] && kill "$OV_XVFB_PID" 2>/dev/null; [ -n "$win_pid" ] && kill "$win_pid" 2>/dev/null; [ -n "$low_pid" ] && kill_tree "$low_pid"; true' EXIT

step build-win scripts/build.sh win

# The release from the built Windows tree; the installer scenario installs what it makes.
step package scripts/package.sh

# One headless display for every Windows test program of this run (the scenarios start
# their own).
ov_ensure_display
step test-win run_ctest win >build/test-win.out 2>&1 &
win_pid=$!

wait "$low_pid" || failed=1
low_pid=
cat build/low-priority.out
wait "$win_pid" || failed=1
win_pid=
cat build/test-win.out

echo "== steps (wall time):"
cat build/test-steps.log
echo "== all tests took $(( $(date +%s) - start )) s"
exit $failed
