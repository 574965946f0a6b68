#!/usr/bin/env bash
# The tray icon's menu: "显示日历" takes the calendar off the wallpaper and brings it back,
# "日历跳转" > "下个月" rebuilds with the next month, and "退出" ends the program, leaving
# the autostart shortcut with the arguments of the settings.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)
e2e_reg_set "$ORV_KEY\\App" AutoStartDelay REG_DWORD 7

orv_start_running
e2e_find_window TOrvintaTray >/dev/null || e2e_fail "no tray icon window"

# A right click on the icon, as the shell reports it to the icon's window.
tray_menu() {
  e2e_post TOrvintaTray WM_APP+10 1 0x205  # WM_RBUTTONUP
  e2e_wait_for "the tray menu" 5 e2e_window_visible '#32768'
  sleep 0.3
}
# Runs KEYS in the tray menu and waits for the wallpaper to be rebuilt.
tray_choose() {
  local before
  before=$(orv_wallpaper_mtime)
  tray_menu
  xdotool key "$@"
  rebuilt() { [ "$(orv_wallpaper_mtime)" != "$before" ]; }
  e2e_wait_for "the rebuilt wallpaper" 15 rebuilt
  sleep 0.5
}
read -r pl pt pr pb <<<"$(orv_default_panel)"
panel_pixel() { convert "$(orv_wallpaper)" -format "%[hex:p{$((pl + 40)),$((pt + 60))}]" info: | cut -c1-6; }

[ "$(panel_pixel)" != "${color^^}" ] || e2e_fail "no calendar on the wallpaper at start"
tray_menu
e2e_screenshot tray-menu >/dev/null
xdotool key Escape
sleep 0.5

# "显示日历" is the fourth item (the separator is skipped).
tray_choose Down Down Down Down Return
e2e_assert_eq "${color^^}" "$(panel_pixel)" "the panel's place with the calendar hidden"
tray_choose Down Down Down Down Return
[ "$(panel_pixel)" != "${color^^}" ] || e2e_fail "the calendar did not come back"

# "日历跳转" > "下个月": the title strip changes with the month.
convert "$(orv_wallpaper)" -crop "$((pr - pl))x20+$pl+$pt" +repage "$E2E_ART/title-before.png"
tray_choose Down Down Down Down Down Down Down Right Up Up Return
convert "$(orv_wallpaper)" -crop "$((pr - pl))x20+$pl+$pt" +repage "$E2E_ART/title-after.png"
changed=$(compare -metric AE "$E2E_ART/title-before.png" "$E2E_ART/title-after.png" null: 2>&1 || true)
[ "${changed%%.*}" -gt 20 ] || e2e_fail "the title did not change with the next month ($changed pixels)"
e2e_screenshot next-month >/dev/null

# "退出" is the last item.
tray_menu
xdotool key Up Return
e2e_wait_exit orvinta 30 || e2e_fail "the program did not end after 退出"
startup=$(e2e_unix_path "$(ov_tool folder startup | tr -d '\r')")
e2e_assert_file "$startup/Orvinta.lnk"
link=$(ov_tool link "$(e2e_win_path "$startup/Orvinta.lnk")" | tr -d '\r')
e2e_log "$link"
grep -qx 'arguments " /delay 7"' <<<"$link" || e2e_fail "shortcut arguments: $link"
grep -q '^target .*Orvinta.exe$' <<<"$link" || e2e_fail "shortcut target: $link"
e2e_pass
