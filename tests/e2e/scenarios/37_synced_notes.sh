#!/usr/bin/env bash
# The notes live in a folder a sync service shares; the scenario plays the service and
# the other computer. A note written there by the other computer appears on this
# computer's wallpaper within seconds; when both computers change one day while its
# pop-up is open, the user's text is saved, the other text is kept as a conflict copy,
# and opening the day again offers to merge them into one note with both texts.
# e2e-timeout: 220
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)
# A folder of its own each run, like a fresh sync folder.
# A folder of its own each run, like a fresh sync folder; the note folders already exist
# (the other computer made them), so the program must see changes inside old folders.
sync="$(e2e_user_dir)/SyncNotes-$$"
mkdir -p "$sync/Entries/默认/Notes/$(date +%Y)"
remove_sync_folder() { e2e__rm_inside "$sync"; }
E2E_ON_CLEANUP+=(remove_sync_folder)
e2e_reg_set "$ORV_KEY\\App" NotesFolder REG_SZ "$(e2e_win_path "$sync")"

orv_start_running
e2e_assert_file "$sync/Entries"
cp "$(orv_wallpaper)" "$E2E_ART/before.bmp"
orv_cells "$E2E_ART/before.bmp" "$color" >"$E2E_ART/cells.txt"
target=$(orv_pick_day "$E2E_ART/cells.txt") || e2e_fail "no day cell to click"
read -r day l t r b <<<"$target"
year=$(date +%Y) month=$(date +%m)
note="$sync/Entries/默认/Notes/$year/$(printf 'Notes_%d-%02d-%02d.txt' "$year" "$((10#$month))" "$day")"
crop="$((r - l - 40))x$((b - t - 6))+$((l + 30))+$((t + 3))"
cell_changed() {  # BMP: pixels of the day's text area that differ from before.bmp
  convert "$E2E_ART/before.bmp" -crop "$crop" +repage "$E2E_ART/cell-a.png"
  convert "$1" -crop "$crop" +repage "$E2E_ART/cell-b.png"
  compare -metric AE "$E2E_ART/cell-a.png" "$E2E_ART/cell-b.png" null: 2>&1 || true
}

# The other computer's note arrives through the sync service.
wall_before=$(orv_wallpaper_mtime)
mkdir -p "$(dirname "$note")"
printf '[EOHDR]\r\nDentist 9:00\r\n' >"$note.part" && mv "$note.part" "$note"
arrived=$SECONDS
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the wallpaper with the synced note" 10 rebuilt
e2e_log "synced note shown after $((SECONDS - arrived)) s"
sleep 0.5
cp "$(orv_wallpaper)" "$E2E_ART/synced.bmp"
e2e_screenshot synced >/dev/null
changed=$(cell_changed "$E2E_ART/synced.bmp")
[ "${changed%%.*}" -gt 30 ] || e2e_fail "the synced note is not drawn in its cell ($changed changed pixels)"

# Both computers change the day at once.
cx=$(((l + r) / 2)) cy=$(((t + b) / 2))
e2e_click $cx $cy 3
e2e_wait_window TFEntry visible 10 >/dev/null
sleep 0.5
xdotool key ctrl+End
xdotool type --delay 60 " and call Li"
printf '[EOHDR]\r\nDentist 9:30\r\n' >"$note.part" && mv "$note.part" "$note"
sleep 1
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_wait_for "the user's text in the note" 10 grep -q "call Li" "$note"
copy=$(ls "$(dirname "$note")" | grep -F "的冲突副本" | head -1)
[ -n "$copy" ] || e2e_fail "no conflict copy beside the note: $(ls "$(dirname "$note")")"
grep -q "Dentist 9:30" "$(dirname "$note")/$copy" || e2e_fail "the conflict copy does not hold the other text"
e2e_screenshot both-kept >/dev/null

# Opening the day again offers the other version; merging keeps both texts in one note.
sleep 1
e2e_click $cx $cy 3
e2e_wait_window TFEntry visible 10 >/dev/null
e2e_wait_for "the merge question" 10 orv_has_box "此项目在另一台电脑上也被修改了"
e2e_screenshot merge-question >/dev/null
orv_press "是" 5 >/dev/null
e2e_wait_for "the merged note" 10 grep -q "Dentist 9:30" "$note"
grep -q "call Li" "$note" || e2e_fail "the merged note lost the user's text"
[ -z "$(ls "$(dirname "$note")" | grep -F "的冲突副本")" ] || e2e_fail "the merged conflict copy is still there"
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_screenshot merged >/dev/null
# Only the note itself (no temporaries, no copies) is left for the service to carry.
e2e_assert_eq "$(basename "$note")" "$(ls "$(dirname "$note")")" "files beside the note"
orv_end_session
e2e_pass
