#!/usr/bin/env bash
# The tab "备份": a complete backup into a folder picked in the folder browser holds every
# note and picture-property file (read back with cabextract); a changes-only backup holds
# just the note changed since; restoring the complete one brings back a deleted note,
# keeps a note edited after it, and the summary box counts both.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
data=$(e2e_data_folder)
target="$E2E_PREFIX/drive_c/Backups"
e2e__rm_inside "$target"
mkdir -p "$target"
# The browser opens on C:\, where Backups is the first folder.
e2e_reg_set "$ORV_KEY\\App" BackupPath REG_SZ 'C:\'
year=$(date +%Y)
notes="$data/Entries/默认/Notes/$year"
mkdir -p "$notes" "$data/ImageCRC"
note_a="$notes/Notes_$year-01-05.txt" note_b="$notes/Notes_$year-01-06.txt"
printf '[EOHDR]\r\nfirst\r\n' >"$note_a"
printf '[EOHDR]\r\nsecond\r\n' >"$note_b"
printf '[Image]\r\nContrast=10\r\n' >"$data/ImageCRC/CRC_0000ABCD.ini"
touch -d '3 days ago' "$note_a" "$note_b" "$data/ImageCRC/CRC_0000ABCD.ini"

orv_start_running
e2e_post TOVMainForm WM_USER+23
e2e_wait_window TOVMainForm visible 10 >/dev/null
sleep 0.7
children=$(orv_children)
tabs=$(grep 'class="SysTabControl32"' <<<"$children" | head -1 | cut -d' ' -f1)
e2e_send "$tabs" 0x1330 8 >/dev/null
sleep 0.5

# Backs up through the folder browser: Right opens C:\ and Right again selects Backups.
# Leaves the information box's text in box_text.
backup() {
  ov_tool click TOVMainForm "创建压缩备份" >/dev/null
  e2e_wait_for "the folder browser" 30 eval 'ov_tool children "#32770" 2>/dev/null | e2e_has -F "选择备份目标"'
  sleep 0.7
  xdotool key Right Right
  sleep 0.5
  e2e_screenshot "browser-$1" >/dev/null
  ov_tool children '#32770' | tr -d '\r' | e2e_has -F 'text="C:\\Backups"' ||
    e2e_fail "the browser's status does not show C:\\Backups: $(ov_tool children '#32770' | tr -d '\r')"
  ov_tool press "确定" >/dev/null
  e2e_wait_for "the backup's box" 20 orv_has_box "备份"
  e2e_screenshot "backup-$1" >/dev/null
  box_text=$(orv_box_texts)
  ov_tool press "确定" >/dev/null
  e2e_wait_for "the box closed" 5 orv_no_boxes
}
cab_names() { cabextract -q -l "$1" | awk -F'|' 'NR > 2 && NF == 3 { gsub(/^ +| +$/, "", $3); print $3 }' | sort; }

# A complete backup: every file below Entries and ImageCRC, byte for byte.
# cabextract lists the names with "/" for the cabinet's "\\".
expected=$(cd "$data" && find Entries ImageCRC -type f | sort)
count=$(grep -c . <<<"$expected")
backup all
text=$box_text
all=$(compgen -G "$target/Orvinta-Backup ALL *.cab") || e2e_fail "no complete backup in $(ls "$target")"
# ovtool shows line breaks as \r\n and a backslash doubled.
[[ $text == "备份完成。\r\n\r\n- 文件名“C:\\\\Backups\\\\Orvinta-Backup ALL "*".cab”\r\n- 包含 $count 个文件\r\n- 备份文件的大小为 "[0-9]*" KB" ]] ||
  e2e_fail "the complete backup's box: $text"
e2e_assert_eq "$expected" "$(cab_names "$all")" "files in the complete backup"
mkdir "$E2E_ART/all"
cabextract -q -d "$E2E_ART/all" "$all"
cmp "$E2E_ART/all/Entries/默认/Notes/$year/Notes_$year-01-06.txt" "$note_b" || e2e_fail "note B differs in the cabinet"

# A changes-only backup after editing note A holds that note alone.
sleep 2.5
printf '[EOHDR]\r\nfirst, edited\r\n' >"$note_a"
ov_tool click TOVMainForm "仅备份上次备份以来修改的数据" >/dev/null
sleep 0.3
backup changes
text=$box_text
e2e_assert_match "包含 1 个文件" "$text" "the changes-only backup's box"
changes=$(compgen -G "$target/Orvinta-Backup 2*.cab") || e2e_fail "no changes-only backup in $(ls "$target")"
e2e_assert_eq "Entries/默认/Notes/$year/Notes_$year-01-05.txt" "$(cab_names "$changes")" "files in the changes-only backup"

# Restoring the complete backup: note B, deleted, comes back; note A, newer, stays.
rm "$note_b"
ov_tool click TOVMainForm "选择要恢复的备份文件" >/dev/null
e2e_wait_for "the open dialog" 10 orv_has_dialog
sleep 1
e2e_screenshot open-dialog >/dev/null
xdotool type --delay 30 "C:\\Backups\\$(basename "$all")"
xdotool key Return
e2e_wait_for "the restore's summary" 20 orv_has_box "已恢复"
e2e_screenshot restored >/dev/null
orv_assert_box "- 备份中有 $count 个文件，其中有 $((count - 1)) 个比当前文件旧。\\r\\n- 已恢复 1 个文件。"
ov_tool press "确定" >/dev/null
e2e_assert_eq "[EOHDR]|second|" "$(tr '\r\n' '||' <"$note_b" | tr -s '|')" "note B restored"
e2e_assert_eq "[EOHDR]|first, edited|" "$(tr '\r\n' '||' <"$note_a" | tr -s '|')" "note A kept"
e2e_pass
