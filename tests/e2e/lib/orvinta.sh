# Helpers for scenarios that drive Orvinta itself (sourced after harness.sh).

ORV_KEY='HKCU\Software\Quenlar\Orvinta3'

# Writes a registry value: e2e_reg_set KEY NAME TYPE DATA (TYPE as `reg add` takes it).
e2e_reg_set() {
  e2e_wine_retry reg add "$1" /v "$2" /t "$3" /d "$4" /f || e2e_fail "cannot set $1\\$2"
}

# Settings of a program that has run before: no first-run questions.
orv_not_first_run() { e2e_reg_set "$ORV_KEY\\App" FirstRun REG_SZ 0; }
# The configuration window's font: the prefix has no such font, and Micro Hei stands in
# for it so that the Chinese texts of the window are drawn.
orv_window_font() { e2e_reg_set 'HKCU\Software\Wine\Fonts\Replacements' "Microsoft YaHei UI" REG_SZ "WenQuanYi Micro Hei"; }

# The installed wallpaper file and its modification time in nanoseconds (0 when missing).
orv_wallpaper() { printf '%s/Wallpaper.bmp\n' "$(e2e_data_folder)"; }
# The wallpaper file as the program names it (a C: path).
orv_wallpaper_win() { printf '%s\\Quenlar\\Orvinta\\Wallpaper.bmp\n' "$(ov_tool folder appdata | tr -d '\r')"; }
orv_wallpaper_mtime() { stat -c %Y%N "$(orv_wallpaper)" 2>/dev/null | tr -dc 0-9 || echo 0; }

# Puts the program's sample pictures into the default library folder, as the first start
# does, so that a scenario can skip the first-run questions and still have pictures.
orv_sample_library() {
  local lib
  lib="$(e2e_user_dir)/Pictures/Wallpaper Images"
  mkdir -p "$lib"
  cp "$E2E_BIN/Images/"* "$lib/"
  printf '%s\n' "$lib"
}

# Starts the program (as NAME, default "orvinta") and waits until it runs with its
# wallpaper written.
orv_start_running() {
  E2E_ORVINTA_NAME=${1:-orvinta} e2e_start_orvinta
  e2e_wait_window TOVMainForm exists 30 >/dev/null
  e2e_wait_for "the wallpaper of ${1:-orvinta}" 30 test -f "$(orv_wallpaper)"
  sleep 1
}

# Sends WM_QUERYENDSESSION to the main window, as Windows does at log-off, and waits for
# the program to end.
orv_end_session() {
  e2e_send TOVMainForm WM_QUERYENDSESSION >/dev/null
  e2e_wait_exit "${1:-orvinta}" 30 || e2e_fail "the program did not end after WM_QUERYENDSESSION"
}

# Waits until message boxes are open and presses the first button with TEXT.
orv_press() {
  local text=$1 timeout=${2:-15}
  e2e_wait_for "a message box with a button $text" "$timeout" ov_tool press "$text"
}

# True while a message box whose text contains TEXT is open.
orv_has_box() { ov_tool msgboxes 2>/dev/null | e2e_has -F "$1"; }
orv_no_boxes() { [ -z "$(ov_tool msgboxes 2>/dev/null | tr -d '\r')" ]; }
# True while a dialog (class #32770) is open.
orv_has_dialog() { ov_tool list '#32770' 2>/dev/null | e2e_has .; }

# The texts of the open message boxes, one per line, as ovtool quotes them (line breaks
# as \r\n).
orv_box_texts() { ov_tool msgboxes 2>/dev/null | tr -d '\r' | sed -n 's/^  text "\(.*\)"$/\1/p'; }
# Fails unless a message box shows exactly TEXT (line breaks written as \r\n).
orv_assert_box() {
  orv_box_texts | e2e_has -xF -- "$1" || e2e_fail "no message box with the text '$1'; open: $(orv_box_texts)"
}

# The default library folder as the program names it (a C: path with a trailing
# backslash): the library's entries and WallpaperBackground compare in this form.
orv_library_win() { printf 'C:\\users\\%s\\Pictures\\Wallpaper Images\\\n' "$(basename "$(e2e_user_dir)")"; }

# A calendar that is easy to read back from the wallpaper: a single-colour picture of the
# desktop's size as background (and so the library's chosen row), no cell shadows, no
# week numbers, the month shown from its first day with that day in the first column.
# Prints the picture's colour.
orv_plain_calendar() {
  local lib color=305070
  lib=$(orv_sample_library)
  convert -size 1280x1024 "xc:#$color" "BMP3:$lib/plain.bmp"
  local app="$ORV_KEY\\App" first
  e2e_reg_set "$app" WallpaperBackground REG_SZ "$(orv_library_win)plain.bmp"
  e2e_reg_set "$app" CalendarFromStartOfMonth REG_SZ 1
  e2e_reg_set "$app" WeekNumbers REG_SZ 0
  e2e_reg_set "$app" CellShadow REG_SZ 0
  first=$(date -d "$(date +%Y-%m-01)" +%u)
  e2e_reg_set "$app" StartOfWeek REG_DWORD $((first - 1))
  printf '%s\n' "$color"
}

