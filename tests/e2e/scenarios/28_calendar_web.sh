#!/usr/bin/env bash
# Web calendars fetched from a local server: a calendar's events land in the cells of
# their day, and each subscription's state shows in the list of the tab "项目" (updated,
# a line that could not be read, 404, a response that never comes, a body that is no
# calendar, a 50 MB body, refused before the program has read it whole). A second
# start shows the kept copies at once and asks with the ETag, getting 304; while a
# refresh stalls the window answers at once, and quitting then does not wait for the
# fetch. "添加..." adds a subscription through its dialog. A third start without the
# server shows the events from the copies kept in the data folder.
# e2e-timeout: 300
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
color=$(orv_plain_calendar)
team=E53935 partly=43A047
export OV_TEST_FETCH_TIMEOUT_MS=8000

# The server and its calendars.
www=$E2E_ART/www
mkdir -p "$www"
server_log=$E2E_ART/server.log
: >"$server_log"
server_pid=
start_server() {
  rm -f "$E2E_ART/port"
  python3 "$E2E_ROOT/tests/e2e/tools/ics_server.py" --dir "$www" --port-file "$E2E_ART/port" --log "$server_log" \
    ${port:+--port "$port"} >"$E2E_ART/server.out" 2>&1 &
  server_pid=$!
  e2e_wait_for "the calendar server" 10 test -s "$E2E_ART/port"
  port=$(cat "$E2E_ART/port")
}
stop_server() { [ -z "$server_pid" ] || { kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; server_pid=; }; }
E2E_ON_CLEANUP+=(stop_server)

# The event day: far from today's glow, in the month shown.
today=$(date +%-d)
if [ "$today" -le 14 ]; then day=24; else day=3; fi
dday=$(date +%Y%m)$(printf %02d "$day")
crlf() { sed 's/$/\r/'; }
crlf >"$www/team.ics" <<ICS
BEGIN:VCALENDAR
VERSION:2.0
X-WR-CALNAME:Team
BEGIN:VEVENT
UID:a
SUMMARY:Planning
DTSTART;VALUE=DATE:$dday
END:VEVENT
BEGIN:VEVENT
UID:b
SUMMARY:Review
DTSTART:${dday}T100000
DTEND:${dday}T110000
END:VEVENT
END:VCALENDAR
ICS
crlf >"$www/partly.ics" <<ICS
BEGIN:VCALENDAR
VERSION:2.0
BEGIN:VEVENT
UID:c
SUMMARY:Lunch
DTSTART;VALUE=DATE:$dday
END:VEVENT
BEGIN:VEVENT
UID:d
SUMMARY:Broken
DTSTART:not-a-date
END:VEVENT
END:VCALENDAR
ICS
start_server
e2e_log "server on port $port"

# The stalled one first: the others wait behind it, and the window must not.
key="$ORV_KEY\\Calendars"
names=(stall team partly missing garbage big)
colors=(1E88E5 $team $partly FB8C00 8E24AA 00ACC1)
for i in "${!names[@]}"; do
  e2e_reg_set "$key" "Source$i" REG_SZ "http://127.0.0.1:$port/${names[$i]}.ics"
  e2e_reg_set "$key" "Color$i" REG_DWORD $((0x${colors[$i]}))
