#!/usr/bin/env bash
# Two computers (two Wine prefixes, each with its own display) run the program with their
# notes in a local folder that a stand-in sync service (lib/syncloop.py) keeps in step.
# A note typed on A appears on B's wallpaper within seconds of the sync; one day edited
# on both while the service is offline ends with both texts on both computers (the
# service's conflict copy beside the note), and merging on B when the day is opened there
# again carries one note with both texts back to A. A conflict copy of a codes file is
# merged into the codes when the program starts.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/pcs.sh"
e2e_init
e2e_add_pc b
year=$(date +%Y) month=$(date +%m)

# Each computer: plain calendar, notes in a folder of its own; the note folders of this
# year already exist (so changes inside folders older than the program are seen).
declare -A sync
for pc in main b; do
  e2e_use_pc "$pc"
  orv_not_first_run
  color=$(orv_plain_calendar)
  sync[$pc]="$(e2e_user_dir)/SyncNotes"
  e2e__rm_inside "${sync[$pc]}"
  mkdir -p "${sync[$pc]}/Entries/默认/Notes/$year"
  e2e_reg_set "$ORV_KEY\\App" NotesFolder REG_SZ "$(e2e_win_path "${sync[$pc]}")"
done
# A codes file changed on both computers earlier: the service left B's version beside
# A's. A merges the two when it starts (day 1 coded on A, day 2 on B), removes the copy
# and says so in its log.
e2e_use_pc main
codes="${sync[main]}/Entries/Codes$year.dat"
codes_copy="${sync[main]}/Entries/Codes$year.sync-conflict-20260101-101500-PCB.dat"
python3 -c 'import struct, sys
for path, day, mask in ((sys.argv[1], 0, 2), (sys.argv[2], 1, 4)):
    v = [0] * 370
    v[day] = mask
    open(path, "wb").write(struct.pack("<370I", *v))' "$codes" "$codes_copy"
# A picture's properties the same way: that copy stays and is only mentioned in the log.
mkdir -p "${sync[main]}/ImageCRC"
printf '[Image]\r\nContrast=10\r\n' >"${sync[main]}/ImageCRC/CRC_0000abcd.ini"
printf '[Image]\r\nContrast=20\r\n' >"${sync[main]}/ImageCRC/CRC_0000abcd-PCB.ini"
orv_start_running orvinta
e2e_wait_for "the codes' conflict copy merged" 10 eval '[ ! -e "$codes_copy" ]'
e2e_assert_eq "2 4" "$(od -An -tu4 -N8 "$codes" | xargs)" "A's codes of days 1 and 2 after the merge"
logged() { grep -qF "$1" "$(e2e_data_folder)/Sync.log"; }
e2e_wait_for "the codes merge in A's log" 5 logged "Codes$year.dat"
e2e_wait_for "the properties' copy in A's log" 5 logged "CRC_0000abcd-PCB.ini"
e2e_assert_file "${sync[main]}/ImageCRC/CRC_0000abcd-PCB.ini"

pause="$E2E_ART/sync-paused"
e2e_start_helper sync python3 "$E2E_ROOT/tests/e2e/lib/syncloop.py" "${sync[main]}" "${sync[b]}" PCA PCB \
  --delay 1 --pause "$pause"
synclog="$E2E_ART/sync.log"
# B starts once the merged codes are there (a rebuild for them comes no later).
e2e_wait_for "the codes carried to B" 10 test -f "${sync[b]}/Entries/Codes$year.dat"
e2e_use_pc b
orv_start_running orvinta-b
cp "$(orv_wallpaper)" "$E2E_ART/b-before.bmp"
orv_cells "$E2E_ART/b-before.bmp" "$color" >"$E2E_ART/cells.txt"
first=$(orv_pick_day "$E2E_ART/cells.txt") || e2e_fail "no day cell to click"
read -r day1 _ <<<"$first"
second=$(orv_pick_day "$E2E_ART/cells.txt" "$day1") || e2e_fail "no second day cell"
read -r day2 _ <<<"$second"
note_of() {  # PC DAY: the day's note file in the PC's sync folder
  printf '%s/Entries/默认/Notes/%d/Notes_%d-%02d-%02d.txt\n' "${sync[$1]}" "$year" "$year" "$((10#$month))" "$2"
}
# Opens the day's pop-up on the PC in use, types TEXT at its end and closes it.
type_note() {  # "DAY L T R B" TEXT
  local d l t r b
  read -r d l t r b <<<"$1"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
  e2e_wait_window TFEntry visible 10 >/dev/null
  sleep 0.5
  xdotool key ctrl+End
  xdotool type --delay 40 "$2"
  sleep 0.3
  e2e_screenshot "$E2E_PC-typed-$d" >/dev/null
  e2e_click 100 200
  e2e_wait_window TFEntry gone 10 >/dev/null
}
# Pixels of a day's text area that differ between two wallpapers.
cell_changed() {  # BEFORE AFTER "DAY L T R B"
  local d l t r b crop
  read -r d l t r b <<<"$3"
  crop="$((r - l - 40))x$((b - t - 6))+$((l + 30))+$((t + 3))"
  convert "$1" -crop "$crop" +repage "$E2E_ART/cell-a.png"
  convert "$2" -crop "$crop" +repage "$E2E_ART/cell-b.png"
  compare -metric AE "$E2E_ART/cell-a.png" "$E2E_ART/cell-b.png" null: 2>&1 || true
}
synced_at() {  # ACTION-PREFIX FILE-SUFFIX: the time of the loop's first such line
  awk -v a="$1" -v f="$2" 'index($0, " " a) && substr($0, length($0) - length(f) + 1) == f { print $1; exit }' "$synclog"
}

