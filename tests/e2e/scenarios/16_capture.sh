#!/usr/bin/env bash
# A wallpaper another program installs is copied into "Captured Images" and the calendar
# comes back over it; the program's own wallpaper named in another letter case is not
# foreign; with capture off the foreign wallpaper stays.
# e2e-timeout: 150
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
app="$ORV_KEY\\App"
desk='HKCU\Control Panel\Desktop'
root="$(e2e_user_dir)/Pictures/Wallpaper Images"
mkdir -p "$root/Lib" "$E2E_PREFIX/drive_c/Pics"
convert -size 1280x1024 "xc:#305070" "BMP3:$root/Lib/plain.bmp"
convert -size 1280x1024 "xc:#d08040" "BMP3:$E2E_PREFIX/drive_c/Pics/Sunset.BMP"
foreign='C:\Pics\Sunset.BMP'
e2e_reg_set "$app" ImagesPath REG_SZ "$(e2e_win_path "$root/Lib")\\"
e2e_reg_set "$app" WallpaperBackground REG_SZ "$(e2e_win_path "$root/Lib/plain.bmp")"
captured="$root/Lib/Captured Images"
captures() { find "$captured" -type f 2>/dev/null | wc -l; }
has_captures() { [ "$(captures)" -eq "$1" ]; }
desktop_names() { [ "$(e2e_reg_get "$desk" Wallpaper)" = "$1" ]; }

orv_start_running first
own=$(orv_wallpaper_win)
e2e_assert_eq "$own" "$(e2e_reg_get "$desk" Wallpaper)" "the program's wallpaper installed"

# Capture on (the default): the foreign picture becomes the calendar's background.
before=$(date +%s)
ov_tool wallpaper "$foreign" || e2e_fail "cannot install the foreign wallpaper"
e2e_wait_for "a captured picture" 6 has_captures 1
name=$(basename "$(find "$captured" -type f)")
e2e_assert_match '^Sunset [0-9]{4}\.[0-9]{2}\.[0-9]{2} \[[0-9]{2}\.[0-9]{2}\.[0-9]{2}\]\.jpg$' "$name" "capture name"
stamp=$(sed -E 's/^Sunset ([0-9]{4})\.([0-9]{2})\.([0-9]{2}) \[([0-9]{2})\.([0-9]{2})\.([0-9]{2})\]\.jpg$/\1-\2-\3 \4:\5:\6/' <<<"$name")
delay=$(($(date -d "$stamp" +%s) - before))
[ "$delay" -ge 0 ] && [ "$delay" -le 3 ] || e2e_fail "captured $delay s after the install"
e2e_assert_match "JPEG 1280x1024" "$(identify - <"$captured/$name")" "the captured picture"
e2e_wait_for "the program's wallpaper again" 5 desktop_names "$own"
near_sunset() {
  convert "$(orv_wallpaper)" -format '%[fx:abs(p{20,20}.r*255-208)<6 && abs(p{20,20}.g*255-128)<6 && abs(p{20,20}.b*255-64)<6]' info: 2>/dev/null | e2e_has -x 1
}
e2e_wait_for "the captured picture under the calendar" 5 near_sunset
sleep 0.5
e2e_screenshot captured >/dev/null

# The program's own file in other letters is not a foreign wallpaper.
ov_tool wallpaper "${own,,}" || e2e_fail "cannot install the wallpaper in lower case"
sleep 4
e2e_assert_eq 1 "$(captures)" "captures after the own wallpaper in lower case"
e2e_assert_eq "${own,,}" "$(e2e_reg_get "$desk" Wallpaper)" "the wallpaper value in lower case"
orv_end_session first
e2e_assert_eq "$(e2e_win_path "$captured/$name")" "$(e2e_reg_get "$app" WallpaperBackground)" \
  "the background after the capture"
e2e_assert_eq 0 "$(e2e_reg_get "$app" FlagCaptureMsgShown)" "FlagCaptureMsgShown written back"

# Capture off: the foreign wallpaper stays.
e2e_reg_set "$app" CaptureWallpaper REG_SZ 0
orv_start_running second
ov_tool wallpaper "$foreign" || e2e_fail "cannot install the foreign wallpaper"
sleep 5
e2e_assert_eq 1 "$(captures)" "captures with capture off"
e2e_assert_eq "$foreign" "$(e2e_reg_get "$desk" Wallpaper)" "the foreign wallpaper with capture off"
e2e_screenshot capture_off >/dev/null
orv_end_session second
e2e_pass