# The panel rectangle of a program that has not saved its own: derived from the work area.
orv_default_panel() {
  local l t r b
  read -r l t r b < <(ov_tool desktop | tr -d '\r' | sed -n 's/^workarea //p')
  printf '%d %d %d %d\n' $((l + (r - l) / 3)) $((t + 60)) $((r - 60)) $((b - 20))
}

# The day cells found on a wallpaper of orv_plain_calendar: "ROW COL LEFT TOP RIGHT BOTTOM".
orv_cells() {  # BMP COLOR
  python3 "$E2E_ROOT/tests/e2e/lib/cells.py" "$1" "$2" $(orv_default_panel)
}

# The note file of a day (YYYY MM DD) in the default section.
orv_note_file() {
  printf '%s/Entries/默认/Notes/%d/Notes_%d-%02d-%02d.txt\n' "$(e2e_data_folder)" "$1" "$1" "$((10#$2))" "$((10#$3))"
}

# The rectangle of each ovtool line read (window, child control, list row) as "L T R B";
# lines without one are dropped.
orv_rect() { sed -nE 's/.* rect=([-0-9]+),([-0-9]+),([-0-9]+),([-0-9]+) .*/\1 \2 \3 \4/p'; }

# The entry pop-up's rectangle as "L T R B".
orv_popup_rect() { e2e_find_window TFEntry | orv_rect; }

# The child controls of the configuration window, one ovtool line each.
orv_children() { ov_tool children TOVMainForm | tr -d '\r'; }

# The colour-code mask of a day (YYYY-MM-DD) from the Codes file of its year; 0 when
# the file is missing.
orv_day_code() {
  local day=$1 year doy file
  year=$(date -d "$day" +%Y)
  doy=$((10#$(date -d "$day" +%j)))
  file="$(e2e_data_folder)/Entries/Codes$year.dat"
  [ -f "$file" ] || { echo 0; return; }
  od -An -tu4 -j $(((doy - 1) * 4)) -N4 "$file" | tr -d ' '
}

# Opens the pop-up's menu with a right-click in the middle of its text area.
orv_popup_menu() {
  local l t r b
  read -r l t r b <<<"$(orv_popup_rect)"
  xdotool mousemove $(((l + r) / 2)) $(((t + 17 + b) / 2)) click 3
  e2e_wait_for "the pop-up's menu" 5 e2e_window_visible '#32768'
}

# Finds a day cell of this month away from today's glow (days 1..28): prints
# "DAY L T R B". CELLS is orv_cells' output file; SKIP lists days not to use.
orv_pick_day() {
  local cells=$1 skip=${2:-}
  local today trow tcol row col l t r b day dr dc
  today=$(date +%-d)
  trow=$(((today - 1) / 7)) tcol=$(((today - 1) % 7))
  while read -r row col l t r b; do
    [ "$row" -le 3 ] || continue
    day=$((7 * row + col + 1))
    [[ " $skip " == *" $day "* ]] && continue
    dr=$((row - trow)) dc=$((col - tcol))
    [ ${dr#-} -ge 2 ] || [ ${dc#-} -ge 2 ] || continue
    echo "$day $l $t $r $b"
    return 0
  done <"$cells"
  return 1
}

# Screenshots of every tab of the configuration window in order, then of the calendar's
# sub-tabs, ending on its first ("查看"). TCM_SETCURFOCUS notifies as a click would.
orv_photograph_tabs() {  # MAIN_TAB CALENDAR_TAB [NAME_PREFIX]
  local main_tab=$1 calendar_tab=$2 prefix=${3:-} i
  local names=(entries calendar image panels overlay desktop application printer backup about)
  for i in "${!names[@]}"; do
    e2e_send "$main_tab" 0x1330 "$i" >/dev/null
    sleep 0.7
    e2e_screenshot "${prefix}tab-$i-${names[$i]}" >/dev/null
  done
  e2e_send "$main_tab" 0x1330 1 >/dev/null
  for i in 1 2 3 0; do
    e2e_send "$calendar_tab" 0x1330 "$i" >/dev/null
    sleep 0.7
    e2e_screenshot "${prefix}calendar-sub-$i" >/dev/null
  done
}
