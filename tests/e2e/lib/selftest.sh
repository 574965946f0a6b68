#!/usr/bin/env bash
# Runs the harness the way a scenario does, for scenarios/00_harness.sh, which checks
# from outside what it leaves behind. MODE:
#   pass  exercises the harness's helpers and passes
#   fail  fails on purpose with a window open
#   hang  blocks until the watchdog ends it (run with a short E2E_TIMEOUT)
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
mode=${1:?mode}
e2e_init "00_harness-$mode"

# Programs start from Windows paths with spaces too: install a tool as the program.
mkdir -p "$E2E_PROGRAM_DIR"
cp "$E2E_TOOLS/ovtool.exe" "$E2E_PROGRAM_DIR/"
window_tool="$E2E_PROGRAM_DIR_WIN\\ovtool.exe"

case $mode in
  fail)
    e2e_start window "$window_tool" window "E2E Fail Window" 100 100 300 200 C04040
    e2e_wait_window OvToolWindow visible 10 >/dev/null
    e2e_screenshot before-failing >/dev/null
    e2e_fail "deliberate failure"
    ;;
  hang)
    e2e_start window "$window_tool" window "E2E Hang Window" 100 100 300 200 4040C0
    e2e_wait_window OvToolWindow visible 10 >/dev/null
    e2e_log "waiting for the watchdog"
    sleep 1000
    e2e_fail "the watchdog did not end the scenario"
    ;;
  pass) ;;
  *) e2e_fail "unknown mode $mode" ;;
esac

# The desktop: the configured size, the desktop window, a task bar.
e2e_desktop_up || e2e_fail "no virtual desktop window on the X display"
e2e_assert_match '^desktop 0x[0-9a-f]+ class="#32769" rect=0,0,1280,1024$' "$(ov_tool desktop | sed -n 2p)" "desktop window"
e2e_find_window Shell_TrayWnd >/dev/null || e2e_fail "no task bar"

# A program lands in the virtual desktop: its window shows on the X screen.
e2e_start window "$window_tool" window "E2E Smoke" 200 150 500 300 30A050
line=$(e2e_wait_window OvToolWindow visible 10)
e2e_assert_match ' visible=1 rect=200,150,700,450 class="OvToolWindow" title="E2E Smoke"$' "$line" "smoke window"
sleep 1
shot=$(e2e_screenshot smoke-window)
e2e_assert_eq 30a050 "$(e2e_pixel "$shot" 450 320 | tr A-F a-f)" "pixel inside the smoke window"
desktop_colour=$(e2e_pixel "$shot" 100 600)
[ "$(tr A-F a-f <<<"$desktop_colour")" != 30a050 ] || e2e_fail "the desktop has the window's colour"

# Messages: the window closes on WM_CLOSE, and its program ends.
e2e_post OvToolWindow WM_CLOSE
e2e_wait_exit window 10 || e2e_fail "the smoke window's program did not end"
e2e_assert_eq 0 "$E2E_EXIT_CODE" "smoke window exit code"
e2e_wait_window OvToolWindow gone 5

# Message boxes: read their texts, press their buttons.
e2e_start box "$window_tool" msgbox "Orvinta 3" $'桌面鼠标挂钓\r\n第二行'
e2e_wait_window '#32770' visible 10 >/dev/null
boxes=$(ov_tool msgboxes)
e2e_log "message boxes: $boxes"
e2e_assert_match 'title="Orvinta 3"' "$boxes" "message box title"
e2e_assert_match 'text "桌面鼠标挂钓\\r\\n第二行"' "$boxes" "message box text"
e2e_screenshot message-box >/dev/null
# Pressed by its text, whatever the locale calls it.
ok_text=$(sed -n -E 's/^  button 1 "(.*)"$/\1/p' <<<"$boxes")
[ -n "$ok_text" ] || e2e_fail "the box has no button 1"
e2e_assert_match "^pressed 1 " "$(ov_tool press "$ok_text")" "pressing $ok_text"
e2e_wait_exit box 10 || e2e_fail "the message box did not close"
e2e_assert_eq 1 "$(tr -d '\r' <"$E2E_ART/box.log")" "button the box reports"

# Registry: reading values, exporting keys, and the reset between scenarios.
e2e_assert_eq shell "$(e2e_reg_get 'HKCU\Software\Wine\Explorer' Desktop)" "default desktop"
e2e_reg_get 'HKCU\Software\Wine\Explorer' NoSuchValue >/dev/null && e2e_fail "a missing value was found"
e2e_reg_export 'HKCU\Software\Wine\Explorer\Desktops' "$E2E_ART/desktops.reg" || e2e_fail "reg export failed"
grep -qx '"shell"="1280x1024"' "$E2E_ART/desktops.reg.txt" || e2e_fail "export lacks the desktop size"
e2e_assert_match 'REG_SZ +1280x1024' "$(e2e_reg_query 'HKCU\Software\Wine\Explorer\Desktops' /v shell)" "reg query"

e2e_wine reg add 'HKCU\Software\Quenlar\Orvinta3\App' /v Ec /t REG_DWORD /d 7 /f >/dev/null
e2e_wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /t REG_SZ /d 1 /f >/dev/null
e2e_wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /t REG_SZ /d 'C:\x.bmp' /f >/dev/null
e2e_assert_eq 7 "$(e2e_reg_get 'HKCU\Software\Quenlar\Orvinta3\App' Ec)" "value written for the reset test"
data=$(e2e_data_folder)
mkdir -p "$data/Entries"
echo x >"$data/Wallpaper.bmp"
e2e_reset
e2e_reg_get 'HKCU\Software\Quenlar\Orvinta3\App' Ec >/dev/null && e2e_fail "the reset kept the program's registry key"
e2e_reg_get 'HKCU\Control Panel\Desktop' TileWallpaper >/dev/null && e2e_fail "the reset kept TileWallpaper"
e2e_assert_eq "" "$(e2e_reg_get 'HKCU\Control Panel\Desktop' Wallpaper)" "wallpaper after the reset"
e2e_assert_no_file "$data"
e2e_assert_no_file "$E2E_PROGRAM_DIR"
e2e_assert_file "$(e2e_appdata)"

# Paths: the tool's folders agree with the harness's.
appdata_win=$(ov_tool folder appdata)
e2e_assert_eq "$(e2e_appdata)" "$(e2e_unix_path "$appdata_win")" "AppData as Unix path"

# The keep-alive holds the desktop: with no other program it stays; without the
# keep-alive (and the tool server, another Wine program) it goes.
e2e__stop_tool_server
sleep 3
e2e_desktop_up || e2e_fail "the desktop closed although the keep-alive runs"
e2e__kill_pid "$E2E_KEEPALIVE_PID"
E2E_KEEPALIVE_PID=
deadline=$((SECONDS + 10))
while e2e_desktop_up; do
  [ $SECONDS -lt $deadline ] || e2e_fail "the desktop stayed without the keep-alive: something else holds it"
  sleep 0.2
done
e2e_pass
