#!/usr/bin/env bash
# The program's windows stay drawn. Maximised and restored, the configuration window
# shows its controls at their new places. Installing the wallpaper with "更新背景" keeps
# the window's frame, menu and tabs; hiding it to the tray keeps the task bar (with the
# tray icon) and the mini controller on the screen, also after the desktop has painted
# the new picture. The tray icon shows the day of the month and changes with the day.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
orv_sample_library >/dev/null

# Pixels of a region (X Y W H) that differ between two screenshots by more than a little.
changed_pixels() {
  convert "$1" -crop "${5}x${6}+${3}+${4}" +repage "$E2E_ART/crop-a.png" 8>&-
  convert "$2" -crop "${5}x${6}+${3}+${4}" +repage "$E2E_ART/crop-b.png" 8>&-
  # compare exits with 1 when the pictures differ; the count is what matters.
  { compare -metric AE -fuzz 8% "$E2E_ART/crop-a.png" "$E2E_ART/crop-b.png" null: 2>&1 8>&- || true; } | cut -d' ' -f1
}
# Fails when more than a few pixels of the region differ.
assert_unchanged() {  # WHAT BEFORE AFTER X Y W H
  local n
  n=$(changed_pixels "$2" "$3" "$4" "$5" "$6" "$7")
  e2e_log "$1: $n pixels changed"
  [ "${n%.*}" -le $(($6 * $7 / 50)) ] || e2e_fail "$1 painted over after the wallpaper install ($n pixels changed; $3)"
}

# Takes screenshots NAME until the screen stays the same over three shots half a second
# apart (the program paints its windows again for a moment after an install, and on a
# busy machine a repaint can pause for longer than one interval); E2E_LAST_SHOT is the
# last.
settled_shot() {
  local previous="" n same=0
  for _ in $(seq 1 30); do
    e2e_screenshot "$1" >/dev/null
    if [ -n "$previous" ]; then
      n=$(changed_pixels "$previous" "$E2E_LAST_SHOT" 0 0 1280 1024)
      if [ "${n%.*}" -eq 0 ]; then same=$((same + 1)); else same=0; fi
      [ "$same" -ge 2 ] && return 0
    fi
    previous=$E2E_LAST_SHOT
    sleep 0.5
  done
}

OV_TEST_CLOCK=1 orv_start_running
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 2
# Dark (text) pixels inside a control's rectangle (X Y W H) of the last screenshot.
ink() {
  convert "$E2E_LAST_SHOT" -crop "${3}x${4}+${1}+${2}" +repage -colorspace Gray -threshold 60% -negate \
    -format '%[fx:round(mean*w*h)]' info: 8>&-
}
# The captions of "更新背景" and "重置" (image tab) are drawn.
assert_captions() {  # WHEN
  local caption line cl ct cr cb n
  for caption in 更新背景 重置; do
    line=$(orv_children | grep "visible=1" | grep "text=\"$caption\"" | head -n 1)
    read -r cl ct cr cb <<<"$(orv_rect <<<"$line")"
    n=$(ink $((cl + 3)) $((ct + 3)) $((cr - cl - 6)) $((cb - ct - 6)))
    e2e_log "$1: caption $caption has $n dark pixels"
    [ "$n" -ge 15 ] || e2e_fail "the caption of $caption is not drawn $1"
  done
}

# Maximised, the image tab's controls and the button are drawn at their new places.
e2e_send TOVMainForm 0x0112 0xF030 >/dev/null
sleep 1
settled_shot maximised
assert_captions "in the maximised window"
e2e_send TOVMainForm 0x0112 0xF120 >/dev/null
sleep 1
settled_shot restored
assert_captions "in the restored window"

read -r l t r b <<<"$(e2e_find_window TOVMainForm | orv_rect)"
e2e_screenshot window-before >/dev/null
before=$E2E_LAST_SHOT

# "更新背景": the wallpaper is installed with the window in front of it.
wall=$(orv_wallpaper_mtime)
ov_tool click TOVMainForm "更新背景" >/dev/null || e2e_fail "no button 更新背景"
wallpaper_changed() { [ "$(orv_wallpaper_mtime)" != "$wall" ]; }
e2e_wait_for "the installed wallpaper" 20 wallpaper_changed
sleep 1
settled_shot window-after-install
after=$E2E_LAST_SHOT
# Title bar and menu, and the tab headers with the image tab's left part (the grid's
# thumbnails are made again and may differ by a pixel).
assert_unchanged "title bar and menu" "$before" "$after" "$l" "$t" $((r - l)) 38
children=$(orv_children)
read -r tl tt tr tb <<<"$(grep 'class="SysTabControl32"' <<<"$children" | head -n 1 | orv_rect)"
assert_unchanged "tabs and image page" "$before" "$after" "$tl" "$tt" 380 $((tb - tt))

# Hidden to the tray: the rebuild installs the wallpaper again; the task bar and the
# controller stay.
wall=$(orv_wallpaper_mtime)
e2e_send TOVMainForm 0x0112 0xF020 >/dev/null
e2e_wait_window TOVMainForm hidden 10 >/dev/null
e2e_wait_for "the rebuilt wallpaper" 20 wallpaper_changed
e2e_wait_window TFController visible 10 >/dev/null
sleep 1
settled_shot hidden-later
later=$E2E_LAST_SHOT
# The task bar's start button and notification area (its middle loses the window's
# button); the controller differs from the wallpaper it stands on.
assert_unchanged "start button" "$before" "$later" 0 1004 50 20
assert_unchanged "notification area" "$before" "$later" 1220 1004 60 20
read -r cl ct cr cb <<<"$(e2e_find_window TFController | orv_rect)"
convert "$(orv_wallpaper)" "$E2E_ART/wallpaper.png"
n=$(changed_pixels "$E2E_ART/wallpaper.png" "$later" "$cl" "$ct" $((cr - cl)) $((cb - ct)))
e2e_log "mini controller: $n of $(((cr - cl) * (cb - ct))) pixels differ from the wallpaper"
[ "${n%.*}" -ge $(((cr - cl) * (cb - ct) / 2)) ] || e2e_fail "the mini controller is painted over by the wallpaper"
# The next day: the tray icon shows another day number (the wallpaper is rebuilt for the
# day change, and the task bar stays drawn over it).
e2e_send TOVMainForm 0x83C0 1440 0 60000 >/dev/null
sleep 1
settled_shot next-day
n=$(changed_pixels "$later" "$E2E_LAST_SHOT" 1240 1004 40 20)
e2e_log "notification area on the next day: $n pixels changed"
[ "${n%.*}" -ge 10 ] || e2e_fail "the tray icon shows the same day after the day change"
assert_unchanged "start button on the next day" "$later" "$E2E_LAST_SHOT" 0 1004 50 20
e2e_pass
