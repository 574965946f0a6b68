#!/usr/bin/env bash
# The mouse on the configuration window's preview: a drag moves the picture (OffsetX and
# OffsetY in its properties file once the window hides), a wheel turn zooms it
# (Magnify), the preview's menu sets the bottom image, and on "面板" a drag of the frame
# moves the calendar panel (CalendarR1..R4) by the distance mapped to wallpaper pixels
# (dropped partly off the monitor, it moves back onto it),
# where the next wallpaper draws it.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
color=$(orv_plain_calendar)
read -r wall_w wall_h < <(ov_tool desktop | tr -d '\r' | head -1)
read -r pl pt pr pb < <(orv_default_panel)

orv_start_running
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 1.5

# The preview inside its panel: the picture's aspect, full width or full height, centred
# ("X Y W H" on the screen).
panel=$(orv_children | grep 'class="OVPreviewPanel"' | head -1)
read -r l t r b < <(orv_rect <<<"$panel")
[ -n "$l" ] || e2e_fail "no preview panel: $panel"
read -r px py pw ph < <(python3 -c "
cw, ch, w, h = $r - $l, $b - $t, $wall_w, $wall_h
a = cw; bb = int(h / w * a); top = (ch - bb) // 2; left = 0
if bb > ch: bb = ch; a = int(bb / (h / w)); top = 0; left = (cw - a) // 2
print($l + left, $t + top, max(a, 4), max(bb, 4))")
e2e_screenshot image-tab >/dev/null

# Drag the picture 60 pixels right and 30 down in one move.
cx=$((px + pw / 2)) cy=$((py + ph / 2))
xdotool mousemove "$cx" "$cy" mousedown 1
sleep 0.3
xdotool mousemove "$((cx + 60))" "$((cy + 30))"
sleep 0.5
e2e_screenshot dragged >/dev/null
xdotool mouseup 1
sleep 0.3
# One wheel turn down over the preview zooms in.
xdotool click 5
sleep 0.8
e2e_screenshot zoomed >/dev/null
# The preview's menu: its third item makes the shown picture the bottom image.
xdotool click 3
sleep 0.8
e2e_screenshot preview-menu >/dev/null
xdotool key Down Down Down Return
sleep 0.8

# "面板": drag the middle of the frame 40 pixels left and 20 down.
main_tab=$(orv_children | grep 'class="SysTabControl32"' | head -1 | cut -d' ' -f1)
e2e_send "$main_tab" 0x1330 3 >/dev/null
sleep 1
e2e_screenshot panels-tab >/dev/null
read -r fx fy < <(python3 -c "
m = lambda v, w, p: round(p / w * v)
print($px + (m($pl, $wall_w, $pw) + m($pr, $wall_w, $pw)) // 2, $py + (m($pt, $wall_h, $ph) + m($pb, $wall_h, $ph)) // 2)")
xdotool mousemove "$fx" "$fy" mousedown 1
sleep 0.3
xdotool mousemove "$((fx - 40))" "$((fy + 20))"
sleep 0.5
xdotool mouseup 1
sleep 0.3
e2e_screenshot frame-moved >/dev/null

before=$(orv_wallpaper_mtime)
e2e_send TOVMainForm 0x0112 0xF020 >/dev/null
e2e_wait_window TOVMainForm hidden 10 >/dev/null
wallpaper_changed() { [ "$(orv_wallpaper_mtime)" != "$before" ]; }
e2e_wait_for "the rebuilt wallpaper" 20 wallpaper_changed
sleep 1

# What the mapping makes of the moves: the picture's offsets are wallpaper pixels per
# preview pixel moved (cut toward zero), kept at their anchor by the zoom; the frame's
# edges are mapped back from their new preview places (round half to even both ways).
read -r ox oy zoom el et er eb < <(python3 -c "
import math
ox = math.trunc(60 / ($pw / $wall_w)); oy = math.trunc(30 / ($ph / $wall_h))
zoom = math.trunc(100 * 1.05) + 1
ox, oy = round(ox * zoom / 100), round(oy * zoom / 100)
def edge(v, d, w, p): return round(w / p * (round(p / w * v) + d))
l, t, r, b = edge($pl, -40, $wall_w, $pw), edge($pt, 20, $wall_h, $ph), edge($pr, -40, $wall_w, $pw), edge($pb, 20, $wall_h, $ph)
# Dropped partly below the monitor, the frame moves back onto it, keeping its size.
dx, dy = max(0, r - $wall_w) - max(0, -l), max(0, b - $wall_h) - max(0, -t)
print(ox, oy, zoom, l - dx, t - dy, r - dx, b - dy)")
props=$(cat "$(e2e_data_folder)"/ImageCRC/CRC_*.ini 2>/dev/null | tr -d '\r')
e2e_assert_eq "$zoom" "$(sed -n 's/^Magnify=//p' <<<"$props")" "Magnify after one wheel turn"
got_x=$(sed -n 's/^OffsetX=//p' <<<"$props") got_y=$(sed -n 's/^OffsetY=//p' <<<"$props")
# A motion event Wine splits in two may cut one more pixel per axis.
[ -n "$got_x" ] && [ $((got_x - ox)) -ge -2 ] && [ $((got_x - ox)) -le 2 ] || e2e_fail "OffsetX $got_x, expected $ox"
[ -n "$got_y" ] && [ $((got_y - oy)) -ge -2 ] && [ $((got_y - oy)) -le 2 ] || e2e_fail "OffsetY $got_y, expected $oy"

app='HKCU\Software\Quenlar\Orvinta3\App'
e2e_assert_eq "$(e2e_reg_get "$app" WallpaperBackground)" "$(e2e_reg_get "$app" BottomImageFilename)" \
  "bottom image from the preview's menu"

panels='HKCU\Software\Quenlar\Orvinta3\Panels'
got=$(for v in CalendarR1 CalendarR2 CalendarR3 CalendarR4; do e2e_reg_get "$panels" $v; done | tr '\n' ' ')
e2e_assert_eq "$el $et $er $eb " "$got" "CalendarR1..R4 after the frame moved from $pl $pt $pr $pb"

# The wallpaper's day cells lie inside the new rectangle and reach its left edge.
cells=$(python3 "$E2E_ROOT/tests/e2e/lib/cells.py" "$(orv_wallpaper)" "$color" "$el" "$et" "$er" "$eb")
# Today's glow joins up to nine cells around it into one region, so of a month's 28 days
# or more at least 19 cells remain, and every weekday column keeps one.
[ "$(wc -l <<<"$cells")" -ge 19 ] && [ "$(cut -d' ' -f2 <<<"$cells" | sort -u | wc -l)" -eq 7 ] ||
  e2e_fail "too few day cells in the moved panel: $cells"
read -r min_l max_r < <(awk '{ if (min == "" || $3 < min) min = $3; if ($5 > max) max = $5 } END { print min, max }' <<<"$cells")
[ "$min_l" -lt "$pl" ] && [ "$((min_l - el))" -le 12 ] && [ "$max_r" -le "$er" ] ||
  e2e_fail "day cells from $min_l to $max_r, panel now $el..$er (was $pl)"
e2e_pass
