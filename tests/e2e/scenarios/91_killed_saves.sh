#!/usr/bin/env bash
# The program killed (SIGKILL) while it saves: a pop-up closed with a long note writes
# the note file and then builds and writes "Wallpaper.bmp". Killed at moments spread over
# that save, the note file is afterwards whole, either its old or its new content, and the
# program starts again normally; a temporary file a kill left behind is removed at that
# start once it is older than a minute. The wallpaper, which every start builds again, is
# written in place: a kill in the middle of that write may leave it cut ("cut" below),
# and the next start makes it the wallpaper of the note that survived.
# CI runs 6 kills; more: bash tests/e2e/scenarios/91_killed_saves.sh 40
# e2e-timeout: 240
rounds=${1:-6}
[ "$rounds" -ge 1 ] || { echo "usage: $0 [ROUNDS]" >&2; exit 64; }
export E2E_TIMEOUT=$((${E2E_TIMEOUT:-0} > 90 + rounds * 12 ? E2E_TIMEOUT : 90 + rounds * 12))
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_plain_calendar >/dev/null
note=$(orv_note_file "$(date +%Y)" "$(date +%m)" "$(date +%d)")
wallpaper=$(orv_wallpaper)
data=$(e2e_data_folder)

# Two long notes (about 12,000 characters each) that show differently in the cell.
long_note() { # WORD
  local line text=""
  line="$1 会议记录 meeting notes 0123456789 "
  for _ in $(seq 1 300); do text+=$line; done
  printf '%s' "$text"
}
notes=("$(long_note 第一版)" "$(long_note 第二版)")

run=0
start_program() {
  run=$((run + 1))
  E2E_ORVINTA_NAME=run$run e2e_start_orvinta
  e2e_wait_window TOVMainForm exists 30 >/dev/null
  e2e_wait_for "the wallpaper of run $run" 30 test -f "$wallpaper"
  sleep 1
  if e2e_window_visible TOVMainForm; then e2e_post TOVMainForm WM_CLOSE >/dev/null; fi
  orv_no_boxes || e2e_fail "run $run started with a message: $(orv_box_texts)"
}

# Opens today's pop-up and puts note N in it; closing it starts the save.
note_in_popup() {
  local edit id
  e2e_post TOVMainForm WM_HOTKEY >/dev/null
  e2e_wait_window TFEntry visible 10 >/dev/null
  read -r edit id < <(ov_tool children TFEntry | tr -d '\r' |
    sed -n 's/^\(0x[0-9a-fA-F]*\) id=\([0-9-]*\) .*class="Edit".*/\1 \2/p' | head -1)
  [ -n "$id" ] || e2e_fail "the pop-up has no text field"
  ov_tool settext TFEntry "#$id" "${notes[$1]}" >/dev/null || e2e_fail "cannot set the note"
  e2e_post "$edit" 0x100 0x23 >/dev/null  # WM_KEYDOWN, VK_END: the note counts as changed
}

wall_time() { stat -c %y "$wallpaper" 2>/dev/null || echo none; }

# The two finished states, saved without a kill, and how long a save takes.
start_program
declare -a note_sum wall_sum
for v in 0 1; do
  before=$(wall_time)
  note_in_popup $v
  t0=$(date +%s%N)
  e2e_post TFEntry WM_CLOSE >/dev/null
  e2e_wait_for "the wallpaper with note $v" 30 eval '[ "$(wall_time)" != "$before" ]'
  save_ms=$((($(date +%s%N) - t0) / 1000000))
  e2e_wait_window TFEntry gone 10 >/dev/null
  sleep 1
  note_sum[$v]=$(md5sum <"$note")
  wall_sum[$v]=$(md5sum <"$wallpaper")
  e2e_log "note $v: $(stat -c %s "$note") bytes; from posting the close to the new wallpaper $save_ms ms"
done
[ "${note_sum[0]}" != "${note_sum[1]}" ] && [ "${wall_sum[0]}" != "${wall_sum[1]}" ] ||
  e2e_fail "the two notes give the same files"
