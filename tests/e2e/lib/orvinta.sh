# Helpers for scenarios that drive Orvinta itself (sourced after harness.sh).

ORV_KEY='HKCU\Software\Quenlar\Orvinta3'

# Writes a registry value: e2e_reg_set KEY NAME TYPE DATA (TYPE as `reg add` takes it).
e2e_reg_set() {
  e2e_wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1 </dev/null || e2e_fail "cannot set $1\\$2"
}

# Settings of a program that has run before: no first-run questions.
orv_not_first_run() { e2e_reg_set "$ORV_KEY\\App" FirstRun REG_SZ 0; }

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
