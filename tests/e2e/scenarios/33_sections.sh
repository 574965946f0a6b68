#!/usr/bin/env bash
# Note sections through the tab "项目": "新建" starts naming the new section at once (a
# Chinese name typed), "重命名" renames one and refuses a name differing only in letter
# case, the selected section takes the notes typed into the desktop pop-up, the tray's
# "项目部分" lists "A&B" as written and choosing it activates that folder (a pop-up open
# meanwhile saves into its own section first), and "删除"
# asks first and moves the folder to the recycle bin.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_window_font
color=$(orv_plain_calendar)
entries="$(e2e_data_folder)/Entries"
trash="$XDG_DATA_HOME/Trash/files"
for old in "$trash"/旅行*; do e2e__rm_inside "$old"; done

orv_start_running
orv_cells "$(orv_wallpaper)" "$color" >"$E2E_ART/cells.txt"
read -r day l t r b <<<"$(orv_pick_day "$E2E_ART/cells.txt")" || e2e_fail "no day cell to click"

# The first line of CHILDREN (ovtool's output, captured whole) with CLASS, its handle and id.
first_of() { local line; line=$(grep "class=\"$2\"" <<<"$1" | head -1 || true); printf '%s\n' "$line"; }
list() { local c; c=$(orv_children); first_of "$c" SysListView32 | cut -d' ' -f1; }
items() { local l out; l=$(list); out=$(ov_tool items "$l" | tr -d '\r'); printf '%s\n' "$out"; }
selected() { items | sed -n 's/.* selected=1 .* text="\(.*\)"$/\1/p'; }
editor_line() { local c; c=$(ov_tool children "$(list)" | tr -d '\r'); first_of "$c" Edit; }
label_editor() { [ -n "$(editor_line)" ]; }
# Types NAME into the caption editor that is open on the list and ends the editing.
name_it() {
  e2e_wait_for "the caption editor" 5 label_editor
  ov_tool settext "$(editor_line | cut -d' ' -f1)" . "$1" >/dev/null
  sleep 0.3
  xdotool key Return
  sleep 0.5
}
show_window() {
  e2e_post TOVMainForm WM_USER+23
  e2e_wait_window TOVMainForm visible 10 >/dev/null
  sleep 0.7
  local c
  c=$(orv_children)
  e2e_send "$(first_of "$c" SysTabControl32 | cut -d' ' -f1)" 0x1330 0 >/dev/null
  sleep 0.5
}
# Selects the row with caption NAME by a click on it.
select_row() {
  local l t r b
  read -r l t r b < <(items | grep -F "text=\"$1\"" | orv_rect)
  [ -n "$b" ] || e2e_fail "no row $1 in: $(items)"
  e2e_click $(((l + r) / 2)) $(((t + b) / 2))
  sleep 0.5
  e2e_assert_eq "$1" "$(selected)" "selected section"
}

e2e_log "step: create"
show_window
# "新建": the new folder "New", its caption editor open; the typed name renames it.
ov_tool click TOVMainForm "新建" >/dev/null
e2e_wait_for "the folder New" 5 test -d "$entries/New"
e2e_wait_for "the caption editor" 5 label_editor
e2e_screenshot new-editing >/dev/null
name_it "工作"
e2e_wait_for "New renamed to 工作" 5 test -d "$entries/工作"
e2e_assert_no_file "$entries/New"
ov_tool click TOVMainForm "新建" >/dev/null
name_it "A&B"
e2e_wait_for "the folder A&B" 5 test -d "$entries/A&B"

e2e_log "step: rename"
# "重命名": a name that differs only in case is refused with the warning; another is taken.
select_row "工作"
ov_tool click TOVMainForm "重命名" >/dev/null
name_it "a&b"
e2e_wait_for "the refusal" 5 orv_has_box "已经存在"
e2e_screenshot rename-refused >/dev/null
orv_assert_box "部分“a&b”已经存在!"
ov_tool press "确定" >/dev/null
e2e_wait_for "the refusal closed" 5 orv_no_boxes
e2e_assert_file "$entries/工作"
ov_tool click TOVMainForm "重命名" >/dev/null
name_it "旅行"
e2e_wait_for "工作 renamed to 旅行" 5 test -d "$entries/旅行"
e2e_assert_no_file "$entries/工作"
e2e_wait_for "the list rebuilt" 5 eval 'items | e2e_has -F "text=\"旅行\""'
e2e_screenshot renamed >/dev/null
# Where A&B is in the list, and so in the tray's submenu.
index=$(items | grep -F 'text="A&B"' | cut -d' ' -f1)
count=$(items | grep -c .)
[ -n "$index" ] || e2e_fail "A&B not in the list: $(items)"

