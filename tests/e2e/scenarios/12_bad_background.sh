#!/usr/bin/env bash
# A background that cannot be decoded leaves the previous Wallpaper.bmp byte for byte
# and the desktop's wallpaper values as they were.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
lib=$(orv_sample_library)

e2e_start_orvinta /quit
e2e_wait_exit orvinta 60 || e2e_fail "/quit did not end"
wall=$(orv_wallpaper)
e2e_assert_file "$wall"
before=$(sha256sum <"$wall")
desk='HKCU\Control Panel\Desktop'
desktop_values() { for v in Wallpaper WallpaperStyle TileWallpaper; do printf '%s=%s\n' $v "$(e2e_reg_get "$desk" $v)"; done; }
values_before=$(desktop_values)
e2e_assert_match 'WallpaperStyle=2' "$values_before" "desktop values after the first build"

printf 'this is not a picture' >"$lib/broken.jpg"
: >"$lib/empty.png"
for bad in broken.jpg empty.png missing.bmp; do
  e2e_reg_set "$ORV_KEY\\App" WallpaperBackground REG_SZ "$(e2e_win_path "$lib/$bad")"
  E2E_ORVINTA_NAME=${bad%.*} e2e_start_orvinta /quit
  e2e_wait_exit "${bad%.*}" 60 || e2e_fail "/quit with $bad did not end"
  e2e_assert_eq "$before" "$(sha256sum <"$wall")" "Wallpaper.bmp after $bad"
  e2e_assert_eq "$values_before" "$(desktop_values)" "desktop values after $bad"
done
orv_no_boxes || e2e_fail "a message was shown: $(orv_box_texts)"
e2e_pass
