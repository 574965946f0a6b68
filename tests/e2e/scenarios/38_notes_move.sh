#!/usr/bin/env bash
# "更改..." in the group "数据文件夹" of the application tab, through the real folder
# browser: 2,000 notes (and the codes and picture properties) move to the chosen folder,
# every file arrives unchanged, the setting and the label follow and the old copies go.
# A second move killed (SIGKILL) while it copies loses nothing: the old folder stays in use
# and whole, and the next start is a normal one that uses it; moving there again completes
# the move without asking.
# e2e-timeout: 240
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
orv_plain_calendar >/dev/null
drive="$E2E_PREFIX/drive_c"
first="$drive/Notes" second="$drive/AMoved" third="$drive/AAKilled"
for f in "$first" "$second" "$third"; do e2e__rm_inside "$f"; done
# 2,000 notes over six years (and one in this month), a codes file and a picture's
# properties.
python3 - "$first" <<'EOF'
import datetime, os, sys
root = sys.argv[1]
day = datetime.date(2021, 1, 1)
for i in range(2000):
    d = day + datetime.timedelta(days=i)
    folder = os.path.join(root, "Entries", "默认", "Notes", str(d.year))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Notes_%s.txt" % d.isoformat()), "wb") as f:
        f.write(("[EOHDR]\r\nnote %d of %s\r\n" % (i, d.isoformat())).encode() + b"x" * (i % 700))
# One note in this month, to be seen on the wallpaper.
today = datetime.date.today()
with open(os.path.join(root, "Entries", "默认", "Notes", str(today.year),
                       "Notes_%s.txt" % today.replace(day=3).isoformat()), "wb") as f:
    f.write(b"[EOHDR]\r\nmoved with the others\r\n")
with open(os.path.join(root, "Entries", "Codes2026.dat"), "wb") as f:
    f.write(bytes(range(256)) * 5 + bytes(200))
os.makedirs(os.path.join(root, "ImageCRC"))
with open(os.path.join(root, "ImageCRC", "CRC_0000abcd.ini"), "wb") as f:
    f.write(b"[Image]\r\nContrast=10\r\n")
EOF
# Every shared file with its checksum.
manifest() { (cd "$1" && find Entries ImageCRC -type f ! -name '~$*' -print0 | sort -z | xargs -0 sha1sum); }
manifest "$first" >"$E2E_ART/expected.txt"
[ "$(wc -l <"$E2E_ART/expected.txt")" -ge 2002 ] || e2e_fail "the fixture holds $(wc -l <"$E2E_ART/expected.txt") files"
e2e_reg_set "$ORV_KEY\\App" NotesFolder REG_SZ 'C:\Notes'
mkdir -p "$second"

label_is() {
  local children
  children=$(orv_children)
  grep -F 'class="Static"' <<<"$children" | e2e_has -F "text=\"$1\""
}
# Opens the application tab, clicks "更改..." and picks, in the folder browser that opens
# on the folder in use, the first folder of C:\ (Left: up to C:, Right: its first child).
choose_first_folder_of_c() {  # EXPECTED-STATUS
  e2e_post TOVMainForm WM_USER+23
  e2e_wait_window TOVMainForm visible 10 >/dev/null
  sleep 0.7
  local tabs
  tabs=$(orv_children | grep 'class="SysTabControl32"' | head -1 | cut -d' ' -f1)
  e2e_send "$tabs" 0x1330 6 >/dev/null
  sleep 0.5
  # A real click on the button, where the user sees it.
  local l t r b
  read -r l t r b < <(orv_children | grep -F 'text="更改..."' | orv_rect)
  [ -n "${b:-}" ] || e2e_fail "no button 更改... on the application tab"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2))
  e2e_wait_for "the folder browser" 30 eval 'ov_tool children "#32770" 2>/dev/null | e2e_has -F "选择保存项目的文件夹"'
  sleep 0.7
  xdotool key Left
  sleep 0.3
  xdotool key Right
  sleep 0.5
  e2e_screenshot browser >/dev/null
  local browser
  browser=$(ov_tool children '#32770' | tr -d '\r')
  grep -qF "text=\"$1\"" <<<"$browser" || e2e_fail "the browser's status does not show $1: $browser"
  ov_tool press "确定" >/dev/null
}

