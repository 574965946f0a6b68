#!/usr/bin/env bash
# A triple-click on a day cell of the installed wallpaper opens the entry pop-up with its
# text area exactly over that cell; typing and a press on the empty desktop save the note
# and rebuild the wallpaper with text in the cell; a pop-up closed without a key press
# rewrites nothing. A note written a minute later is drawn over the parked picture.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)

orv_start_running
cp "$(orv_wallpaper)" "$E2E_ART/before.bmp"
e2e_screenshot calendar >/dev/null
orv_cells "$E2E_ART/before.bmp" "$color" >"$E2E_ART/cells.txt"
[ "$(wc -l <"$E2E_ART/cells.txt")" -ge 20 ] || e2e_fail "too few day cells found: $(cat "$E2E_ART/cells.txt")"

# A day of this month, away from today's glow.
target=$(orv_pick_day "$E2E_ART/cells.txt") || e2e_fail "no day cell to click"
read -r day l t r b <<<"$target"
e2e_log "clicking day $day at $l,$t-$r,$b"
cx=$(((l + r) / 2)) cy=$(((t + b) / 2))

e2e_click $cx $cy 3
e2e_wait_window TFEntry visible 10 >/dev/null
sleep 0.5
e2e_screenshot popup >/dev/null
read -r wl wt wr wb <<<"$(orv_popup_rect)"
width=$((r - l)); [ $width -ge 42 ] || width=42
e2e_assert_eq "$l $((t - 17)) $((l + width)) $b" "$wl $wt $wr $wb" "pop-up rectangle (cell $l,$t-$r,$b)"
title=$(e2e_find_window TFEntry | sed -E 's/.* title="(.*)"$/\1/')
[[ $title == *", $day "* || $title == "$day" || $title == "  $day  "* ]] || e2e_fail "pop-up title '$title' is not day $day"

xdotool type --delay 60 "Meeting 10:30"
sleep 0.5
e2e_screenshot typed >/dev/null
wall_before=$(orv_wallpaper_mtime)
e2e_click 100 200
note=$(orv_note_file "$(date +%Y)" "$(date +%m)" "$day")
e2e_wait_for "the note file of day $day" 10 test -f "$note"
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_assert_eq "[EOHDR]|Meeting 10:30|" "$(tr '\r\n' '||' <"$note" | tr -s '|')" "note file"
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the rebuilt wallpaper" 10 rebuilt
written=$(stat -c %.9Y "$(orv_wallpaper)")
sleep 0.5
cp "$(orv_wallpaper)" "$E2E_ART/after.bmp"
e2e_screenshot saved >/dev/null
# Text pixels appeared in the cell (right of the day number) and nowhere outside it.
crop="$((r - l - 40))x$((b - t - 6))+$((l + 30))+$((t + 3))"
convert "$E2E_ART/before.bmp" -crop "$crop" +repage "$E2E_ART/cell-before.png"
convert "$E2E_ART/after.bmp" -crop "$crop" +repage "$E2E_ART/cell-after.png"
changed=$(compare -metric AE "$E2E_ART/cell-before.png" "$E2E_ART/cell-after.png" null: 2>&1 || true)
e2e_log "changed pixels in the cell: $changed"
[ "${changed%%.*}" -gt 30 ] || e2e_fail "no text drawn in the cell ($changed changed pixels)"
# One build for one note: the notes watcher does not report the program's own write as a
# change from elsewhere (it would build again once the folder has been quiet 0.3 s).
sleep 0.5
e2e_assert_eq "$written" "$(stat -c %.9Y "$(orv_wallpaper)")" "wallpaper written once for the note"

# Again, without a key press: nothing is written, nothing rebuilt.
note_time=$(stat -c %Y%N "$note" | tr -dc 0-9)
wall_time=$(orv_wallpaper_mtime)
sleep 1.2
e2e_click $cx $cy 3
e2e_wait_window TFEntry visible 10 >/dev/null
memo=$(ov_tool children TFEntry | tr -d '\r' | grep 'class="Edit"' | sed -E 's/.* text="(.*)"$/\1/')
e2e_assert_eq "Meeting 10:30" "$memo" "text shown again"
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
sleep 4
e2e_assert_eq "$note_time" "$(stat -c %Y%N "$note" | tr -dc 0-9)" "note file time after closing unchanged"
e2e_assert_eq "$wall_time" "$(orv_wallpaper_mtime)" "wallpaper time after closing unchanged"

# A minute after the last build the composed picture is parked in a cache file of the
# temporary folder and let go of. The next note is drawn over it as read back from there
# (a picture composed again leaves no cache file), and only the cell's text changes.
cache="$(e2e_user_dir)/Temp/Orvinta Layer.tmp"
e2e_wait_for "the picture layer parked" 90 test -f "$cache"
e2e_click $cx $cy 3
e2e_wait_window TFEntry visible 10 >/dev/null
xdotool key ctrl+End
xdotool type --delay 60 " 11:00"
wall_before=$(orv_wallpaper_mtime)
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_wait_for "the wallpaper rebuilt over the parked layer" 10 rebuilt
e2e_assert_eq "[EOHDR]|Meeting 10:30 11:00|" "$(tr '\r\n' '||' <"$note" | tr -s '|')" "note file after the second edit"
e2e_assert_file "$cache"
sleep 0.5
cp "$(orv_wallpaper)" "$E2E_ART/after-parked.bmp"
e2e_screenshot parked >/dev/null
without_cell() { convert "$1" -fill black -draw "rectangle $l,$t $r,$b" "$2"; }
without_cell "$E2E_ART/after.bmp" "$E2E_ART/outside-before.png"
without_cell "$E2E_ART/after-parked.bmp" "$E2E_ART/outside-after.png"
outside=$(compare -metric AE "$E2E_ART/outside-before.png" "$E2E_ART/outside-after.png" null: 2>&1 || true)
e2e_assert_eq 0 "${outside%%.*}" "pixels changed outside the cell"
changed=$(compare -metric AE "$E2E_ART/after.bmp" "$E2E_ART/after-parked.bmp" null: 2>&1 || true)
[ "${changed%%.*}" -gt 10 ] || e2e_fail "the second edit drew nothing in the cell ($changed changed pixels)"
orv_end_session
e2e_pass
