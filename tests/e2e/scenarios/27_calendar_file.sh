#!/usr/bin/env bash
# A calendar file subscribed in the settings shows its events in the day cells: an
# all-day event of today is drawn as a line with a bar in the subscription's colour, a
# copy of the file is kept in the data folder's Calendars folder, and events added to
# the file later are drawn too. The entry pop-up of a day with an event shows it above
# the note, read-only, and closing it writes no note. With the event lines switched off
# in the settings the wallpaper shows none. "导出为 .ics..." writes the section's notes.
# e2e-timeout: 300
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)
bar=E53935

calendar() {  # one argument per event, its properties separated by "|"
  local ev prop
  printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Team\r\n'
  for ev in "$@"; do
    printf 'BEGIN:VEVENT\r\n'
    IFS='|' read -ra props <<<"$ev"
    for prop in "${props[@]}"; do printf '%s\r\n' "$prop"; done
    printf 'END:VEVENT\r\n'
  done
  printf 'END:VCALENDAR\r\n'
}
ics=$(e2e_appdata)/team.ics
today=$(date +%Y%m%d)
calendar "UID:a|SUMMARY:Planning|DTSTART;VALUE=DATE:$today" >"$ics"
key="$ORV_KEY\\Calendars"
e2e_reg_set "$key" Count REG_DWORD 1
e2e_reg_set "$key" Source0 REG_SZ "$(e2e_win_path "$ics")"
e2e_reg_set "$key" Color0 REG_DWORD $((0x$bar))

# How many pixels of the wallpaper have the bar colour.
bar_pixels() {
  python3 - "$(orv_wallpaper)" "$bar" "$E2E_ROOT/tests/e2e/lib" <<'PY'
import sys
sys.path.insert(0, sys.argv[3])
from cells import read_bmp24
_, _, rows = read_bmp24(sys.argv[1])
want = int(sys.argv[2], 16)
print(sum(row.count(want) for row in rows))
PY
}

orv_start_running
has_bar() { [ "$(bar_pixels)" -gt 0 ]; }
e2e_wait_for "the event line on the wallpaper" 30 has_bar
one=$(bar_pixels)
e2e_log "bar pixels with one event: $one"
cp "$(orv_wallpaper)" "$E2E_ART/with-event.bmp"
e2e_screenshot with-event >/dev/null
ls "$(e2e_data_folder)/Calendars/"*.ics >/dev/null 2>&1 || e2e_fail "no cached copy in Calendars"

# A second event the day after tomorrow (tomorrow's bar lies under today's glow): the
# file changes, the worker reads it again and more bar pixels show, unless that day is
# in a month the panel does not show. A third one, timed, on a day of this month away
# from today, is the one the pop-up shows.
orv_cells "$E2E_ART/with-event.bmp" "$color" >"$E2E_ART/cells.txt"
target=$(orv_pick_day "$E2E_ART/cells.txt" "$(date -d '2 days' +%-d)") || e2e_fail "no day cell to click"
read -r day l t r b <<<"$target"
later=$(date -d '2 days' +%Y%m%d)
picked=$(date +%Y%m)$(printf %02d "$day")
calendar "UID:a|SUMMARY:Planning|DTSTART;VALUE=DATE:$today" \
  "UID:b|SUMMARY:Review|DTSTART;VALUE=DATE:$later" \
  "UID:c|SUMMARY:Dentist|DTSTART:${picked}T093000|DURATION:PT1H" >"$ics"
three_bars() { [ "$(bar_pixels)" -ge $((3 * one)) ] || { [ "${later:4:2}" != "${today:4:2}" ] && [ "$(bar_pixels)" -ge $((2 * one)) ]; }; }
e2e_wait_for "the added events' lines" 60 three_bars
e2e_screenshot three-events >/dev/null

# The pop-up of the timed event's day: the event above the memo in the subscription's
# colour; the memo keeps its place over the cell, so the window grows upwards.
e2e_log "opening day $day at $l,$t-$r,$b"
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
sleep 0.5
shot=$(e2e_screenshot popup-with-event)
read -r wl wt wr wb <<<"$(orv_popup_rect)"
e2e_assert_eq "$l $b" "$wl $wb" "pop-up left and bottom (cell $l,$t-$r,$b)"
[ "$wt" -lt $((t - 17 - 8)) ] || e2e_fail "the pop-up did not grow above its caption for the event ($wt, cell top $t)"
popup_bar=$(convert "$shot" -crop "$((wr - wl))x$((t - wt))+$wl+$wt" +repage -fill black +opaque "#$bar" -fill white -opaque "#$bar" \
  -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null || echo 0)
e2e_log "bar-coloured pixels above the memo: $popup_bar"
[ "${popup_bar:-0}" -gt 10 ] || e2e_fail "no event bar in the pop-up above its memo"
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_assert_no_file "$(orv_note_file "$(date +%Y)" "$(date +%m)" "$day")"
orv_end_session

# Event lines off: the wallpaper has no bar at all.
e2e_reg_set "$ORV_KEY\\App" ShowEventLines REG_SZ 0
rm -f "$(orv_wallpaper)"
orv_start_running off
cp "$(orv_wallpaper)" "$E2E_ART/lines-off.bmp"
e2e_screenshot lines-off >/dev/null
e2e_assert_eq 0 "$(bar_pixels)" "bar pixels with the event lines off"

# "导出为 .ics..." on the tab "项目": today's note goes out as an all-day event into the
# file the save dialog proposes (the section's name, in Documents), and a box says so.
out="$(e2e_unix_path "$(ov_tool folder documents | tr -d '\r')")/默认.ics"
rm -f "$out"  # Documents outlives the prefix's reset; the save dialog would ask to replace it
note=$(orv_note_file "$(date +%Y)" "$(date +%m)" "$(date +%d)")
mkdir -p "$(dirname "$note")"
printf '[EOHDR]\r\nBoard meeting\r\nRoom 4\r\n' >"$note"
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
main_tab=$(orv_children | grep 'class="SysTabControl32"' | head -1 | cut -d' ' -f1)
e2e_send "$main_tab" 0x1330 0 >/dev/null
sleep 0.7
read -r l t r b <<<"$(orv_children | grep -F 'text="导出为 .ics..."' | orv_rect)"
e2e_click $(((l + r) / 2)) $(((t + b) / 2))
e2e_wait_window TFExportIcs visible 10 >/dev/null
sleep 0.5
e2e_screenshot export-dialog >/dev/null
xdotool key Return  # this year
save_dialog() { ov_tool list '#32770' 2>/dev/null | e2e_has -F '导出为 .ics'; }
e2e_wait_for "the save dialog" 10 save_dialog
sleep 0.5
e2e_screenshot save-dialog >/dev/null
xdotool key Return  # the proposed file
exported() { orv_has_box "已将 1 天的项目导出到"; }
e2e_wait_for "the confirmation" 10 exported
e2e_assert_file "$out"
for line in "DTSTART;VALUE=DATE:$today" "SUMMARY:Board meeting" 'DESCRIPTION:Board meeting\nRoom 4'; do
  grep -qF "$line" "$out" || e2e_fail "no '$line' in the exported file"
done
orv_press 确定
e2e_pass
