#!/usr/bin/env bash
# The configuration window: 0x417 shows it, every tab and calendar sub-tab is visited and
# photographed, the font chooser opens from the fonts page, check boxes, a numeric field (typed), two gauges (clicked, one reset by a
# right click) and a combo box are set through the window, the autostart options follow
# their switch, and minimising writes the settings and the picture's properties and
# rebuilds the wallpaper.
# e2e-timeout: 240
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
orv_sample_library >/dev/null
# This is the twentieth start: hints go off.
e2e_reg_set 'HKCU\Software\Quenlar\Orvinta3\App' Ec REG_DWORD 19

orv_start_running
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 1.5

# The handle of the Nth (1-based) control of CLASS.
nth_control() { orv_children | grep "class=\"$1\"" | sed -n "${2}p" | cut -d' ' -f1; }
# The centre of a control line's rect, as "X Y".
centre() { orv_rect |
  awk '{ printf "%d %d\n", ($1 + $3) / 2, ($2 + $4) / 2 }'; }
visible_controls() { orv_children | grep "visible=1" | grep "class=\"$1\""; }

main_tab=$(nth_control SysTabControl32 1)
calendar_tab=$(nth_control SysTabControl32 2)
[ -n "$main_tab" ] && [ -n "$calendar_tab" ] || e2e_fail "no page controls: $(orv_children | head -5)"
e2e_screenshot image-tab >/dev/null
all=$(orv_children)
for caption in "更新背景" "星期号" "月份标题" "浮动月份" "单元格颜色" "选择颜色..." "没有背景图像" "背景色" "打开循环" \
  "选择图标文本颜色" "系统启动时自动运行" "单击关闭 (X) 最小化 Orvinta" "禁用小提示窗" "在桌面上显示迷你控制器" \
  "使用上面的预览窗口移动和更改日历面板大小" "按比例拉伸" "没有覆盖" "重置" "选择自身包含透明信息的覆盖图像" "显示农历"; do
  grep -qF "text=\"$caption\"" <<<"$all" || e2e_fail "no control with the caption $caption"
done
grep 'text="禁用小提示窗"' <<<"$all" | e2e_has "checked=1" || e2e_fail "hints not switched off on the 20th start"
e2e_assert_eq "捕获在您的系统其它地方的背景并将它们复制到您的背景集合中。" "$(ov_tool hint TOVMainForm "捕获背景" | tr -d '\r')" \
  "hint of the capture check box"

orv_photograph_tabs "$main_tab" "$calendar_tab"

# Calendar view: week numbers and the Chinese calendar layer off, eight week rows typed
# into the field.
e2e_send "$calendar_tab" 0x1330 0 >/dev/null
sleep 0.5
e2e_screenshot calendar-view >/dev/null
ov_tool click TOVMainForm "星期号" >/dev/null || e2e_fail "no check box 星期号"
ov_tool click TOVMainForm "显示农历" >/dev/null || e2e_fail "no check box 显示农历"
read -r x y < <(visible_controls Edit | head -1 | centre)
xdotool mousemove "$x" "$y" click --repeat 2 1
xdotool key ctrl+a BackSpace type "12"
sleep 0.5
e2e_screenshot typed >/dev/null

# Fonts: the entry font's button opens the font chooser (made on first use); Esc closes
# it without a change.
e2e_send "$calendar_tab" 0x1330 3 >/dev/null
sleep 0.5
ov_tool click TOVMainForm "项目" >/dev/null || e2e_fail "no button 项目 on the fonts page"
e2e_wait_window TFFont visible 10 >/dev/null
ov_tool children TFFont | tr -d '\r' | e2e_has -F 'text="删除线"' || e2e_fail "the font chooser has no strike-out box"
e2e_screenshot font-chooser >/dev/null
ov_tool click TFFont 取消 >/dev/null
e2e_wait_window TFFont hidden 5 >/dev/null

