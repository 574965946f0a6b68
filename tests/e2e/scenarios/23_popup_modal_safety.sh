#!/usr/bin/env bash
# The pop-up survives what happens while its repeat dialog is open: a change of day and a
# press on the desktop wait for the dialog; OK then repeats the typed text (written once,
# not merged twice) and Cancel closes the pop-up with the text saved and no series. A note
# that cannot be read opens read-only with one error box naming the file, and neither
# closing nor a colour code replaces it; a note too long for the pop-up opens with its
# beginning, read-only, and stays as it is.
# e2e-timeout: 240
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)
year=$(date +%Y) month=$(date +%m)

orv_start_running
orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"

# Opens the pop-up of DAY (cell L T R B), types TEXT and opens "重复项目...".
open_repeat_dialog() {
  local l=$2 t=$3 r=$4 b=$5
  e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
  e2e_wait_window TFEntry visible 10 >/dev/null
  xdotool type --delay 50 "$6"
  orv_popup_menu
  xdotool key Down Down Down Return
  e2e_wait_window TFRepeat visible 10 >/dev/null
}
# While the dialog is open: the clock is set (the next tick rebuilds for the new day) and
# the desktop is pressed. Both must wait for the dialog.
disturb() {
  e2e_post TOVMainForm 0x1E  # WM_TIMECHANGE
  sleep 3.5                  # one housekeeping tick
  e2e_click 100 200
  sleep 1
  e2e_running orvinta || e2e_fail "the program ended while the repeat dialog was open"
  e2e_window_visible TFRepeat || e2e_fail "the repeat dialog went away"
  e2e_find_window TFEntry >/dev/null || e2e_fail "the pop-up was destroyed under its repeat dialog"
}
note_lines() { tr '\r\n' '||' <"$1" | tr -s '|'; }

# OK: the series is written, the typed text once.
read -r day l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"
open_repeat_dialog "$day" "$l" "$t" "$r" "$b" "Kept once"
disturb
e2e_screenshot repeat-after-disturbance >/dev/null
ov_tool click TFRepeat 确定 >/dev/null
e2e_wait_window TFEntry gone 10 >/dev/null
note=$(orv_note_file "$year" "$month" "$day")
next=$(orv_note_file "$year" "$month" "$((day + 1))")
e2e_wait_for "the repeated note" 10 test -f "$next"
e2e_assert_eq "[EOHDR]|Kept once|" "$(note_lines "$note")" "the typed note"
e2e_assert_eq "[EOHDR]|Kept once|" "$(note_lines "$next")" "the repeated note"
e2e_running orvinta || e2e_fail "the program ended after OK"

# Cancel: the pop-up closes as the desktop press asked, saving the text; nothing repeated.
read -r day2 l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt" "$day $((day + 1)) $((day + 2))")" ||
  e2e_fail "no second day cell"
sleep 1.2
open_repeat_dialog "$day2" "$l" "$t" "$r" "$b" "Only here"
disturb
ov_tool click TFRepeat 取消 >/dev/null
e2e_wait_window TFEntry gone 10 >/dev/null
note2=$(orv_note_file "$year" "$month" "$day2")
e2e_wait_for "the note of day $day2" 10 test -f "$note2"
e2e_assert_eq "[EOHDR]|Only here|" "$(note_lines "$note2")" "the note after cancelling"
e2e_assert_no_file "$(orv_note_file "$year" "$month" "$((day2 + 1))")"
e2e_running orvinta || e2e_fail "the program ended after Cancel"

# A note that cannot be read (a folder stands where its file should be).
read -r day3 l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt" "$day $((day + 1)) $day2 $((day2 + 1))")" ||
  e2e_fail "no third day cell"
blocked=$(orv_note_file "$year" "$month" "$day3")
mkdir -p "$blocked/keep" && echo "old note" >"$blocked/keep/content.txt"
sleep 1.2
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
e2e_wait_for "the read error box" 10 orv_has_box "Notes_$year-$month-$(printf %02d "$day3").txt"
e2e_screenshot read-error >/dev/null
[ "$(ov_tool msgboxes | tr -d '\r' | grep -c '^  text')" = 1 ] || e2e_fail "more than one error box"
orv_press 确定
sleep 1
orv_no_boxes || e2e_fail "the error box came back"
memo=$(ov_tool children TFEntry | tr -d '\r' | grep 'class="Edit"')
[[ $memo == *"enabled=0"* ]] || e2e_fail "the memo of an unread note is editable: $memo"
# A colour code from the menu ("颜色代码" > the first colour) marks the day, writes no note.
# The grey memo takes no clicks: the menu opens from the title bar.
read -r wl wt wr wb <<<"$(orv_popup_rect)"
xdotool mousemove $((wl + 12)) $((wt + 8)) click 3
e2e_wait_for "the pop-up's menu" 5 e2e_window_visible '#32768'
xdotool key Down Right Return
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_wait_for "the colour code" 10 test "$(orv_day_code "$year-$month-$(printf %02d "$day3")")" != 0
[ -d "$blocked" ] && [ -f "$blocked/keep/content.txt" ] || e2e_fail "the unreadable note was replaced"
e2e_running orvinta || e2e_fail "the program ended"

# A note of one line of a megabyte opens at once with its beginning, read-only, says so,
# and neither typing nor closing changes its file.
read -r day4 l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt" "$day $((day + 1)) $day2 $((day2 + 1)) $day3")" ||
  e2e_fail "no fourth day cell"
huge=$(orv_note_file "$year" "$month" "$day4")
python3 -c "import sys; sys.stdout.buffer.write(b'[EOHDR]\r\n' + (b'abcdefghij ' * 95326)[:1 << 20])" >"$huge"
sum=$(md5sum <"$huge")
sleep 1.2
opened=$SECONDS
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_for "the too-long box" 10 orv_has_box "这个项目太长"
e2e_log "the megabyte note opened in $((SECONDS - opened)) s"
e2e_screenshot too-long >/dev/null
orv_press 确定
sleep 0.5
xdotool type --delay 40 "typed"
e2e_click 100 200
e2e_wait_window TFEntry gone 20 >/dev/null
sleep 1
e2e_assert_eq "$sum" "$(md5sum <"$huge")" "the megabyte note's file"
e2e_running orvinta || e2e_fail "the program ended"
orv_end_session
e2e_pass
