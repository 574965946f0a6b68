#!/usr/bin/env bash
# The picture library grid on the image tab: it lists the pictures of a folder tree with
# their thumbnails, a click loads the row's picture into the preview, "最大" gives
# 149-pixel rows, a picture dropped into the folder appears without a refresh, a file
# that is no picture shows "无法读取图像" when chosen, and "从磁盘删除" moves the picture
# the question named into the recycle bin, even when a captured wallpaper became the
# chosen picture while the question was open. Pictures that go away for a moment change
# no setting; ticking "没有背景图像" turns rotation off with its controls.
# e2e-timeout: 300
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font

# A tree of single-colour pictures of the desktop's shape, one colour per picture; the
# folder "(skip)" is left out of the library.
lib="$(e2e_user_dir)/Pictures/Wallpaper Images"
mkdir -p "$lib/sub/deeper" "$lib/(skip)"
convert -size 640x512 xc:#e02020 "$lib/red.jpg"
convert -size 640x512 xc:#20c020 "$lib/sub/green.png"
convert -size 640x512 xc:#2020e0 "BMP3:$lib/sub/deeper/blue.bmp"
convert -size 640x512 xc:#e0e020 "$lib/sub/yellow.png"
convert -size 640x512 xc:#20e0e0 "$lib/(skip)/cyan.png"
winlib=$(orv_library_win)
e2e_reg_set "$ORV_KEY\\App" ImagesPath REG_SZ "$winlib"
e2e_reg_set "$ORV_KEY\\App" WallpaperBackground REG_SZ "${winlib}red.jpg"
# Wide enough for the grid's text column beside the thumbnails.
for v in "Left 40" "Top 40" "Width 900" "Height 569"; do e2e_reg_set "$ORV_KEY\\MainForm" ${v% *} REG_DWORD ${v#* }; done

orv_start_running
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 1

rect_of() { orv_children | grep "class=\"$1\"" | head -1 | orv_rect; }
read -r gl gt gr gb < <(rect_of OVImageGrid)
[ -n "$gl" ] || e2e_fail "no thumbnail grid: $(orv_children | head -5)"
orv_children | grep 'class="OVImageGrid"' | e2e_has "visible=1" || e2e_fail "the grid is hidden"
read -r pl pt pr pb < <(rect_of OVPreviewPanel)
# Inside the grid's frame (2 pixels of client edge): the thumbnail column's centre and
# a point in the preview.
gx=$((gl + 2)) gy=$((gt + 2))
thumb_x=$((gx + 33))
prev_x=$(((pl + pr) / 2)) prev_y=$(((pt + pb) / 2))

# A click in the grid, coming from outside it so that no hint window is in the way.
grid_click() {
  xdotool mousemove "$prev_x" "$prev_y"
  sleep 0.3
  e2e_click "$1" "$2"
}
# Two colours are alike when no channel differs by more than 40 (JPEG shifts a little).
alike() {
  local a=$1 b=$2 i
  [ ${#a} -eq 6 ] || return 1
  for i in 0 2 4; do
    local d=$((16#${a:i:2} - 16#${b:i:2}))
    if [ "${d#-}" -gt 40 ]; then return 1; fi
  done
  return 0
}
picture_colour() {  # a pixel's colour when it is one of the library's, else nothing
  local c
  for c in e02020 20c020 2020e0 e0e020 20e0e0 e020e0; do
    if alike "$1" "$c"; then echo "$c"; return 0; fi
  done
  return 0
}
row_colour() {  # SHOT ROW ROW_HEIGHT: the colour of a row's thumbnail
  picture_colour "$(e2e_pixel "$1" "$thumb_x" $((gy + $2 * $3 + $3 / 2)))"
}

# The thumbnails arrive from the worker: the first rows show picture colours, not grey.
thumbs_ready() {
  e2e_screenshot grid >/dev/null
  [ -n "$(row_colour "$E2E_LAST_SHOT" 0 49)" ] && [ -n "$(row_colour "$E2E_LAST_SHOT" 1 49)" ]
}
e2e_wait_for "thumbnails in the grid" 20 thumbs_ready
shot=$E2E_LAST_SHOT
e2e_assert_eq e02020 "$(row_colour "$shot" 0 49)" "the background's row at the top"
e2e_assert_eq e02020 "$(picture_colour "$(e2e_pixel "$shot" $prev_x $prev_y)")" "the background in the preview"

# A click on the second row loads its picture into the preview.
second=$(row_colour "$shot" 1 49)
grid_click "$thumb_x" $((gy + 49 + 20))
preview_shows() { [ "$(picture_colour "$(e2e_pixel "$(e2e_screenshot click)" $prev_x $prev_y)")" = "$second" ]; }
e2e_wait_for "the second row's picture in the preview" 10 preview_shows

# The grid's menu from the keyboard: "缩略图大小" is the fourth item after the header.
grid_menu() {
  xdotool mousemove $((gx + 120)) $((gy + 10)) click 3
  sleep 1
}
thumb_size() {  # N: the size item N (0 最小 .. 4 最大)
  grid_menu
  e2e_screenshot menu >/dev/null
  xdotool key Down Down Down Down Right
  sleep 0.3
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool key Return
  sleep 1.5
}
thumb_size 4
shot=$(e2e_screenshot largest)
# Rows of 149 pixels: the top row's thumbnail reaches down to 145, the next starts at 151.
top=$(row_colour "$shot" 0 149)
[ -n "$top" ] || e2e_fail "no thumbnail in the top row at the largest size"
e2e_assert_eq "$top" "$(picture_colour "$(e2e_pixel "$shot" "$thumb_x" $((gy + 145)))")" "row 0 at y 145"
next=$(picture_colour "$(e2e_pixel "$shot" "$thumb_x" $((gy + 153)))")
[ -n "$next" ] && [ "$next" != "$top" ] || e2e_fail "row 1 does not start at 149 (found '$next' below '$top')"

# Smallest rows show the whole library; a picture dropped in shows up without a refresh.
thumb_size 0
colours_in_grid() {
  convert "$1" -crop "$((gr - gl - 4))x$((gb - gt - 4))+$gx+$gy" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort -u |
    while read -r c; do picture_colour "${c#\#}"; done | sort -u | tr '\n' ' '
}
shot=$(e2e_screenshot smallest)
listed=$(colours_in_grid "$shot")
for c in e02020 20c020 2020e0 e0e020; do [[ " $listed" == *" $c "* ]] || e2e_fail "colour $c not in the grid: $listed"; done
[[ " $listed" != *" 20e0e0 "* ]] || e2e_fail "a picture under (skip) is listed"
convert -size 640x512 xc:#e020e0 "$lib/sub/deeper/magenta.png"
dropped_listed() { [[ " $(colours_in_grid "$(e2e_screenshot dropped)") " == *" e020e0 "* ]]; }
e2e_wait_for "the dropped picture in the grid" 15 dropped_listed

# A file that is no picture keeps its grey cell; choosing it shows "无法读取图像" on
# black in the preview.
printf 'not a picture' >"$lib/broken.jpg"
small_x=$((gx + 14))
grey_row() {  # the row of the only grey thumbnail once every picture has its own
  local shot r found=""
  e2e_screenshot broken >/dev/null
  shot=$E2E_LAST_SHOT
  for r in 0 1 2 3 4 5 6; do
    local px
    px=$(e2e_pixel "$shot" "$small_x" $((gy + r * 21 + 10)))
    if [ "$px" = 808080 ]; then [ -z "$found" ] || return 1; found=$r; fi
  done
  [ -n "$found" ] && [ "$(colours_in_grid "$shot" | wc -w)" -eq 5 ] && echo "$found"
}
e2e_wait_for "the broken file's row" 15 grey_row
broken=$(grey_row)
grid_click "$small_x" $((gy + broken * 21 + 10))
preview_black() { alike "$(e2e_pixel "$(e2e_screenshot unreadable)" $prev_x $prev_y)" 000000; }
e2e_wait_for "the unreadable picture's black stand-in" 10 preview_black

# Deleting the chosen picture: the question names it, Yes puts it into the recycle bin.
grid_click "$small_x" $((gy + ((broken + 1) % 6) * 21 + 10))
chosen_colour() { picture_colour "$(e2e_pixel "$(e2e_screenshot chosen)" $prev_x $prev_y)"; }
has_chosen() { [ -n "$(chosen_colour)" ]; }
e2e_wait_for "the chosen picture in the preview" 10 has_chosen
chosen=$(chosen_colour)
grid_menu
xdotool key Up Return
e2e_wait_for "the delete question" 10 orv_has_box "您确定您要永久删除图像吗?"
e2e_screenshot question >/dev/null
# While the question is open another program installs a wallpaper: the capture copies it
# into the library and makes it the chosen picture. The delete still takes the one named.
mkdir -p "$E2E_PREFIX/drive_c/Pics"
convert -size 1280x1024 "xc:#d08040" "BMP3:$E2E_PREFIX/drive_c/Pics/Sunset.BMP"
ov_tool wallpaper 'C:\Pics\Sunset.BMP' || e2e_fail "cannot install the foreign wallpaper"
captured() { find "$lib/Captured Images" -type f -name 'Sunset*' 2>/dev/null | e2e_has .; }
e2e_wait_for "the captured wallpaper in the library" 10 captured
sleep 2
orv_press "是"
sleep 1
shopt -s nullglob
case $chosen in
  e02020) name=red.jpg ;; 20c020) name=green.png ;; 2020e0) name=blue.bmp ;; e0e020) name=yellow.png ;;
  e020e0) name=magenta.png ;; *) e2e_fail "no picture chosen before the delete ($chosen)" ;;
