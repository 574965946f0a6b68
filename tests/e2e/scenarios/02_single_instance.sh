#!/usr/bin/env bash
# A second start while the first runs hidden only wakes the first one (0x417 shows its
# main window) and ends; one process is left.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_sample_library >/dev/null

e2e_start_orvinta
e2e_wait_window TOVMainForm exists 30 >/dev/null
e2e_wait_for "the first wallpaper" 30 test -f "$(orv_wallpaper)"
! e2e_window_visible TOVMainForm || e2e_fail "the main window should start hidden"

E2E_ORVINTA_NAME=second e2e_start_orvinta
e2e_wait_exit second 20 || e2e_fail "the second copy did not end"
e2e_assert_eq 0 "$E2E_EXIT_CODE" "exit code of the second copy"
e2e_running orvinta || e2e_fail "the first copy ended"
e2e_wait_window TOVMainForm visible 10 >/dev/null
# Only this prefix's processes: other build trees may run the program at the same time.
count=0
for pid in $(e2e__processes_with_env "WINEPREFIX=$E2E_PREFIX"); do
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | e2e_has 'Orvinta\.exe' && count=$((count + 1))
done
e2e_assert_eq 1 "$count" "Orvinta processes"
e2e_screenshot woken >/dev/null
orv_end_session
e2e_pass
