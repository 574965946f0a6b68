#!/usr/bin/env bash
# From the pop-up's menu: "重复项目..." shows the repeat dialog with every option (cancel
# changes nothing); "转到" > "选择日期..." shows the date picker, whose OK rebuilds the
# wallpaper and opens the pop-up over the picked day (today).
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)

orv_start_running
orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"
read -r day l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"

e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
# "重复项目..." is the third item: colour codes, go to, repeat.
orv_popup_menu
xdotool key Down Down Down Return
e2e_wait_window TFRepeat visible 10 >/dev/null
sleep 0.5
e2e_screenshot repeat-dialog >/dev/null
children=$(ov_tool children TFRepeat | tr -d '\r')
grep 'text="重复颜色代码"' <<<"$children" | e2e_has 'visible=1' || e2e_fail "the colour check box is hidden for an entry"
grep 'text="合并原来和当前项目"' <<<"$children" | e2e_has 'enabled=1' || e2e_fail "the entry options are not offered"
# Esc cancels: nothing is repeated and the pop-up stays.
xdotool key Escape
e2e_wait_window TFRepeat hidden 5 >/dev/null
e2e_window_visible TFEntry || e2e_fail "the pop-up closed after cancelling"
e2e_assert_no_file "$(orv_note_file "$(date +%Y)" "$(date +%m)" "$((day + 1))")"

orv_popup_menu
xdotool key Down Down Right Down Down Down Return
e2e_wait_window TFormPickDate visible 10 >/dev/null
sleep 0.5
e2e_screenshot date-picker >/dev/null
wall_before=$(orv_wallpaper_mtime)
ov_tool click TFormPickDate 确定 >/dev/null
e2e_wait_window TFormPickDate hidden 10 >/dev/null
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the rebuilt wallpaper" 15 rebuilt
e2e_wait_window TFEntry visible 10 >/dev/null
title=$(e2e_find_window TFEntry | sed -E 's/.* title="(.*)"$/\1/')
today=$(date +%-d)
[[ $title == *", $today "* || $title == "$today" || $title == "  $today  "* ]] || e2e_fail "the pop-up after the date picker shows '$title', not today"
e2e_screenshot popup-today >/dev/null
orv_end_session
e2e_pass
