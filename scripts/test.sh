#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the Windows and the sanitizer trees,
# then runs the core tests natively under the sanitizers, the core, Windows unit and
# end-to-end tests under Wine, and each fuzz program for a short while. Exits non-zero
# when anything fails. The release tree of g++ (build/native) is the benchmarks' and is
# not built here: the optimised g++ code of the core is tested in the Windows tree, and
# a third compile of the whole core held the run past its time on a two-core machine.
#
# The end-to-end scenarios (two at a time, each in its own Wine prefix and display) are
# the longest part, so what they need of the Windows tree is built first and they start
# at once; the test programs of the tree are compiled while they run, and then run too.
# From the start, the sanitizer tree (with the fuzz programs) is built and tested, and
# the fuzz programs run, at idle priority, so that they use what the Windows build and
# the scenarios leave idle without slowing them down.
set -euo pipefail
# Debian's own programs first: the tests use what install-deps.sh installed, not a Python
# version manager's shims or wrappers in /usr/local that a machine's PATH may put before
# them (each python3 through such a shim also cost a third of a processor-second).
export PATH=/usr/sbin:/usr/bin:/sbin:/bin${PATH:+:$PATH}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/wine-env.sh
start=$(date +%s)
jobs=${OV_JOBS:-$(nproc)}
# A compile cache gains only from the second build on. On the first (a clean checkout,
# as in CI) ccache preprocesses, hashes and stores every file besides compiling it, a
# sixth of the whole run's processor time for nothing; so this run uses a cache only when
# one exists already (scripts/build.sh makes it).
if [ -z "${OV_CCACHE:-}" ] && [ ! -d "${CCACHE_DIR:-$root/build/ccache}" ]; then export OV_CCACHE=0; fi
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

# run_ctest NAME DIR [CTEST ARGUMENTS...] [-- COMMAND PREFIX...]: the tests of build/DIR
# (a tree, or a folder of one for the tests defined there), logged to build/NAME.test.log.
run_ctest() {
  local name=$1 dir=$2 log=build/$1.test.log args=() prefix=()
  shift 2
  while [ $# -gt 0 ] && [ "$1" != -- ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && { shift; prefix=("$@"); }
  if (cd "build/$dir" && "${prefix[@]}" ctest --output-on-failure -j "$jobs" "${args[@]}") >"$log" 2>&1; then
    echo "== test $name: $(grep -E 'tests passed' "$log"), $(grep -oE 'Total Test time \(real\) = +[0-9.]+ sec' "$log" | grep -oE '[0-9.]+ sec')"
  else
    echo "== test $name FAILED"
    # ctest prints the whole output of each failed test; the summary is at the end.
    tail -n 400 "$log"
    return 1
  fi
}

# Every fuzz program for a second on its corpus, seeds first (all of them, however long
# that takes): a regression of a reader shows here (long runs are scripts/fuzz.sh's, by
# hand). Two at a time; they end the whole run, so every second here is one of the test
# command's. They may run beside
# the scenarios, which can hold both processors for a while, so an input fails only after
# a minute of wall time (a hang, not a slow moment); long runs by hand keep the ten seconds.
fuzz_all() {
  local -x OV_FUZZ_TIMEOUT=${OV_FUZZ_TIMEOUT:-60}
  local names=() half rc=0 src
  for src in tests/fuzz/*.cpp; do names+=("$(basename "$src" .cpp)"); done
  half=$(((${#names[@]} + 1) / 2))
  OV_FUZZ_STEP=run scripts/fuzz.sh "${OV_FUZZ_SECONDS:-1}" "${names[@]:0:half}" >build/fuzz.test.log 2>&1 &
  local first=$!
  OV_FUZZ_STEP=run scripts/fuzz.sh "${OV_FUZZ_SECONDS:-1}" "${names[@]:half}" >build/fuzz.test2.log 2>&1 || rc=1
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
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 step test-asan run_ctest asan asan -- "${idle[@]}" || rc=1
    echo "== fuzz"
    step fuzz fuzz_all || { rc=1; tail -n 80 build/fuzz.test.log; }
    grep -E '^fuzz ' build/fuzz.test.log || true
  else
    rc=1
  fi
  return $rc
}
failed=0
e2e_pid=
(low_priority) >build/low-priority.out 2>&1 &
low_pid=$!
# A process and everything it started (on a failed step, nothing may build on).
kill_tree() {
  local child
  for child in $(pgrep -P "$1"); do kill_tree "$child"; done
  kill "$1" 2>/dev/null || true
}
trap '[ -n "${OV_XVFB_PID:-}" ] && kill "$OV_XVFB_PID" 2>/dev/null; [ -n "$e2e_pid" ] && kill_tree "$e2e_pid"; [ -n "$low_pid" ] && kill_tree "$low_pid"; true' EXIT

# What the scenarios need of the Windows tree: the program, the hook library, the zone
# folder beside them and the harness's own tools; then the release, which the installer
# scenario installs.
OV_TARGETS="Orvinta MHookOV zoneinfo ovtool keepalive hookprobe decodeprobe" step build-e2e scripts/build.sh win
step package scripts/package.sh

# One headless display for every Windows test program of this run (the scenarios start
# their own). The scenarios run from their folder of the tree, whose ctest keeps its log
# and times apart from the unit tests' run beside it.
ov_ensure_display
step test-e2e run_ctest e2e win/tests/e2e >build/test-e2e.out 2>&1 &
e2e_pid=$!

# The rest of the tree (the test programs) and then its unit tests, at nice 10: the
# scenarios keep the processor time their waits for the program are measured in.
if step build-win nice -n 10 scripts/build.sh win; then
  step test-unit run_ctest win win -LE e2e -- nice -n 10 >build/test-unit.out 2>&1 || failed=1
else
  failed=1
fi

wait "$low_pid" || failed=1
low_pid=
cat build/low-priority.out
cat build/test-unit.out 2>/dev/null || true
wait "$e2e_pid" || failed=1
e2e_pid=
cat build/test-e2e.out

echo "== steps (wall time):"
cat build/test-steps.log
echo "== all tests took $(( $(date +%s) - start )) s"
exit $failed
