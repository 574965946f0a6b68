#!/usr/bin/env bash
# A running program rebuilds the wallpaper at the next housekeeping tick after the clock
# was set (WM_TIMECHANGE), and not without it.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_sample_library >/dev/null

e2e_start_orvinta
e2e_wait_for "the first wallpaper" 30 test -f "$(orv_wallpaper)"
first=$(orv_wallpaper_mtime)
# Two ticks (3 s each) without a reason to rebuild.
sleep 7
e2e_assert_eq "$first" "$(orv_wallpaper_mtime)" "wallpaper rebuilt without a change"
changed() { [ "$(orv_wallpaper_mtime)" != "$first" ]; }
e2e_post TOVMainForm 0x1E   # WM_TIMECHANGE
e2e_wait_for "a rebuild after WM_TIMECHANGE" 10 changed
e2e_screenshot after-time-change >/dev/null
orv_end_session
e2e_pass
