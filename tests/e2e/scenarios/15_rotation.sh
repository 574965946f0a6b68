#!/usr/bin/env bash
# A due rotation installs another library picture within seconds and keeps the rest of
# the shuffled queue in Rotation.txt; after a restart the next rotation takes its head.
# e2e-timeout: 150
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
app="$ORV_KEY\\App"
root="$(e2e_user_dir)/Pictures/Wallpaper Images"
mkdir -p "$root/Rot"
# Four library pictures told apart by colour, and a start picture outside the library.
declare -A colour_of=()
for c in c03030 30c030 3030c0 c0c030 808080; do
  f="$root/Rot/p$c.bmp"
  [ $c = 808080 ] && f="$root/start.bmp"
  convert -size 1280x1024 "xc:#$c" "BMP3:$f"
  colour_of[$(e2e_win_path "$f")]=$c
done
start=$(e2e_win_path "$root/start.bmp")
e2e_reg_set "$app" ImagesPath REG_SZ "$(e2e_win_path "$root/Rot")\\"
e2e_reg_set "$app" WallpaperBackground REG_SZ "$start"
e2e_reg_set "$app" LastWallpaperFile REG_SZ "$start"
e2e_reg_set "$app" RotateImages REG_SZ 1
e2e_reg_set "$app" RotationInterval REG_DWORD 1
e2e_reg_set "$app" RotationMode REG_DWORD 2
past=$(python3 -c 'import struct; print(struct.pack("<d", 45000.0).hex())')  # 2023
e2e_reg_set "$app" NextRotationTime REG_BINARY "$past"

# The colour far from the calendar panel of the installed wallpaper.
wallpaper_colour() { convert "$(orv_wallpaper)" -format '%[hex:p{20,20}]' info: 2>/dev/null | tr 'A-F' 'a-f' | cut -c1-6; }
colour_is() { [ "$(wallpaper_colour)" = "$1" ]; }
colour_is_not() { local c; c=$(wallpaper_colour); [ -n "$c" ] && [ "$c" != "$1" ]; }
queue() { tr -d '\r' <"$(e2e_data_folder)/Rotation.txt"; }

orv_start_running first
e2e_wait_for "a rotation away from the start picture" 10 colour_is_not 808080
first=$(wallpaper_colour)
e2e_screenshot rotated >/dev/null
mapfile -t rest < <(queue)
e2e_assert_eq 3 "${#rest[@]}" "pictures left in Rotation.txt"
e2e_assert_eq 3 "$(grep -c $'\r$' "$(e2e_data_folder)/Rotation.txt")" "lines ended by CR LF"
# The shown picture and the queue together are the library, each once.
seen="$first"
for f in "${rest[@]}"; do seen+=" ${colour_of[$f]:-?}"; done
e2e_assert_eq "3030c0 30c030 c03030 c0c030" "$(tr ' ' '\n' <<<"$seen" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" \
  "the colours of the picture shown and of the queue"
sleep 4  # the interval is a day now: no second rotation
e2e_assert_eq "$first" "$(wallpaper_colour)" "the picture after the rotation"
orv_end_session first
e2e_assert_eq "${rest[*]}" "$(queue | tr '\n' ' ' | sed 's/ $//')" "Rotation.txt after closing"

# After a restart the next due rotation continues with the queue.
e2e_reg_set "$app" NextRotationTime REG_BINARY "$past"
orv_start_running second
e2e_wait_for "the queue's head on the desktop" 10 colour_is "${colour_of[${rest[0]}]}"
e2e_screenshot restarted >/dev/null
e2e_assert_eq "${rest[*]:1}" "$(queue | tr '\n' ' ' | sed 's/ $//')" "Rotation.txt after the second rotation"
orv_end_session second
e2e_assert_eq "${rest[0]}" "$(e2e_reg_get "$app" WallpaperBackground)" "the background saved"
e2e_pass
