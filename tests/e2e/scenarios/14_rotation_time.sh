#!/usr/bin/env bash
# Installing the same picture again leaves NextRotationTime as it was; another picture
# moves it (the rotation interval starts again).
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
lib=$(orv_sample_library)
app="$ORV_KEY\\App"
run_once() {
  orv_start_running "$1"
  orv_end_session "$1"
}
run_once first
picture=$(e2e_reg_get "$app" WallpaperBackground)
next1=$(e2e_reg_get "$app" NextRotationTime)
e2e_assert_eq "$picture" "$(e2e_reg_get "$app" LastWallpaperFile)" "LastWallpaperFile"
sleep 2
run_once same
e2e_assert_eq "$next1" "$(e2e_reg_get "$app" NextRotationTime)" "NextRotationTime after the same picture"

other=
for f in "$lib"/*; do
  w=$(e2e_win_path "$f")
  [ "$w" != "$picture" ] && { other=$w; break; }
done
[ -n "$other" ] || e2e_fail "no second picture in $lib"
e2e_reg_set "$app" WallpaperBackground REG_SZ "$other"
run_once other
e2e_assert_eq "$other" "$(e2e_reg_get "$app" WallpaperBackground)" "the new background"
[ "$next1" != "$(e2e_reg_get "$app" NextRotationTime)" ] || e2e_fail "NextRotationTime did not move for another picture"
e2e_pass
