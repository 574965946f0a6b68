#!/usr/bin/env bash
# After start the mini controller sits over the right end of the calendar's title strip;
# a click on its ">" while an entry pop-up has unsaved typing saves the typing and
# rebuilds the wallpaper with the next month, and the controller comes back on its place;
# its menu's "星期行数" sets the number of week rows and "关闭迷你控制器" hides it, and the
# main window's controls show both; the menu and its submenu stay inside the work area
# although the controller sits at the right corner.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
color=$(orv_plain_calendar)

orv_start_running
e2e_wait_window TFController visible 10 >/dev/null
controller_rect() {
  e2e_find_window TFController | sed -E 's/.* rect=([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+) .*/\1 \2 \3 \4/'
}
read -r cl ct cr cb <<<"$(controller_rect)"
read -r pl pt pr pb <<<"$(orv_default_panel)"
e2e_screenshot controller >/dev/null
e2e_log "controller $cl,$ct-$cr,$cb on the panel $pl,$pt-$pr,$pb"
e2e_assert_eq 80 $((cr - cl)) "controller width"
e2e_assert_eq "$pt" "$ct" "controller top (the panel's top)"
# The title strip ends at the grid's right edge less the cell gap.
[ "$cr" -le "$pr" ] && [ "$cr" -ge $((pr - 12)) ] || e2e_fail "the controller ($cl..$cr) is not at the right end of the panel ($pl..$pr)"
[ $((cb - ct)) -ge 12 ] || e2e_fail "the controller is only $((cb - ct)) pixels high"

# Typing in a day's pop-up, then ">": the typing is saved and the next month shown. The
# title left of the controller changes; the controller returns.
cp "$(orv_wallpaper)" "$E2E_ART/before.bmp"
orv_cells "$E2E_ART/before.bmp" "$color" >"$E2E_ART/cells.txt"
read -r day l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
xdotool type --delay 60 "Browse"
wall_before=$(orv_wallpaper_mtime)
e2e_click $((cr - 8)) $(((ct + cb) / 2))
note=$(orv_note_file "$(date +%Y)" "$(date +%m)" "$day")
e2e_wait_for "the note file of day $day" 10 test -f "$note"
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_assert_eq "[EOHDR]|Browse|" "$(tr '\r\n' '||' <"$note" | tr -s '|')" "note file"
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the wallpaper of the next month" 15 rebuilt
e2e_wait_window TFController visible 10 >/dev/null
sleep 0.5
cp "$(orv_wallpaper)" "$E2E_ART/after.bmp"
e2e_screenshot next-month >/dev/null
e2e_assert_eq "$cl $ct $cr $cb" "$(controller_rect)" "controller rectangle after the rebuild"
crop="$((cl - pl))x$((cb - ct))+$pl+$ct"
convert "$E2E_ART/before.bmp" -crop "$crop" +repage "$E2E_ART/title-before.png"
convert "$E2E_ART/after.bmp" -crop "$crop" +repage "$E2E_ART/title-after.png"
changed=$(compare -metric AE "$E2E_ART/title-before.png" "$E2E_ART/title-after.png" null: 2>&1 || true)
e2e_log "changed pixels in the title: $changed"
[ "${changed%%.*}" -gt 20 ] || e2e_fail "the title did not change ($changed pixels)"

# "菜单" > "星期行数" > "5": the calendar is rebuilt with five rows, and the value is saved.
wall_before=$(orv_wallpaper_mtime)
e2e_click $(((cl + cr) / 2)) $(((ct + cb) / 2))
e2e_wait_for "the controller's menu" 5 e2e_window_visible '#32768'
# Today, month, pick a date, sections, week rows.
xdotool key Down Down Down Down Down Right
sleep 1
e2e_screenshot menu-week-rows >/dev/null
# Every open menu window lies inside the work area (the desktop above the task bar).
menus=$(ov_tool list '#32768' | tr -d '\r' | grep 'visible=1')
e2e_log "menus: $menus"
[ "$(grep -c . <<<"$menus")" -ge 2 ] || e2e_fail "the menu and its submenu are not both open: $menus"
while read -r ml mt mr mb; do
  [ "$ml" -ge 0 ] && [ "$mt" -ge 0 ] && [ "$mr" -le 1280 ] && [ "$mb" -le 1004 ] ||
    e2e_fail "a menu at $ml,$mt-$mr,$mb runs out of the work area 0,0-1280,1004"
done < <(orv_rect <<<"$menus")
# The main menu (the upper one) shows its last caption, "关闭迷你控制器", whole: the text
# ends well left of the menu's right side (where submenu arrows go) instead of running
# into its margin.
read -r ml mt mr mb < <(orv_rect <<<"$menus" | sort -n -k2 | head -n 1)
band=$(convert "$E2E_LAST_SHOT" -crop "$((mr - ml - 5))x16+$((ml + 2))+$((mb - 20))" +repage -colorspace Gray \
  -threshold 45% -negate -format '%@' info: 8>&-)
text_right=$(sed -E 's/^([0-9]+)x[0-9]+\+([0-9]+)\+.*/\1 \2/' <<<"$band" | awk '{ print $1 + $2 }')
e2e_log "last caption of the menu: ink $band in a band $((mr - ml - 5)) wide"
[ "$text_right" -le $((mr - ml - 17)) ] || e2e_fail "the menu's last caption is cut at its right edge (ink up to $text_right of $((mr - ml - 5)))"
xdotool key Down Down Down Down Return
e2e_wait_for "the wallpaper with five rows" 15 rebuilt
e2e_wait_window TFController visible 10 >/dev/null
sleep 0.5
e2e_screenshot five-rows >/dev/null

# "菜单" > "关闭迷你控制器" (the last item) hides the controller.
e2e_click $(((cl + cr) / 2)) $(((ct + cb) / 2))
e2e_wait_for "the controller's menu" 5 e2e_window_visible '#32768'
xdotool key Up Return
e2e_wait_window TFController hidden 10 >/dev/null
# The main window's controls show what the controller changed: five week rows, and the
# controller switched off.
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 1
controls=$(orv_children)
main_tab=$(grep 'class="SysTabControl32"' <<<"$controls" | head -1 | cut -d' ' -f1)
e2e_send "$main_tab" 0x1330 1 >/dev/null
sleep 0.7
controls=$(orv_children)
weeks=$(grep 'visible=1' <<<"$controls" | grep 'class="Edit"' | head -1 | sed -E 's/.* text="(.*)"$/\1/')
e2e_assert_eq 5 "$weeks" "SpinWeekRows after the controller's choice"
grep -F 'text="在桌面上显示迷你控制器"' <<<"$controls" | e2e_has 'checked=0' ||
  e2e_fail "CheckMiniController still ticked after the controller was closed"
orv_end_session
e2e_assert_eq 5 "$(e2e_reg_get "$ORV_KEY\\App" VisibleWeeks)" "VisibleWeeks"
e2e_assert_eq 0 "$(e2e_reg_get "$ORV_KEY\\App" ShowController)" "ShowController"
e2e_pass
