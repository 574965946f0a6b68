#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the three trees, then runs the core
# tests natively and under the sanitizers, and the Windows unit and end-to-end tests
# under Wine. Exits non-zero when anything fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/wine-env.sh
start=$(date +%s)

scripts/install-deps.sh
mkdir -p build
scripts/build.sh native asan win
# The release from the win tree; the installer scenario installs what it makes.
scripts/package.sh

# One headless display for every Windows test program of this run.
ov_ensure_display
trap '[ -n "${OV_XVFB_PID:-}" ] && kill "$OV_XVFB_PID" 2>/dev/null || true' EXIT

jobs=${OV_JOBS:-$(nproc)}
failed=0
run_ctest() {
  local tree=$1 log=build/$1.test.log
  echo "== test $tree"
  if (cd "build/$tree" && ctest --output-on-failure -j "$jobs") >"$log" 2>&1; then
    grep -E 'tests passed|Total Test time' "$log"
  else
    failed=1
    # ctest prints the whole output of each failed test; the summary is at the end.
    tail -n 400 "$log"
  fi
}

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest asan
run_ctest native
run_ctest win

# Every fuzz program for a short while on its corpus: a regression of a reader shows here.
echo "== fuzz"
scripts/fuzz.sh "${OV_FUZZ_SECONDS:-10}" >build/fuzz.test.log 2>&1 || { failed=1; tail -n 80 build/fuzz.test.log; }
grep -E '^fuzz ' build/fuzz.test.log || true

echo "== all tests took $(( $(date +%s) - start )) s"
exit $failed
