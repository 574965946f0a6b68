#!/usr/bin/env bash
# The configuration window at 120 and 144 dpi (the LogPixels of the prefix): every tab and
# calendar sub-tab is photographed; a window that never stored its size opens at its
# design size scaled, the picture grid has room for thumbnails and names, and every
# control of the calendar's view page stays inside the page; the cell image's path keeps
# its file name in view. On the desktop at 144 dpi the mini controller is 120 pixels wide
# (80 at 96 dpi) and a day's pop-up has a caption bar of 24 pixels above its cell.
# e2e-timeout: 300
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
orv_sample_library >/dev/null

# The handle of the Nth (1-based) control of CLASS.
nth_control() { orv_children | grep "class=\"$1\"" | sed -n "${2}p" | cut -d' ' -f1; }

for dpi in 120 144; do
  e2e_reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD "$dpi"
  # A user new at this scaling: no window placement stored yet.
  e2e_wine reg delete "$ORV_KEY\\MainForm" /f >/dev/null 2>&1 </dev/null || true
  orv_start_running "orvinta$dpi"
  e2e_post TOVMainForm WM_USER+23
  e2e_wait_window TOVMainForm visible 10 >/dev/null
  sleep 2
  main_tab=$(nth_control SysTabControl32 1)
  calendar_tab=$(nth_control SysTabControl32 2)
  [ -n "$main_tab" ] && [ -n "$calendar_tab" ] || e2e_fail "no page controls at $dpi dpi"

  # The image tab (shown first): the window has its design size scaled, so the picture
  # grid keeps room for a thumbnail and a name (66 + 110 pixels at 96 dpi).
  e2e_screenshot "$dpi-tab-image" >/dev/null
  children=$(orv_children)
  read -r gl gt gr gb <<<"$(grep 'class="OVImageGrid"' <<<"$children" | head -n 1 | orv_rect)"
  need=$(((66 + 110) * dpi / 96))
  e2e_log "$dpi dpi: window $(e2e_find_window TOVMainForm | orv_rect), picture grid $gl,$gt-$gr,$gb"
  [ $((gr - gl)) -ge "$need" ] || e2e_fail "the picture grid is $((gr - gl)) pixels wide at $dpi dpi, it needs $need"

  orv_photograph_tabs "$main_tab" "$calendar_tab" "$dpi-"
  # The cell image's path is too long for its field: folders give way, the name stays.
  skin=$(orv_children | grep 'class="Edit"' | grep -F 'gold.png"' | head -n 1)
  e2e_assert_match 'text="C:.*….*gold[.]png"' "$skin" "the cell image's path at $dpi dpi"
  # The calendar's view page: "默认假日" and every other visible control end inside the
  # inner page control.
  children=$(orv_children)
  read -r _ ct cr _ <<<"$(grep "^$calendar_tab " <<<"$children" | head -n 1 | orv_rect)"
  while read -r l t r b; do
    [ "$t" -gt "$ct" ] || continue  # the preview and its button above the pages
    [ "$r" -le "$cr" ] || e2e_fail "a control of the view page ends at x=$r, right of its page ($cr) at $dpi dpi"
  done < <(grep "visible=1" <<<"$children" | grep -v -e 'class="SysTabControl32"' -e 'class="OVImageGrid"' | orv_rect)
  orv_end_session "orvinta$dpi"
done

# The desktop at 144 dpi: the controller and a pop-up's caption bar at 150 %.
color=$(orv_plain_calendar)
orv_start_running orvinta-desktop
e2e_wait_window TFController visible 10 >/dev/null
read -r cl ct cr cb <<<"$(e2e_find_window TFController | orv_rect)"
e2e_assert_eq 120 $((cr - cl)) "controller width at 144 dpi"
orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"
read -r _ l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
sleep 1
e2e_screenshot 144-desktop >/dev/null
read -r _ wt _ _ <<<"$(orv_popup_rect)"
e2e_assert_eq $((t - 25)) "$wt" "pop-up top at 144 dpi (cell top $t less the caption bar and frame)"
orv_end_session orvinta-desktop
e2e_reg_set 'HKCU\Control Panel\Desktop' LogPixels REG_DWORD 96
e2e_pass