# A note typed on A reaches B's wallpaper.
e2e_use_pc main
type_note "$first" "Dentist 9:00"
e2e_wait_for "A's note saved" 10 grep -q "Dentist 9:00" "$(note_of main "$day1")"
e2e_use_pc b
wall_before=$(orv_wallpaper_mtime)
rel="Notes_$year-$month-$(printf %02d "$day1").txt"
e2e_wait_for "the sync of A's note" 20 eval '[ -n "$(synced_at "copied a->b" "$rel")" ]'
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "B's wallpaper with A's note" 15 rebuilt
shown=$(date +%s.%N)
delay=$(awk -v s="$(synced_at "copied a->b" "$rel")" -v e="$shown" 'BEGIN { printf "%.1f", e - s }')
e2e_log "A's note shown on B $delay s after the sync"
awk -v d="$delay" 'BEGIN { exit !(d <= 10) }' || e2e_fail "B showed the synced note only after $delay s"
sleep 0.5
cp "$(orv_wallpaper)" "$E2E_ART/b-synced.bmp"
e2e_screenshot b-synced >/dev/null
changed=$(cell_changed "$E2E_ART/b-before.bmp" "$E2E_ART/b-synced.bmp" "$first")
[ "${changed%%.*}" -gt 30 ] || e2e_fail "A's note is not drawn in B's cell ($changed changed pixels)"

# The same day edited on both computers while the service is offline: when it is back,
# both texts are on both computers, one in the note, the other in the service's copy.
touch "$pause"
e2e_use_pc main
type_note "$second" "call Li"
e2e_use_pc b
type_note "$second" "buy milk"
e2e_wait_for "B's note saved" 10 grep -q "buy milk" "$(note_of b "$day2")"
grep -q "call Li" "$(note_of main "$day2")" || e2e_fail "A's note was not saved"
rm -f "$pause"
rel="Notes_$year-$month-$(printf %02d "$day2").txt"
e2e_wait_for "the service's conflict copy" 20 eval '[ -n "$(synced_at "conflict" "$rel")" ]'
for pc in main b; do
  folder=$(dirname "$(note_of "$pc" "$day2")")
  texts=$(cat "$folder/$rel" "$folder/${rel%.txt}".sync-conflict-*.txt)
  grep -q "call Li" <<<"$texts" && grep -q "buy milk" <<<"$texts" ||
    e2e_fail "PC $pc does not hold both texts: $(ls "$folder")"
done

# Opening the day on B offers the other version; merging carries one note with both
# texts to A, and the copy goes on both.
e2e_use_pc b
read -r _ l t r b <<<"$second"
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
e2e_wait_for "the merge question on B" 10 orv_has_box "此项目在另一台电脑上也被修改了"
e2e_screenshot b-merge-question >/dev/null
orv_press "是" 5 >/dev/null
both() { grep -q "call Li" "$1" && grep -q "buy milk" "$1"; }
e2e_wait_for "the merged note on B" 10 both "$(note_of b "$day2")"
e2e_click 100 200
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_use_pc main
wall_before=$(orv_wallpaper_mtime)
e2e_wait_for "the merged note on A" 20 both "$(note_of main "$day2")"
no_copies() { ! ls "$(dirname "$(note_of "$1" "$day2")")" | e2e_has sync-conflict; }
e2e_wait_for "the conflict copy gone on A" 10 no_copies main
no_copies b || e2e_fail "the merged conflict copy is still on B"
e2e_wait_for "A's wallpaper with the merged note" 15 rebuilt
e2e_screenshot a-merged >/dev/null
# Only the notes themselves are left for the service to carry.
for pc in main b; do
  e2e_assert_eq "$(printf 'Notes_%d-%02d-%02d.txt\n' "$year" "$((10#$month))" "$day1" "$year" "$((10#$month))" "$day2" | sort)" \
    "$(ls "$(dirname "$(note_of "$pc" "$day2")")" | sort)" "files beside the notes on $pc"
done
orv_end_session orvinta
e2e_use_pc b
orv_end_session orvinta-b
e2e_pass