e2e_log "step: note"
# The active section takes the note typed into the desktop pop-up.
select_row "旅行"
e2e_send TOVMainForm 0x0112 0xF020 >/dev/null
e2e_wait_window TOVMainForm hidden 10 >/dev/null
sleep 1
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
xdotool type --delay 40 "Trip"
wall_note=$(orv_wallpaper_mtime)
e2e_click 100 200
note="$entries/旅行/Notes/$(date +%Y)/Notes_$(date +%Y)-$(date +%m)-$(printf %02d "$day").txt"
e2e_wait_for "the note in 旅行" 10 test -f "$note"
e2e_assert_eq "[EOHDR]|Trip|" "$(tr '\r\n' '||' <"$note" | tr -s '|')" "note in the active section"
e2e_assert_no_file "$(orv_note_file "$(date +%Y)" "$(date +%m)" "$day")"

e2e_log "step: tray"
# The tray's "项目部分" (seventh item) lists the sections in the list's order, "A&B" as
# written; choosing it makes it the active section. A pop-up open with typing meanwhile
# saves into the section it was opened in (旅行), not into A&B.
e2e_wait_for "the wallpaper with the note" 15 eval '[ "$(orv_wallpaper_mtime)" != "$wall_note" ]'
sleep 1
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
xdotool key ctrl+a
xdotool type --delay 40 "More"
ov_tool cursor 200 300 >/dev/null
e2e_post TOrvintaTray WM_APP+10 1 0x205
e2e_wait_for "the tray menu" 5 e2e_window_visible '#32768'
sleep 0.3
# Mouse clicks, as the keyboard focus is elsewhere once the window has hidden. With this
# prefix's menu font, "项目部分" (the seventh row) is centred 131 px below the menu's top.
menus() { ov_tool list '#32768' | tr -d '\r' | grep 'visible=1'; }
read -r ml mt mr mb < <(menus | head -1 | orv_rect)
e2e_click $((ml + 40)) $((mt + 131))
e2e_wait_for "the submenu 项目部分" 5 eval '[ "$(menus | grep -c .)" -ge 2 ]'
sleep 0.5
e2e_screenshot tray-sections >/dev/null
# The submenu holds the sections, a separator (half a row high) and "导出为 .ics...".
read -r sl st sr sb < <(menus | grep -v "rect=$ml,$mt," | orv_rect)
e2e_click $(((sl + sr) / 2)) $((st + 2 + (sb - st - 4) * (2 * index + 1) / (2 * count + 3)))
e2e_wait_window TFEntry gone 10 >/dev/null
e2e_assert_eq "[EOHDR]|More|" "$(tr '\r\n' '||' <"$note" | tr -s '|')" "note of the pop-up open across the switch"
e2e_assert_no_file "$entries/A&B/Notes/$(date +%Y)/Notes_$(date +%Y)-$(date +%m)-$(printf %02d "$day").txt"
sleep 1
show_window
e2e_assert_eq "A&B" "$(selected)" "section chosen from the tray"
e2e_screenshot tray-chosen >/dev/null

e2e_log "step: delete"
# The preview, cut out of a new screenshot into NAME.png.
preview_shot() {
  local c rect
  c=$(orv_children)
  rect=$(first_of "$c" OVPreviewPanel | orv_rect)
  read -r pl pt pr pb <<<"$rect"
  convert "$(e2e_screenshot "$1")" -crop "$((pr - pl))x$((pb - pt))+$pl+$pt" +repage "$E2E_ART/$1.png"
}

# "删除": No keeps the folder; Yes moves it to the recycle bin, activates "默认" and
# redraws the preview, whose title named the deleted section.
select_row "旅行"
sleep 1
preview_shot preview-before
ov_tool click TOVMainForm "删除" >/dev/null
e2e_wait_for "the confirmation" 5 orv_has_box "回收站"
orv_assert_box "部分“旅行”和它所有的项目将被移动到回收站中。您真的想要删除它吗?"
e2e_screenshot delete-confirm >/dev/null
ov_tool press "否" >/dev/null
e2e_wait_for "the confirmation closed" 5 orv_no_boxes
sleep 0.5
e2e_assert_file "$entries/旅行"
ov_tool click TOVMainForm "删除" >/dev/null
orv_press "是" 5 >/dev/null
e2e_wait_for "旅行 gone" 10 eval '! test -e "$entries/旅行"'
# The recycle bin names the folder 旅行-<tag>.
trashed=$(compgen -G "$trash/旅行*/Notes" || true)
[ -n "$trashed" ] || e2e_fail "旅行 not in the recycle bin: $(ls "$trash")"
# "默认" has no folder before its first note, so no row is selected.
e2e_wait_for "the list without 旅行" 5 eval '! items | e2e_has -F "text=\"旅行\""'
e2e_assert_eq "" "$(selected)" "selected row after the deletion"
preview_redrawn() {
  preview_shot preview-after
  changed=$(compare -metric AE "$E2E_ART/preview-before.png" "$E2E_ART/preview-after.png" null: 2>&1 || true)
  [ "${changed%%.*}" -gt 50 ]
}
e2e_wait_for "the preview redrawn after the deletion" 5 preview_redrawn
orv_end_session
e2e_assert_eq "默认" "$(e2e_reg_get "$ORV_KEY\\App" SubEntryName)" "SubEntryName after the deletion"
e2e_pass
