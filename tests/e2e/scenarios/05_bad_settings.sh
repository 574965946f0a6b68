#!/usr/bin/env bash
# Settings that are all wrong (wrong types, out of range, a window rectangle off every
# screen, fonts that are no fonts) and a data folder that is a file: the program starts
# with sane values, says nothing, draws its wallpaper and closes cleanly.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_sample_library >/dev/null
app="$ORV_KEY\\App"
e2e_reg_set "$app" FirstRun REG_DWORD 0
e2e_reg_set "$app" VisibleWeeks REG_DWORD 10000
e2e_reg_set "$app" PastVisibleWeeks REG_SZ "-5"
e2e_reg_set "$app" StartOfWeek REG_DWORD 9
e2e_reg_set "$app" CalendarAlpha REG_SZ "lots"
e2e_reg_set "$app" CellGap REG_DWORD 4294967295
e2e_reg_set "$app" OutputPixelmode REG_DWORD 9
e2e_reg_set "$app" WeekNumbers REG_SZ "maybe"
e2e_reg_set "$app" NextRotationTime REG_BINARY 0102
e2e_reg_set "$app" CaptionFont REG_BINARY "$(printf '41%.0s' $(seq 1 60))"
e2e_reg_set "$app" EntryFont REG_SZ "Tahoma"
e2e_reg_set "$app" SubEntryName REG_SZ '..\..\Windows'
e2e_reg_set "$ORV_KEY\\Panels" CalendarR1 REG_DWORD 900
e2e_reg_set "$ORV_KEY\\Panels" CalendarR3 REG_DWORD 100
e2e_reg_set "$ORV_KEY\\MainForm" Left REG_DWORD 4294937296
e2e_reg_set "$ORV_KEY\\MainForm" Top REG_DWORD 90000
e2e_reg_set "$ORV_KEY\\MainForm" State REG_SZ "wsSideways"
e2e_reg_set "$ORV_KEY\\Entry" EntryR3 REG_SZ "wide"

e2e_start_orvinta
e2e_wait_window TOVMainForm exists 30 >/dev/null
e2e_wait_for "the wallpaper" 30 test -f "$(orv_wallpaper)"
sleep 1
orv_no_boxes || e2e_fail "the program said something: $(orv_box_texts)"
e2e_screenshot started >/dev/null
# The main window comes back onto the screen when shown.
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
line=$(e2e_find_window TOVMainForm)
rect=$(sed -E 's/.* rect=([-0-9,]+) .*/\1/' <<<"$line")
IFS=, read -r l t r b <<<"$rect"
[ "$l" -ge 0 ] && [ "$t" -ge 0 ] && [ "$r" -le 1280 ] && [ "$b" -le 1024 ] || e2e_fail "main window off the screen: $rect"
e2e_screenshot main-window >/dev/null
orv_end_session
e2e_assert_eq 50 "$(e2e_reg_get "$app" VisibleWeeks)" "VisibleWeeks held to the largest"
e2e_assert_eq 6 "$(e2e_reg_get "$app" StartOfWeek)" "StartOfWeek held to Sunday"
# The default 82 goes through the window's percent field (68 %) and is stored back as 81.
e2e_assert_eq 81 "$(e2e_reg_get "$app" CalendarAlpha)" "CalendarAlpha back to its default"
e2e_assert_eq 4 "$(e2e_reg_get "$app" OutputPixelmode)" "OutputPixelmode"
e2e_assert_eq "默认" "$(e2e_reg_get "$app" SubEntryName)" "a section name that leaves the entries folder"
e2e_assert_eq wsNormal "$(e2e_reg_get "$ORV_KEY\\MainForm" State)" "window state"
e2e_assert_no_file "$(e2e_user_dir)/../../windows/Notes"
e2e_pass
