#!/usr/bin/env bash
# Shift + a colour code in the pop-up's menu asks for a series: "every week, 3 times"
# marks the day and the two weeks after it in the Codes file and rebuilds the
# wallpaper; the menu and the repeat dialog look as they should.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)

orv_start_running
orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"
read -r day l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"
start=$(date +%Y-%m)-$(printf %02d "$day")
e2e_log "day $start at $l,$t-$r,$b"

e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
orv_popup_menu
xdotool key Down Right
sleep 1
e2e_screenshot colour-menu >/dev/null
# "绿色" is the second colour; Shift held while it is chosen.
xdotool key Down keydown shift key Return keyup shift
e2e_wait_window TFRepeat visible 10 >/dev/null
# Every week; end after 3 "次" (times).
ov_tool click TFRepeat '#202' >/dev/null
sleep 0.3
ov_tool settext TFRepeat '#221' 3
ov_tool select TFRepeat '#223' 4
sleep 0.5
e2e_screenshot repeat-dialog >/dev/null
children=$(ov_tool children TFRepeat | tr -d '\r')
grep -q 'text="重复颜色代码"' <<<"$children" || e2e_fail "no colour check box in the dialog"
grep 'text="重复颜色代码"' <<<"$children" | e2e_has 'visible=0' || e2e_fail "the colour check box shows for a colour series"
grep 'text="合并原来和当前项目"' <<<"$children" | e2e_has 'enabled=0' || e2e_fail "the entry options are offered for a colour series"
wall_before=$(orv_wallpaper_mtime)
ov_tool click TFRepeat 确定 >/dev/null
e2e_wait_window TFEntry gone 10 >/dev/null
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the rebuilt wallpaper" 15 rebuilt

for offset in 0 7 14; do
  d=$(date -d "$start + $offset days" +%F)
  e2e_assert_eq 2 "$(orv_day_code "$d")" "colour code of $d"
done
for offset in 1 21; do
  d=$(date -d "$start + $offset days" +%F)
  e2e_assert_eq 0 "$(orv_day_code "$d")" "colour code of $d"
done
sleep 0.5
e2e_screenshot green-days >/dev/null
orv_end_session
e2e_pass
