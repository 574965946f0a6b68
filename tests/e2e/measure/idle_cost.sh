#!/usr/bin/env bash
# What the program costs while it waits with its main window hidden: the CPU time it uses
# and its memory over MINUTES (default 5), sampled each minute. Two views: Windows's
# ("ovtool procstats": GetProcessTimes, GetProcessMemoryInfo; Wine fills in only some of
# these for another process) and Linux's view of the same Wine process (/proc: CPU time,
# anonymous resident memory as the private bytes, resident set). Prints figures; it fails
# only when the program stops or its private memory grows by more than 8 MB while idle.
# Usage: bash tests/e2e/measure/idle_cost.sh [MINUTES [SECTIONS [REMINDERS]]]   (needs scripts/build.sh win)
# SECTIONS (default 20) section folders with a note each are watched for changes meanwhile.
# REMINDERS (default 0) note lines with times are put into tomorrow's note first, so that
# many reminders wait while the program idles.
minutes=${1:-5}
sections=${2:-20}
reminders=${3:-0}
export E2E_TIMEOUT=$((minutes * 60 + 180))
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init idle_cost
orv_not_first_run
orv_plain_calendar >/dev/null
for i in $(seq 1 "$sections"); do
  mkdir -p "$(e2e_data_folder)/Entries/Section$i/Notes/2026"
  printf '[EOHDR]\r\nnote %d\r\n' "$i" >"$(e2e_data_folder)/Entries/Section$i/Notes/2026/Notes_2026-01-01.txt"
done
if [ "$reminders" -gt 0 ]; then
  note=$(orv_note_file $(date -d tomorrow +'%Y %m %d'))
  mkdir -p "$(dirname "$note")"
  { printf '[EOHDR]\r\n'
    for i in $(seq 1 "$reminders"); do printf '%d:%02d reminder %d\r\n' $((i * 1440 / (reminders + 1) / 60)) $((i * 1440 / (reminders + 1) % 60)) "$i"; done
  } >"$note"
fi

orv_start_running
if e2e_window_visible TOVMainForm; then e2e_post TOVMainForm WM_CLOSE >/dev/null; fi
e2e_wait_window TOVMainForm hidden 10 >/dev/null || e2e_fail "the main window did not hide"
sleep 10  # start-up work (the first wallpaper, the tray icon) is over

pid=$(e2e_pid orvinta)
grep -qa 'Orvinta' "/proc/$pid/cmdline" || e2e_fail "process $pid is not the program"
tick=$(getconf CLK_TCK)
# One sample: "win_cpu_ms win_private_kb win_working_set_kb linux_cpu_ms linux_private_kb linux_rss_kb".
sample() {
  local win linux
  win=$(ov_tool procstats TOVMainForm | tr -d '\r' |
    awk '{v[$1]=$2} END {print v["user_ms"] + v["kernel_ms"], int(v["private_bytes"] / 1024), int(v["working_set"] / 1024)}')
  # Fields 14 and 15 of stat (after the parenthesised name) are user and system ticks.
  linux=$(awk -v t="$tick" '{sub(/^.*\) /, ""); print int(($12 + $13) * 1000 / t)}' "/proc/$pid/stat")
  linux+=" $(awk '/^RssAnon:/ {a=$2} /^VmRSS:/ {r=$2} END {print a, r}' "/proc/$pid/status")"
  echo "$win $linux"
}
read -r wc0 wp0 ww0 lc0 lp0 lr0 <<<"$(sample)"
[ -n "$lr0" ] || e2e_fail "no process statistics for the program"
report=$E2E_ART/idle-cost.txt
echo "minute win_cpu_ms win_private_kb win_working_set_kb linux_cpu_ms linux_private_kb linux_rss_kb" | tee "$report"
echo "0 0 $wp0 $ww0 0 $lp0 $lr0" | tee -a "$report"
start=$SECONDS
for m in $(seq 1 "$minutes"); do
  sleep $((start + m * 60 - SECONDS))
  e2e_running orvinta || e2e_fail "the program ended while idle"
  read -r wc wp ww lc lp lr <<<"$(sample)"
  echo "$m $((wc - wc0)) $wp $ww $((lc - lc0)) $lp $lr" | tee -a "$report"
done
cpu=$((lc - lc0))
# Wine's process times of another process have been seen going backwards between two
# samples; such a figure says nothing, so it is named as such instead of printed.
win_cpu="$((wc - wc0)) ms"
[ $((wc - wc0)) -ge 0 ] || win_cpu="not usable under Wine"
echo "idle $minutes min hidden, $sections sections watched, $reminders reminders waiting: CPU $cpu ms ($(awk -v c="$cpu" -v m="$minutes" 'BEGIN{printf "%.3f", c / (m * 600)}')% of one core)," \
  "private memory $lp0 KB -> $lp KB, resident $lr0 KB -> $lr KB (Windows view: CPU $win_cpu," \
  "private bytes $wp0 KB -> $wp KB, working set $ww0 KB -> $ww KB)" | tee -a "$report"
[ $((lp - lp0)) -le 8192 ] || e2e_fail "private memory grew by $((lp - lp0)) KB while idle"
orv_end_session
e2e_pass
