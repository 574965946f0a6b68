#!/usr/bin/env bash
# How long the program takes to start: from launching the process
# to the wallpaper file written (it is installed right after), over RUNS starts (default 3) with a picture from the sample library as the
# background. For comparison, the start of a small helper exe of the harness (Wine's own
# share of any start). Prints figures; fails only when the program does not start.
# The desktop has the harness's size (OV_DESKTOP_SIZE, fixed when the prefix boots).
# Usage: bash tests/e2e/measure/start_time.sh [RUNS]     (needs scripts/build.sh win)
runs=${1:-3}
export E2E_TIMEOUT=$((runs * 60 + 120))
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init start_time
orv_not_first_run
lib=$(orv_sample_library)
picture=$(ls "$lib" | head -1)
e2e_reg_set "$ORV_KEY\\App" WallpaperBackground REG_SZ "$(e2e_win_path "$lib/$picture")"

now_ms() { date +%s%3N; }
report=$E2E_ART/start-time.txt
echo "desktop $E2E_DESKTOP_SIZE" | tee "$report"
echo "run wallpaper_ms helper_ms" | tee -a "$report"
for run in $(seq 1 "$runs"); do
  rm -f "$(orv_wallpaper)"
  t0=$(now_ms)
  ov_tool folder appdata >/dev/null
  helper=$(($(now_ms) - t0))
  t0=$(now_ms)
  E2E_ORVINTA_NAME=run$run e2e_start_orvinta
  deadline=$((SECONDS + 30))
  # Polled without Wine: asking through the harness tool would start a Wine process each time.
  while [ ! -f "$(orv_wallpaper)" ]; do
    [ $SECONDS -lt $deadline ] || e2e_fail "run $run: no wallpaper after 30 s"
    sleep 0.01
  done
  written=$(($(stat -c %.3Y "$(orv_wallpaper)" | tr -d .) - t0))
  echo "$run $written $helper" | tee -a "$report"
  e2e_stop "run$run"
done
