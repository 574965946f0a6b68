#!/usr/bin/env bash
# A month in minutes: the program runs through DAYS simulated days (the test clock moved
# in STEPS per day, the picture rotating at each step); each day a note is written in the
# pop-up and the configuration window is shown and hidden. After each day its private
# memory (Linux's view of the Wine process), GDI objects and USER objects are sampled;
# after the first day none may grow beyond noise: private memory 3 MB, GDI objects 8,
# USER objects 0.
# CI runs 3 days of 4 steps; the full month:
#   bash tests/e2e/scenarios/90_month.sh 30 24
# e2e-timeout: 240
days=${1:-3} steps=${2:-4}
[ "$days" -ge 2 ] && [ "$steps" -ge 1 ] && [ $((1440 % steps)) -eq 0 ] || {
  echo "usage: $0 [DAYS>=2] [STEPS dividing 1440]" >&2
  exit 64
}
export E2E_TIMEOUT=$((${E2E_TIMEOUT:-0} > 120 + days * steps * 3 ? E2E_TIMEOUT : 120 + days * steps * 3))
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_sample_library >/dev/null
app="$ORV_KEY\\App"
minutes=$((1440 / steps))
e2e_reg_set "$app" RotateImages REG_SZ 1
e2e_reg_set "$app" RotationMode REG_DWORD 0
e2e_reg_set "$app" RotationInterval REG_DWORD "$minutes"

OV_TEST_CLOCK=1 orv_start_running
pid=$(e2e_pid orvinta)
grep -qa 'Orvinta' "/proc/$pid/cmdline" || e2e_fail "process $pid is not the program"
if e2e_window_visible TOVMainForm; then e2e_post TOVMainForm WM_CLOSE >/dev/null; fi
e2e_wait_window TOVMainForm hidden 10 >/dev/null || e2e_fail "the main window did not hide"
advance=$((0x8000 + 0x3C0))  # WM_APP + 0x3C0: move the test clock, tick at once
start_day=$(date +%F)

# One sample: "private_kb gdi_objects user_objects".
sample() {
  local stats
  stats=$(ov_tool procstats TOVMainForm | tr -d '\r')
  printf '%s %s %s\n' "$(awk '/^RssAnon:/ {print $2}' "/proc/$pid/status")" \
    "$(awk '$1 == "gdi_objects" {print $2}' <<<"$stats")" "$(awk '$1 == "user_objects" {print $2}' <<<"$stats")"
}

# The pop-up of the shown day: a note put in (a key press marks it changed) and closed,
# which saves it and rebuilds the wallpaper.
note_of_the_day() {
  local day=$1 edit id note
  e2e_post TOVMainForm WM_HOTKEY >/dev/null
  e2e_wait_window TFEntry visible 10 >/dev/null || e2e_fail "day $day: no pop-up"
  read -r edit id < <(ov_tool children TFEntry | tr -d '\r' |
    sed -n 's/^\(0x[0-9a-fA-F]*\) id=\([0-9-]*\) .*class="Edit".*/\1 \2/p' | head -1)
  [ -n "$id" ] || e2e_fail "day $day: the pop-up has no text field"
  ov_tool settext TFEntry "#$id" "第 $day 天的记录" >/dev/null || e2e_fail "day $day: cannot set the note"
  e2e_post "$edit" 0x100 0x23 >/dev/null  # WM_KEYDOWN, VK_END: the note counts as changed
  e2e_post TFEntry WM_CLOSE >/dev/null
  e2e_wait_window TFEntry gone 10 >/dev/null || e2e_fail "day $day: the pop-up stayed open"
  read -r y m d <<<"$(date -d "$start_day + $day days" '+%Y %m %d')"
  note=$(orv_note_file "$y" "$m" "$d")
  e2e_wait_for "day $day: the note file" 10 test -f "$note"
}

# The wallpaper file's modification time to the nanosecond.
wallpaper_time() { stat -c %y "$(orv_wallpaper)" 2>/dev/null || echo none; }
# The rotation queue changes with each picture taken from it.
queue_sum() {
  local f
  f="$(e2e_data_folder)/Rotation.txt"
  if [ -f "$f" ]; then md5sum <"$f"; else echo none; fi
}

report=$E2E_ART/month.txt
echo "day private_kb gdi_objects user_objects rotations seconds" | tee "$report"
read -r p0 g0 u0 <<<"$(sample)"
echo "0 $p0 $g0 $u0 0 0" | tee -a "$report"
[[ $g0 =~ ^[0-9]+$ && $u0 =~ ^[0-9]+$ && $g0 -gt 0 && $u0 -gt 0 ]] || e2e_fail "no GDI or USER object counts: $(ov_tool procstats TOVMainForm)"
rotations=0
for day in $(seq 1 "$days"); do
  t0=$SECONDS
  for _ in $(seq 1 "$steps"); do
    queue=$(queue_sum)
    wall=$(wallpaper_time)
    [ "$(ov_tool send TOVMainForm "$advance" "$minutes" 0 60000 | tr -d '\r')" = 1 ] ||
      e2e_fail "day $day: the test clock did not move"
    [ "$(wallpaper_time)" != "$wall" ] || e2e_fail "day $day: no new wallpaper after $minutes minutes"
    [ "$(queue_sum)" != "$queue" ] && rotations=$((rotations + 1))
  done
  note_of_the_day "$day"
  e2e_post TOVMainForm WM_USER+23 >/dev/null
  e2e_wait_window TOVMainForm visible 10 >/dev/null || e2e_fail "day $day: the configuration window did not show"
  [ "$day" -eq 1 ] && e2e_screenshot config-day1 >/dev/null
  e2e_post TOVMainForm WM_CLOSE >/dev/null
  e2e_wait_window TOVMainForm hidden 10 >/dev/null || e2e_fail "day $day: the configuration window did not hide"
  sleep 1
  e2e_running orvinta || e2e_fail "the program ended on day $day"
  read -r p g u <<<"$(sample)"
  echo "$day $p $g $u $rotations $((SECONDS - t0))" | tee -a "$report"
  [ "$day" -eq 1 ] && { p1=$p g1=$g u1=$u; }
  [ "$day" -gt 1 ] || continue
  [ $((p - p1)) -le 3072 ] || e2e_fail "day $day: private memory grew from $p1 KB to $p KB"
  [ $((g - g1)) -le 8 ] || e2e_fail "day $day: GDI objects grew from $g1 to $g"
  [ $((u - u1)) -le 0 ] || e2e_fail "day $day: USER objects grew from $u1 to $u"
done
e2e_screenshot last-day >/dev/null
[ "$rotations" -ge $((days * steps / 2)) ] || e2e_fail "only $rotations of $((days * steps)) steps rotated the picture"
# Every day's note is still there after all the rotations and day changes.
for day in $(seq 1 "$days"); do
  read -r y m d <<<"$(date -d "$start_day + $day days" '+%Y %m %d')"
  e2e_assert_file "$(orv_note_file "$y" "$m" "$d")"
done
awk 'NR > 2 {
  for (i = 2; i <= 4; i++) { if (NR == 3) first[i] = $i; last[i] = $i; if ($i > max[i]) max[i] = $i }
} END {
  printf "days 1..%d first/last/max: private KB %d/%d/%d, GDI objects %d/%d/%d, USER objects %d/%d/%d\n",
    $1, first[2], last[2], max[2], first[3], last[3], max[3], first[4], last[4], max[4]
}' "$report" | tee -a "$report"
orv_end_session
e2e_pass