# Application: the autostart options are usable only with autostart on.
e2e_send "$main_tab" 0x1330 6 >/dev/null
sleep 0.5
enabled_of() { orv_children | grep -F "text=\"$1\"" | head -1 | sed -E 's/.* enabled=([01]) .*/\1/'; }
for caption in "更新背景后退出" "启动延迟" "秒"; do
  e2e_assert_eq 1 "$(enabled_of "$caption")" "$caption enabled with autostart on"
done
ov_tool click TOVMainForm "系统启动时自动运行" >/dev/null || e2e_fail "no check box 系统启动时自动运行"
sleep 0.5
for caption in "更新背景后退出" "启动延迟" "秒"; do
  e2e_assert_eq 0 "$(enabled_of "$caption")" "$caption enabled with autostart off"
done
e2e_screenshot autostart-off >/dev/null
ov_tool click TOVMainForm "系统启动时自动运行" >/dev/null
sleep 0.5
e2e_assert_eq 1 "$(enabled_of "更新背景后退出")" "quit option enabled again"

# Desktop: the output depth "15 位".
e2e_send "$main_tab" 0x1330 5 >/dev/null
sleep 0.5
ov_tool select TOVMainForm "24 位 (真彩色)" 2 >/dev/null || e2e_fail "no depth combo box"

# Image: contrast and brightness one page up (a click right of the thumb), then
# brightness back to 0 with the right button.
e2e_send "$main_tab" 0x1330 2 >/dev/null
sleep 0.5
gauge_click() {  # N BUTTON: click the Nth gauge on its channel near the right end
  local line l t r b
  line=$(visible_controls msctls_trackbar32 | sed -n "${1}p")
  read -r l t r b < <(orv_rect <<<"$line")
  xdotool mousemove "$((r - 20))" "$(((t + b) / 2))" click "$2"
  sleep 0.3
}
gauge_click 1 1
gauge_click 2 1
gauge_click 2 3
sleep 0.5
e2e_screenshot gauges >/dev/null

before=$(orv_wallpaper_mtime)
e2e_send TOVMainForm 0x0112 0xF020 >/dev/null
e2e_wait_window TOVMainForm hidden 10 >/dev/null
wallpaper_changed() { [ "$(orv_wallpaper_mtime)" != "$before" ]; }
e2e_wait_for "the rebuilt wallpaper" 20 wallpaper_changed

# A changed work area rebuilds the wallpaper; the program's own wallpaper change does not.
before=$(orv_wallpaper_mtime)
e2e_send TOVMainForm 0x001A 0x14 >/dev/null
sleep 1.5
e2e_assert_eq "$before" "$(orv_wallpaper_mtime)" "wallpaper after a wallpaper-changed notice"
e2e_send TOVMainForm 0x001A 0x2F >/dev/null
e2e_wait_for "the wallpaper rebuilt for the work area" 20 wallpaper_changed

app='HKCU\Software\Quenlar\Orvinta3\App'
e2e_assert_eq 0 "$(e2e_reg_get "$app" WeekNumbers)" "WeekNumbers after the check box"
e2e_assert_eq 12 "$(e2e_reg_get "$app" VisibleWeeks)" "VisibleWeeks typed"
e2e_assert_eq 0 "$(e2e_reg_get "$app" ShowLunar)" "ShowLunar after the check box"
e2e_assert_eq 2 "$(e2e_reg_get "$app" OutputPixelmode)" "OutputPixelmode from the combo box"
# Opacity 82 shows as 68 % and goes back as 81.
e2e_assert_eq 81 "$(e2e_reg_get "$app" CalendarAlpha)" "CalendarAlpha through the percent field"
e2e_assert_eq 1 "$(e2e_reg_get "$app" DisableHints)" "DisableHints after the twentieth start"
props=$(cat "$(e2e_data_folder)"/ImageCRC/CRC_*.ini 2>/dev/null | tr -d '\r')
e2e_assert_match 'Contrast=10' "$props" "contrast one page up"
e2e_assert_match 'Brightness=0' "$props" "brightness reset by the right button"
e2e_pass