cp "$wallpaper" "$E2E_ART/wallpaper-1.bmp"
e2e_screenshot saved >/dev/null

# Kills spread from the moment the close is posted to 1.2 times a save's length, each a
# little later by chance. The kill waits in a subshell while the close is posted, so it
# can land before, in and after the note's own write.
report=$E2E_ART/kills.txt
echo "round delay_ms note wallpaper leftovers" | tee "$report"
state=1
for round in $(seq 1 "$rounds"); do
  v=$((1 - state))
  delay=$((save_ms * 12 * (round - 1) / (10 * rounds) + RANDOM % (save_ms / rounds + 1)))
  note_in_popup $v
  pid=$(e2e_pid "run$run")
  (
    sleep "$(awk -v d="$delay" 'BEGIN {printf "%.3f", d / 1000}')"
    kill -KILL "$pid"
  ) &
  killer=$!
  ov_tool post TFEntry WM_CLOSE >/dev/null 2>&1 || true  # the program may be gone already
  wait "$killer"
  e2e_wait_window TOVMainForm gone 15 >/dev/null
  e2e_running "run$run" && e2e_fail "round $round: the program outlived SIGKILL"

  n=$(md5sum <"$note") w=$(md5sum <"$wallpaper")
  nv=x wv=x
  for i in 0 1; do
    [ "$n" = "${note_sum[$i]}" ] && nv=$i
    [ "$w" = "${wall_sum[$i]}" ] && wv=$i
  done
  leftovers=$(find "$data" -name '*.tmp[0-9]*-[0-9]*' ! -name '*.tmp456-0' | wc -l)
  [ "$nv" != x ] || e2e_fail "round $round (killed after $delay ms): the note file is neither the old nor the new one"
  # Cut in its write: only the size it had, and only after the new note was saved.
  if [ "$wv" = x ]; then
    e2e_assert_eq "$(stat -c %s "$E2E_ART/wallpaper-1.bmp")" "$(stat -c %s "$wallpaper")" \
      "round $round: size of a wallpaper cut in its write"
    [ "$nv" = "$v" ] || e2e_fail "round $round: the wallpaper was written before the new note"
  fi
  # A wallpaper with the new note follows only a note saved with it.
  [ "$wv" != "$v" ] || [ "$nv" = "$v" ] || e2e_fail "round $round: the new wallpaper without the new note"
  label() { if [ "$1" = x ]; then echo cut; elif [ "$1" = "$v" ]; then echo new; else echo old; fi; }
  echo "$round $delay $(label "$nv") $(label "$wv") $leftovers" | tee -a "$report"
  state=$nv

  # Leftover temporaries are made older than a minute, and one such is put beside the
  # note as a kill at the wrong moment leaves it; the next start removes them (but not a
  # fresh one, which may be another copy's save under way) and builds the wallpaper from
  # the note that survived.
  cp "$note" "$note.tmp123-$round"
  [ "$round" -eq 1 ] && cp "$note" "$note.tmp456-0"
  find "$data" -name '*.tmp[0-9]*-[0-9]*' ! -name '*.tmp456-0' -exec touch -d '2 minutes ago' {} +
  start_program
  left=$(find "$data" -name '*.tmp[0-9]*-[0-9]*' ! -name '*.tmp456-0' | wc -l)
  [ "$left" -eq 0 ] || e2e_fail "round $round: $left temporary files survived the start"
  [ "$round" -gt 1 ] || e2e_assert_file "$note.tmp456-0"
  e2e_wait_for "round $round: the wallpaper of the surviving note" 10 \
    eval '[ "$(md5sum <"$wallpaper")" = "${wall_sum[$state]}" ]'
done
e2e_screenshot after-kills >/dev/null
awk 'NR > 1 {n += $3 == "new"; w += $4 == "new"; c += $4 == "cut"; t += $5; r++} END {
  printf "%d kills: note new %d, wallpaper new %d, cut %d, temporaries left %d (all removed at the next start)\n", r, n, w, c, t
}' "$report" | tee -a "$report"
orv_end_session "run$run"
e2e_pass
