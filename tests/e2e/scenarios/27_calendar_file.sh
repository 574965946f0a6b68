#!/usr/bin/env bash
# A calendar file subscribed in the settings shows its events in the day cells: an
# all-day event of today is drawn as a line with a bar in the subscription's colour, a
# copy of the file is kept in the data folder's Calendars folder, and an event added to
# the file later is drawn too.
# e2e-timeout: 200
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
# in a month the panel does not show.
later=$(date -d '2 days' +%Y%m%d)
calendar "UID:a|SUMMARY:Planning|DTSTART;VALUE=DATE:$today" \
  "UID:b|SUMMARY:Review|DTSTART;VALUE=DATE:$later" >"$ics"
two_bars() { [ "$(bar_pixels)" -ge $((2 * one)) ] || [ "${later:4:2}" != "${today:4:2}" ]; }
e2e_wait_for "the added event's line" 60 two_bars
e2e_screenshot two-events >/dev/null
e2e_pass