orv_start_running
e2e_wait_for "the folder in use on the label" 10 label_is 'C:\\Notes\\'
choose_first_folder_of_c 'C:\\AMoved'
started=$SECONDS
e2e_wait_for "the moved folder on the label" 120 label_is 'C:\\AMoved\\'
e2e_log "2,000 notes moved in $((SECONDS - started)) s"
e2e_screenshot moved >/dev/null
e2e_assert_eq 'C:\AMoved\' "$(e2e_reg_get "$ORV_KEY\\App" NotesFolder)" "NotesFolder after the move"
manifest "$second" >"$E2E_ART/moved.txt"
cmp -s "$E2E_ART/expected.txt" "$E2E_ART/moved.txt" ||
  e2e_fail "the moved files differ: $(diff "$E2E_ART/expected.txt" "$E2E_ART/moved.txt" | head -5)"
e2e_assert_eq 0 "$(find "$first" -type f | wc -l)" "files left in the old folder"
orv_no_boxes || e2e_fail "a message after the move: $(orv_box_texts)"

# A second move, killed while it copies.
mkdir -p "$third"
choose_first_folder_of_c 'C:\\AAKilled'
copied() { [ "$(find "$third" -type f -name 'Notes_*' | wc -l)" -ge 100 ]; }
e2e_wait_for "the copy under way" 60 copied
e2e_screenshot copying >/dev/null
# The progress window is a dialog frame (a static control would paint its caption's
# text over the progress line).
e2e_find_window '#32770' "正在移动项目..." >/dev/null || e2e_fail "no progress window while the notes move"
kill -KILL "$(e2e_pid orvinta)"
e2e_wait_exit orvinta 10 || e2e_fail "the killed program did not end"
e2e_log "killed with $(find "$third" -type f | wc -l) files copied"
e2e_screenshot killed >/dev/null
e2e_assert_eq 'C:\AMoved\' "$(e2e_reg_get "$ORV_KEY\\App" NotesFolder)" "NotesFolder after the killed move"
manifest "$second" >"$E2E_ART/after-kill.txt"
cmp -s "$E2E_ART/expected.txt" "$E2E_ART/after-kill.txt" ||
  e2e_fail "the folder in use lost files in the killed move: $(diff "$E2E_ART/expected.txt" "$E2E_ART/after-kill.txt" | head -5)"

# The next start uses the old folder: its notes are drawn, nothing is asked.
rm -f "$(orv_wallpaper)"
orv_start_running orvinta-again
orv_no_boxes || e2e_fail "a message at the start after the kill: $(orv_box_texts)"
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 0.7
e2e_wait_for "the folder in use on the label after the kill" 10 label_is 'C:\\AMoved\\'
tabs=$(orv_children | grep 'class="SysTabControl32"' | head -1 | cut -d' ' -f1)
e2e_send "$tabs" 0x1330 6 >/dev/null
sleep 0.5
e2e_screenshot restarted >/dev/null

# Moving there again completes what the killed move began, without asking whether to use
# the copies it left as if another computer had put them there.
choose_first_folder_of_c 'C:\\AAKilled'
completed_or_asked() { orv_has_box "所选文件夹中已有项目" || label_is 'C:\\AAKilled\\'; }
e2e_wait_for "the completed move on the label" 120 completed_or_asked
e2e_screenshot completed >/dev/null
orv_no_boxes || e2e_fail "a message instead of the completed move: $(orv_box_texts)"
manifest "$third" >"$E2E_ART/completed.txt"
cmp -s "$E2E_ART/expected.txt" "$E2E_ART/completed.txt" ||
  e2e_fail "the completed move differs: $(diff "$E2E_ART/expected.txt" "$E2E_ART/completed.txt" | head -5)"
e2e_assert_eq "" "$(ls -A "$third" | grep -vxE 'Entries|ImageCRC' || true)" "other files in the new folder"
orv_end_session orvinta-again
e2e_pass
