#!/usr/bin/env bash
# How long the configuration window keeps messages waiting while the library grid makes
# thumbnails of twenty 24-megapixel JPEG photos: the window is shown on the image tab
# with the smallest rows, the grid is paged down once a second so every row gets painted,
# and WM_NULL is sent to the window every 10 ms meanwhile (ovtool ping), from just before
# the window is shown. Prints the longest wait, the 99th percentile and every wait over
# 50 ms with the time it began; the last screenshot shows the thumbnails.
# Usage: bash tests/e2e/measure/grid_responsiveness.sh     (needs scripts/build.sh win)
export E2E_TIMEOUT=400
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init grid_responsiveness
orv_not_first_run

lib="$(e2e_user_dir)/Pictures/Wallpaper Images"
mkdir -p "$lib/photos"
# One 6000 x 4000 photo-like picture (a gradient with noise), copied under twenty names:
# every copy is a picture of its own to the library.
convert -size 6000x4000 gradient:navy-orange -attenuate 0.4 +noise Gaussian -quality 90 "$lib/photos/p00.jpg"
for i in $(seq 1 19); do cp "$lib/photos/p00.jpg" "$lib/photos/p$(printf %02d "$i").jpg"; done
convert -size 320x256 xc:#406080 "$lib/a-small.png"
winlib=$(orv_library_win)
e2e_reg_set "$ORV_KEY\\App" ImagesPath REG_SZ "$winlib"
e2e_reg_set "$ORV_KEY\\App" WallpaperBackground REG_SZ "${winlib}a-small.png"
e2e_reg_set "$ORV_KEY\\App" ThumbWidthIndex REG_DWORD 0
e2e_log "library: $(du -sh "$lib" | cut -f1) in $(find "$lib" -name '*.jpg' | wc -l) photos"

orv_start_running
grid=$(orv_children | grep 'class="OVImageGrid"' | cut -d' ' -f1)
[ -n "$grid" ] || e2e_fail "no grid"
e2e_start pinger "$E2E_TOOLS/ovtool.exe" ping TOVMainForm 40000
started=$SECONDS
e2e_post TOVMainForm WM_USER+23
for i in $(seq 1 8); do
  sleep 1
  e2e_post "$grid" 0x0115 3 >/dev/null  # WM_VSCROLL, SB_PAGEDOWN
done
e2e_screenshot paged >/dev/null
e2e_wait_exit pinger 60 || e2e_fail "the ping did not end"
while read -r line; do e2e_log "$line"; done < <(tr -d '\r' <"$E2E_ART/pinger.log")
e2e_screenshot end >/dev/null
e2e_pass
