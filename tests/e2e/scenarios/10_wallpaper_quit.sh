#!/usr/bin/env bash
# "/quit" on a fresh prefix builds Wallpaper.bmp from the first sample picture at the
# virtual desktop's size and 24 bits, installs it stretched, draws the calendar panel
# where CalendarR1..4 put it and nowhere else, and the desktop shows it.
# e2e-timeout: 180
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init

e2e_start_orvinta /quit
e2e_wait_exit orvinta 60 || e2e_fail "/quit did not end the program"
wall=$(orv_wallpaper)
e2e_assert_file "$wall"
e2e_assert_eq "1280x1024 24" "$(identify -format '%wx%h %[bit-depth]' "$wall" 2>/dev/null | sed 's/ 8$/ 24/')" "wallpaper size and depth"
e2e_assert_eq 24 "$(od -An -tu2 -j28 -N2 "$wall" | tr -d ' ')" "bits per pixel in the BMP header"

desk='HKCU\Control Panel\Desktop'
e2e_assert_eq "$(orv_wallpaper_win)" "$(e2e_reg_get "$desk" Wallpaper)" "desktop wallpaper value"
e2e_assert_eq 2 "$(e2e_reg_get "$desk" WallpaperStyle)" "WallpaperStyle"
e2e_assert_eq 0 "$(e2e_reg_get "$desk" TileWallpaper)" "TileWallpaper"

# The panel: the default rectangle from the work area of the 1280 x 1024 desktop.
# Compare against the same picture without the calendar (CalendarVisible 0).
cp "$wall" "$E2E_ART/with-calendar.bmp"
sleep 1
# scripts/refresh-screenshot.sh copies this screenshot into docs/ for the README.
e2e_screenshot desktop-with-calendar >/dev/null
e2e_reg_set "$ORV_KEY\\App" CalendarVisible REG_SZ 0
E2E_ORVINTA_NAME=second e2e_start_orvinta /quit
e2e_wait_exit second 60 || e2e_fail "the second /quit did not end"
cp "$wall" "$E2E_ART/without-calendar.bmp"
compare -metric AE "$E2E_ART/with-calendar.bmp" "$E2E_ART/without-calendar.bmp" -compose src "$E2E_ART/diff.png" 2>/dev/null || true
# The bounding box of the changed pixels must lie inside the panel grown by the shadow
# and glow reach.
bbox=$(convert "$E2E_ART/with-calendar.bmp" "$E2E_ART/without-calendar.bmp" -compose difference -composite \
  -threshold 0 -format '%@' info: 2>/dev/null)
e2e_log "changed area: $bbox"
[[ $bbox =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || e2e_fail "no changed area: $bbox"
w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
# The panel rectangle is not saved under /quit; compute the default from the work area.
work=$(ov_tool desktop | sed -n 's/^workarea //p')
read -r wl wt wr wb <<<"$work"
p1=$((wl + (wr - wl) / 3)) p2=$((wt + 60)) p3=$((wr - 60)) p4=$((wb - 20))
e2e_log "panel $p1,$p2-$p3,$p4 (work area $work)"
reach=30
[ "$x" -ge $((p1 - reach)) ] && [ "$y" -ge $((p2 - reach)) ] && [ $((x + w)) -le $((p3 + reach)) ] &&
  [ $((y + h)) -le $((p4 + reach)) ] || e2e_fail "changes outside the panel: $bbox"
[ "$w" -gt $(((p3 - p1) / 2)) ] && [ "$h" -gt $(((p4 - p2) / 2)) ] || e2e_fail "the panel hardly changed anything: $bbox"
e2e_pass
