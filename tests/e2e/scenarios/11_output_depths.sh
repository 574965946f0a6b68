#!/usr/bin/env bash
# Each OutputPixelmode 0..4 writes a BMP that ImageMagick reads at the right depth.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_sample_library >/dev/null
bits=(4 8 16 16 24)
for mode in 0 1 2 3 4; do
  e2e_reg_set "$ORV_KEY\\App" OutputPixelmode REG_DWORD $mode
  E2E_ORVINTA_NAME=mode$mode e2e_start_orvinta /quit
  e2e_wait_exit mode$mode 60 || e2e_fail "mode $mode: /quit did not end"
  wall=$(orv_wallpaper)
  cp "$wall" "$E2E_ART/mode$mode.bmp"
  header=$(od -An -tu2 -j28 -N2 "$wall" | tr -d ' ')
  e2e_assert_eq "${bits[$mode]}" "$header" "bits per pixel of mode $mode"
  size=$(identify -format '%wx%h' "$wall" 2>/dev/null) || e2e_fail "ImageMagick cannot read the mode $mode file"
  e2e_assert_eq 1280x1024 "$size" "mode $mode size"
  # 16 bits: 5-5-5 plain, 5-6-5 with its masks.
  if [ $mode = 3 ]; then
    e2e_assert_eq 3 "$(od -An -tu4 -j30 -N4 "$wall" | tr -d ' ')" "mode 3 compression (bit fields)"
  fi
  convert "$wall" "$E2E_ART/mode$mode.png"
done
e2e_pass