esac
gone() { [ -z "$(find "$lib" -name "$name")" ]; }
e2e_wait_for "$name gone from the library folder" 10 gone
[ -n "$(find "$HOME" -path '*Trash*' -name "$name" 2>/dev/null)" ] || e2e_fail "$name is not in the recycle bin"
captured || e2e_fail "the captured wallpaper was deleted instead of $name"
e2e_screenshot deleted >/dev/null

# Every picture away for a moment (a stick pulled out, say) and back: the grid empties
# and fills again, and neither "没有背景图像" nor "打开循环" changes.
check_state() {  # TEXT: "checked=N enabled=N" of the check box with that caption
  orv_children | grep -F "text=\"$1\"" | head -1 | grep -oE 'enabled=[01] checked=[01]'
}
e2e_assert_eq "enabled=1 checked=0" "$(check_state 没有背景图像)" "没有背景图像 before"
e2e_assert_eq "enabled=1 checked=1" "$(check_state 打开循环)" "打开循环 before"
away="$(e2e_user_dir)/away"
mkdir -p "$away"
mv "$lib"/* "$away"/
grid_empty() { [ -z "$(colours_in_grid "$(e2e_screenshot away)" | tr -d ' ')" ]; }
e2e_wait_for "an empty grid" 15 grid_empty
mv "$away"/* "$lib"/
grid_full() { [ "$(colours_in_grid "$(e2e_screenshot back)" | wc -w)" -ge 3 ]; }
e2e_wait_for "the pictures back in the grid" 15 grid_full
e2e_assert_eq "enabled=1 checked=0" "$(check_state 没有背景图像)" "没有背景图像 after the pictures came back"
e2e_assert_eq "enabled=1 checked=1" "$(check_state 打开循环)" "打开循环 after the pictures came back"

# Ticking "没有背景图像" unticks and disables "打开循环", and the interval's controls
# are disabled with it.
box=$(orv_children | grep -F 'text="没有背景图像"' | head -1 | awk '{print $1}')
e2e_send "$box" 0xF5 >/dev/null  # BM_CLICK
sleep 0.5
e2e_assert_eq "enabled=0 checked=0" "$(check_state 打开循环)" "打开循环 with no background"
orv_children | grep -F 'text="更换背景每"' | e2e_has 'enabled=0' || e2e_fail "the rotation interval is still enabled"
e2e_pass
