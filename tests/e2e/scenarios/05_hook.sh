#!/usr/bin/env bash
# The hook library reports left presses and releases on the empty desktop, at the
# clicked point, to the window given to Initialize; nothing for clicks on other windows
# or the task bar; nothing after DeInitialize.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
e2e_init

log=$E2E_ART/hookprobe.txt
[ -f "$E2E_BIN/MHookOV.dll" ] || e2e_fail "no $E2E_BIN/MHookOV.dll: build the win tree first"

# The probe's window covers 700,100-1100,400; the task bar is the bottom row of the desktop.
e2e_start hookprobe "$E2E_TOOLS/hookprobe.exe" "$(e2e_win_path "$log")" "$(e2e_win_path "$E2E_BIN/MHookOV.dll")" 700 100 400 300
e2e_wait_window OvHookProbe visible 15 >/dev/null
e2e_wait_for "Initialize's result in the probe's log" 10 grep -q '^init ' "$log"
e2e_assert_eq "init 0" "$(grep '^init ' "$log")" "Initialize result"

hook_lines() { grep -c '^hook ' "$log" || true; }
# True once the probe's log has at least N lines starting with WORD.
log_has() { [ "$(grep -c "^$2 " "$log" || true)" -ge "$1" ]; }
# Hook messages are posted at once; a quiet spell of this long means none is coming.
settle() { sleep 1; }

# 1. The empty desktop: a press and a release, both at the clicked point.
e2e_click 300 500
e2e_wait_for "two hook messages after a desktop click" 5 log_has 2 hook
settle
e2e_screenshot desktop-click >/dev/null
e2e_assert_eq "hook 0x201 300 500 0
hook 0x202 300 500 0" "$(grep '^hook ' "$log")" "messages for a click at 300,500"

# A second point, to be sure the position is the click's and not a stale one.
e2e_click 1000 800
e2e_wait_for "two more hook messages" 5 log_has 4 hook
settle
e2e_assert_eq "hook 0x201 1000 800 0
hook 0x202 1000 800 0" "$(grep '^hook ' "$log" | tail -n 2)" "messages for a click at 1000,800"

# 2. Another window (the probe's own) and the task bar: nothing.
taskbar=$(e2e_find_window Shell_TrayWnd) || e2e_fail "no task bar in the virtual desktop"
e2e_log "task bar: $taskbar"
rect=$(sed -E 's/.* rect=([-0-9,]+) .*/\1/' <<<"$taskbar")
IFS=, read -r tl tt tr tb <<<"$rect"
e2e_click 900 250
e2e_click $(((tl + tr) / 2)) $(((tt + tb) / 2))
settle
e2e_screenshot other-windows >/dev/null
e2e_assert_eq 4 "$(hook_lines)" "hook messages after clicks on the probe's window and the task bar"

# 3. After DeInitialize: nothing, wherever the click lands.
e2e_post OvHookProbe WM_APP+1
e2e_wait_for "DeInitialize in the probe's log" 5 grep -q '^deinit' "$log"
e2e_click 300 500
e2e_click 640 600
settle
e2e_assert_eq 4 "$(hook_lines)" "hook messages after DeInitialize"

# 4. Initialize again works, and the probe ends cleanly.
e2e_post OvHookProbe WM_APP+2
e2e_wait_for "the second Initialize" 5 log_has 2 init
e2e_assert_eq "init 0" "$(grep '^init ' "$log" | tail -n 1)" "second Initialize result"
e2e_click 200 300
e2e_wait_for "hook messages after the second Initialize" 5 log_has 6 hook
e2e_post OvHookProbe WM_CLOSE
e2e_wait_exit hookprobe 10 || e2e_fail "the probe did not end after WM_CLOSE"
e2e_assert_eq 0 "$E2E_EXIT_CODE" "probe exit code"
e2e_assert_eq "exit" "$(tail -n 1 "$log")" "last line of the probe's log"
e2e_pass
