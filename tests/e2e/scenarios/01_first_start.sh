#!/usr/bin/env bash
# A fresh prefix: the first start asks for the picture folder, creates the data folder
# with its folders, and closing through WM_QUERYENDSESSION saves every App value with
# FirstRun "0" and Ec 1; a second start asks nothing and its close gives Ec 2.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init

e2e_start_orvinta
e2e_wait_for "the first-run information box" 30 orv_has_box 您需要为背景图像选择一个根文件夹
e2e_screenshot first-run-box >/dev/null
orv_assert_box '您需要为背景图像选择一个根文件夹。\r\n如果您有自己的背景图像集，\r\n在下面的对话框中设置或保留它的默认值。\r\n您也可以在以后更改它的位置。'
orv_press 确定
# The folder browser, with the library folder preselected: keep the default.
e2e_wait_for "the folder browser" 20 orv_has_dialog
sleep 1
e2e_screenshot folder-browser >/dev/null
# The preselected folder is scrolled into view in the browser's tree.
tree=$(ov_tool children '#32770' | tr -d '\r' | grep -m1 'class="SysTreeView32"' | cut -d' ' -f1)
[ -n "$tree" ] || e2e_fail "no folder tree in the browser"
selection=$(ov_tool items "$tree" | tr -d '\r')
e2e_log "folder browser: $selection"
e2e_assert_match 'selected visible=1 .*text="Wallpaper Images"' "$selection" "the preselected folder in view"
orv_press 确定
e2e_wait_window TOVMainForm exists 30 >/dev/null
e2e_wait_for "the first wallpaper" 30 test -f "$(orv_wallpaper)"

data=$(e2e_data_folder)
e2e_assert_file "$data/ImageCRC"
e2e_assert_file "$data/Entries"
for section in 日记 生意 家庭; do e2e_assert_file "$data/Entries/$section"; done
e2e_assert_no_file "$E2E_PROGRAM_DIR/Entries"
e2e_screenshot desktop >/dev/null

orv_end_session
app="$ORV_KEY\\App"
e2e_assert_eq 0 "$(e2e_reg_get "$app" FirstRun)" "FirstRun after the first close"
e2e_assert_eq 1 "$(e2e_reg_get "$app" Ec)" "start counter"
# Every App value the program writes (OverlayColor is read but never written).
written="FirstRun Ec DesktopIconsTransparent DesktopIconTextColor NoBackground DesktopColor DisableHints Hotkey
HotkeyModifier ShowController ControllerLeft CloseIsMinimize AutoStart AutoStartQuit AutoStartDelay Overlay
OverlayFilename OverlayAlpha WallpaperBackground WallpaperAlpha BottomImageFilename OutputPixelmode ThumbWidthIndex
PreviewTaskBar ImagesPath RotateImages RotationInterval RotationMode NextRotationTime LastWallpaperFile BackupPath
LastBackupTime BackupOnlyNew BackupImageProps CalendarVisible WeekNumbers ShowNextMonthCaption TitleMode TextOutMode
CalendarAlpha StartOfWeek VisibleWeeks PastVisibleWeeks HolidayBits FontBorder CellGap CellFrameContrast CellShadow
CellShadowX CellShadowY CellShadowAlpha CalendarColor UseColorForSkin CalendarFromStartOfMonth SubEntryName
CalendarSkinFilename PrintZoomFactor CaptureWallpaper FlagCaptureMsgShown CaptureToPNG CaptionFont EntryFont
CaptionFontColor EntryFontColor RepeatColorWithEntry"
names=$(e2e_reg_list "$app" | tr -d '\r' | awk '{print $1}')
for v in $written; do grep -qx "$v" <<<"$names" || e2e_fail "App\\$v was not saved"; done
grep -qx OverlayColor <<<"$names" && e2e_fail "App\\OverlayColor must not be written"
e2e_assert_eq "$(ov_tool folder pictures | tr -d '\r')\\Wallpaper Images\\" "$(e2e_reg_get "$app" ImagesPath)" "ImagesPath"
for key in MainForm Entry Panels Print; do
  [ -n "$(e2e_reg_list "$ORV_KEY\\$key")" ] || e2e_fail "section $key was not saved"
done
e2e_assert_eq "15" "$(e2e_reg_get "$ORV_KEY\\Misc" CellFrameContrast)" "Misc\\CellFrameContrast"

# The second start: no questions, and the counter goes on.
E2E_ORVINTA_NAME=again e2e_start_orvinta
e2e_wait_window TOVMainForm exists 30 >/dev/null
sleep 2
orv_no_boxes || e2e_fail "the second start showed a message box: $(ov_tool msgboxes)"
orv_end_session again
e2e_assert_eq 2 "$(e2e_reg_get "$app" Ec)" "start counter after the second start"
e2e_pass
