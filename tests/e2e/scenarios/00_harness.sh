#!/usr/bin/env bash
# e2e-timeout: 200
# The harness itself: a scenario gets a virtual desktop that programs land in, held by
# the keep-alive; its helpers work; and whether a scenario passes, fails or runs out of
# time, nothing it started is left running afterwards, and a failure says what the
# desktop looked like.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../lib/harness.sh"
set +e
E2E_NAME=00_harness
selftest=$here/../lib/selftest.sh
out_dir=$E2E_DIR/artifacts/00_harness
rm -rf "$out_dir"
mkdir -p "$out_dir"

failures=0
fail() {
  echo "E2E FAILED [00_harness]: $*" >&2
  failures=$((failures + 1))
}

# Nothing of a finished run may remain: no process carrying the run's mark (Xvfb,
# watchdog, Wine programs, wineserver) and not the run's display. Scenarios running in
# other slots meanwhile carry their own marks.
check_nothing_left() {
  local mode=$1 output=$2 left xvfb run
  run=$(sed -n -E 's/.*\(Xvfb pid [0-9]+\), prefix .*, run ([^ ]+)$/\1/p' "$output" | head -n 1)
  [ -n "$run" ] || fail "$mode: the run did not report its mark"
  left=$(e2e__processes_with_env "OV_E2E_RUN=${run:-none}")
  [ -z "$left" ] || fail "$mode: processes left running: $(ps -o pid=,args= -p "$(echo $left | tr ' ' ,)")"
  xvfb=$(sed -n -E 's/.*\(Xvfb pid ([0-9]+)\).*/\1/p' "$output" | head -n 1)
  [ -n "$xvfb" ] || fail "$mode: the run did not report its Xvfb"
  if [ -n "$xvfb" ] && kill -0 "$xvfb" 2>/dev/null && [ "$(ps -o comm= -p "$xvfb")" = Xvfb ]; then
    fail "$mode: Xvfb $xvfb still runs"
  fi
}

run_child() {
  local mode=$1
  shift
  local output=$out_dir/$mode.out start=$SECONDS
  env "$@" bash "$selftest" "$mode" >"$output" 2>&1
  CHILD_RC=$?
  CHILD_SECONDS=$((SECONDS - start))
  CHILD_OUTPUT=$output
  echo "== selftest $mode: exit $CHILD_RC after ${CHILD_SECONDS}s"
  sed 's/^/   /' "$output"
}

run_child pass E2E_TIMEOUT=60
[ "$CHILD_RC" = 0 ] || fail "pass: the harness's own checks failed (exit $CHILD_RC)"
check_nothing_left pass "$CHILD_OUTPUT"

run_child fail E2E_TIMEOUT=60
[ "$CHILD_RC" = 1 ] || fail "fail: exit $CHILD_RC instead of 1"
grep -q 'E2E FAILED \[00_harness-fail\]: deliberate failure' "$CHILD_OUTPUT" || fail "fail: the reason is not reported"
grep -q '^last screenshot: .*/failure.png$' "$CHILD_OUTPUT" || fail "fail: no screenshot path in the report"
grep -q 'class="OvToolWindow" title="E2E Fail Window"' "$CHILD_OUTPUT" || fail "fail: the window list lacks the open window"
[ -s "$E2E_DIR/artifacts/00_harness-fail/failure.png" ] || fail "fail: no failure screenshot"
check_nothing_left fail "$CHILD_OUTPUT"

run_child hang E2E_TIMEOUT=12
[ "$CHILD_RC" = 124 ] || fail "hang: exit $CHILD_RC instead of 124"
grep -q 'scenario ran longer than 12s' "$CHILD_OUTPUT" || fail "hang: the time-out is not reported"
[ "$CHILD_SECONDS" -lt 60 ] || fail "hang: the watchdog took ${CHILD_SECONDS}s"
check_nothing_left hang "$CHILD_OUTPUT"

[ "$failures" = 0 ] || exit 1
echo "[e2e 00_harness] passed"