done
e2e_reg_set "$key" Count REG_DWORD ${#names[@]}

# The rows of the subscription list: "name|state|colour|source|on" each.
rows() {
  local list
  list=$(orv_children | grep ' id=3301 .*class="SysListView32"' | cut -d' ' -f1)
  [ -n "$list" ] || return 0
  ov_tool items "$list" | tr -d '\r' |
    sed -n 's/.* text="\(.*\)" col1="\(.*\)" col2="\(.*\)" col3="\(.*\)" checked=\(.\).*/\1|\2|\3|\4|\5/p'
}
state_of() { rows | sed -n "$(($1 + 1))p" | cut -d'|' -f2; }
team_failed() { [[ "$(state_of 1)" == 无法连接:* ]]; }
all_states_final() {
  local i s
  for i in "${!names[@]}"; do
    s=$(state_of "$i")
    [ -n "$s" ] && [ "$s" != 正在更新... ] && [ "$s" != 尚未读取 ] || return 1
  done
}
# Pixels of colour RGB in the cell of day D (on orv_plain_calendar's layout).
pixels_in_day() {  # RGB D
  python3 - "$(orv_wallpaper)" "$1" "$2" "$E2E_ART/cells.txt" "$E2E_ROOT/tests/e2e/lib" <<'PY'
import sys
sys.path.insert(0, sys.argv[5])
from cells import read_bmp24
_, _, rows = read_bmp24(sys.argv[1])
want, day = int(sys.argv[2], 16), int(sys.argv[3])
for line in open(sys.argv[4]):
    row, col, l, t, r, b = map(int, line.split())
    if 7 * row + col + 1 == day:
        print(sum(rows[y][l:r].count(want) for y in range(t, b)))
        break
else:
    print(-1)
PY
}
has_events() { [ "$(pixels_in_day $team $day)" -gt 0 ] && [ "$(pixels_in_day $partly $day)" -gt 0 ]; }

# 1. First start: nothing cached.
orv_start_running
e2e_wait_for "every subscription's state" 60 all_states_final
rows >"$E2E_ART/states-1.txt"
cat "$E2E_ART/states-1.txt"
e2e_assert_eq "无法连接: 超时" "$(state_of 0)" "stalled"
e2e_assert_match "^已更新 [0-2][0-9]:[0-5][0-9]$" "$(state_of 1)" "served"
e2e_assert_match "^第 [0-9]+ 行无法读取$" "$(state_of 2)" "partly readable"
e2e_assert_eq "无法下载: 找不到日历 (404)" "$(state_of 3)" "missing"
e2e_assert_eq "无法读取: 不是日历" "$(state_of 4)" "garbage"
e2e_assert_eq "文件太大 (超过 20 MB)" "$(state_of 5)" "big"
rows | e2e_has '^Team|' || e2e_fail "the calendar's own name is not shown"
# The big body was refused while it streamed: about 20 MB were taken, not 50.
e2e_wait_for "the big body's end in the server log" 20 grep -q '^/big.ics ' "$server_log"
sent=$(sed -n 's|^/big.ics .* sent=\([0-9]*\)$|\1|p' "$server_log" | head -1)
e2e_log "big body: $sent bytes sent before the program closed the connection"
[ "$sent" -lt $((40 << 20)) ] || e2e_fail "the big body was read to its end ($sent bytes)"

orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"
e2e_wait_for "the events in the cell of day $day" 30 has_events
for other in $((day - 1)) $((day + 1)); do
  [ "$(pixels_in_day $team $other)" -le 0 ] || e2e_fail "a team event drawn on day $other"
done
cp "$(orv_wallpaper)" "$E2E_ART/with-events.bmp"
e2e_screenshot events >/dev/null
ls "$(e2e_data_folder)/Calendars/"*.http >/dev/null 2>&1 || e2e_fail "no validators kept beside the copies"
orv_end_session

# 2. Second start: the kept copies show while the first fetch stalls; the served
# calendar is asked for with its ETag and not sent again.
rm -f "$(orv_wallpaper)"
orv_start_running second
e2e_wait_for "the events from the kept copies" 20 has_events
[ "$(grep -c '^/team.ics ' "$server_log")" -eq 1 ] || e2e_fail "the kept copies waited for the fetches"
e2e_wait_for "a 304 for the served calendar" 40 grep -q '^/team.ics if-none-match="[0-9a-f]*" status=304' "$server_log"
e2e_assert_match "^已更新 " "$(state_of 1)" "after 304"
# "立即刷新" fetches again; quitting while the stalled fetch waits ends the program at once.
stalls=$(grep -c '^/stall.ics ' "$server_log")
ov_tool click TOVMainForm 立即刷新 >/dev/null || e2e_fail "no button 立即刷新"
more_stalls() { [ "$(grep -c '^/stall.ics ' "$server_log")" -gt "$stalls" ]; }
e2e_wait_for "the refresh's stalled fetch" 20 more_stalls
# The window answers at once while the fetch stalls (and the others wait behind it).
ping=$(ov_tool ping TOVMainForm 2000 | tr -d '\r')
e2e_log "while a fetch stalls: $ping"
max=$(sed -n 's/^pings [0-9]* max_ms \([0-9.]*\).*/\1/p' <<<"$ping" | head -1)
[ -n "$max" ] || e2e_fail "no answer to the pings: $ping"
python3 -c "import sys; sys.exit(0 if float('$max') < 100 else 1)" || e2e_fail "the window took $max ms to answer"
[ "$(grep -c '^/team.ics ' "$server_log")" -eq 2 ] || e2e_fail "the stall did not last through the pings"
begun=$(date +%s%N)
orv_end_session second
took=$((($(date +%s%N) - begun) / 1000000))
e2e_log "quit during a stalled fetch took $took ms"
[ "$took" -lt 4000 ] || e2e_fail "quitting waited for the stalled fetch ($took ms)"

# 3. Without the server: the events come from the kept copies; the state says why.
stop_server
rm -f "$(orv_wallpaper)"
orv_start_running third
e2e_wait_for "the events from the kept copy" 30 has_events
e2e_wait_for "the served calendar's failure" 30 team_failed
e2e_log "without the server: $(state_of 1)"
# The list on the tab "项目", to be looked at.
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
e2e_send "$(orv_children | grep 'class="SysTabControl32"' | head -1 | cut -d' ' -f1)" 0x1330 0 >/dev/null
sleep 1
e2e_screenshot tab-entries >/dev/null
# "添加..." adds a subscription through its dialog; it is stored at once.
ov_tool click TOVMainForm 添加... >/dev/null || e2e_fail "no button 添加..."
e2e_wait_window TFSubscription visible 10 >/dev/null
ov_tool settext TFSubscription '#300' "webcal://127.0.0.1:$port/added.ics" >/dev/null
ov_tool settext TFSubscription '#302' "Added" >/dev/null
sleep 0.5
e2e_screenshot add-dialog >/dev/null
ov_tool click TFSubscription 确定 >/dev/null
e2e_wait_window TFSubscription gone 10 >/dev/null
stored() { [ "$(e2e_reg_get "$key" Count)" = 7 ] && [ "$(e2e_reg_get "$key" Name6)" = Added ]; }
e2e_wait_for "the added subscription in the settings" 10 stored
e2e_assert_eq "webcal://127.0.0.1:$port/added.ics" "$(e2e_reg_get "$key" Source6)" "added source"
rows | e2e_has '^Added|.*|1$' || e2e_fail "the added subscription is not listed as on: $(rows)"
e2e_screenshot tab-entries-added >/dev/null
orv_no_boxes || e2e_fail "a failed refresh opened a box: $(orv_box_texts)"
for log in orvinta second third; do
  ! grep -qs "127.0.0.1:$port/team" "$E2E_ART/$log.log" || e2e_fail "an address was logged in full"
done
e2e_pass
