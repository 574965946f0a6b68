#!/usr/bin/env bash
# How long the program takes to start, on a 1920x1080 desktop (OV_DESKTOP_SIZE): from
# launching the process to the wallpaper file written (it is installed right after),
# over RUNS starts (default 5) with a picture from the sample library as the background.
# The program's own figures (OV_START_TIMES) split that: each step's end, counted from
# the creation of its process, and what the step took. For comparison, the start of a
# small helper exe of the harness (Wine's own share of any start). Prints each run and
# the medians; fails only when the program does not start.
# Usage: bash tests/e2e/measure/start_time.sh [RUNS]     (needs scripts/build.sh win)
runs=${1:-5}
export E2E_TIMEOUT=$((runs * 60 + 120))
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# The scenarios' prefixes are booted at their desktop size: the measure keeps prefixes of
# its own, booted at its size, beside the same program and harness tools.
export OV_DESKTOP_SIZE=${OV_DESKTOP_SIZE:-1920x1080}
win=$(cd "${OV_BUILD_DIR:-$root/build/win}" && pwd)
measure=$win/measure-$OV_DESKTOP_SIZE
mkdir -p "$measure/e2e"
ln -sfn "$win/bin" "$measure/bin"
ln -sfn "$win/e2e/bin" "$measure/e2e/bin"
export OV_BUILD_DIR=$measure OV_E2E_SLOTS=1

source "$root/tests/e2e/lib/harness.sh"
source "$root/tests/e2e/lib/orvinta.sh"
e2e_init start_time
orv_not_first_run
lib=$(orv_sample_library)
picture=$(ls "$lib" | head -1)
e2e_reg_set "$ORV_KEY\\App" WallpaperBackground REG_SZ "$(e2e_win_path "$lib/$picture")"

now_ms() { date +%s%3N; }
report=$E2E_ART/start-time.txt
steps=$E2E_ART/steps.txt
times=$E2E_PREFIX/drive_c/start-times.txt
export OV_START_TIMES='C:\start-times.txt'
: >"$steps"
echo "desktop $E2E_DESKTOP_SIZE, $runs runs" | tee "$report"
echo "run wallpaper_ms helper_ms" | tee -a "$report"
for run in $(seq 1 "$runs"); do
  rm -f "$(orv_wallpaper)" "$times"
  t0=$(now_ms)
  ov_tool folder appdata >/dev/null
  helper=$(($(now_ms) - t0))
  t0=$(now_ms)
  E2E_ORVINTA_NAME=run$run e2e_start_orvinta
  deadline=$((SECONDS + 30))
  # Polled without Wine: asking through the harness tool would start a Wine process each time.
  while [ ! -f "$(orv_wallpaper)" ] || [ ! -f "$times" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "run $run: no wallpaper or start figures after 30 s"
    sleep 0.01
  done
  written=$(($(stat -c %.3Y "$(orv_wallpaper)" | tr -d .) - t0))
  echo "$run $written $helper" | tee -a "$report"
  tr -d '\r' <"$times" | sed "s/^/$run\t/" >>"$steps"
  e2e_stop "run$run"
done

# The medians of each step, in the order of the first run.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
{
  echo "median wallpaper_ms $(awk 'NR > 2 { print $2 }' "$report" | median), helper_ms $(awk 'NR > 2 { print $3 }' "$report" | median)"
  echo "the program's steps (median ms since its process was created, and what the step took):"
  awk -F'\t' '$1 == 1 { print $2 }' "$steps" | while IFS= read -r step; do
    at=$(awk -F'\t' -v s="$step" '$2 == s { print $3 }' "$steps" | median)
    took=$(awk -F'\t' -v s="$step" '$2 == s { print $4 }' "$steps" | median)
    printf '  %-22s %6s %6s\n' "$step" "$at" "$took"
  done
} | tee -a "$report"
e2e_pass
