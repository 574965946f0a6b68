#!/usr/bin/env bash
# Under a Chinese interface the Chinese calendar layer is on from the start: the entry
# pop-up's title carries the clicked day's lunar date after the Gregorian one, a colour
# code repeated "年 (农历)" lands on the same lunar date of the next years (both checked
# against python3-lunardate), the setting is saved as ShowLunar "1", and with ShowLunar
# "0" stored the next start draws the calendar without the lunar notes.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
/usr/bin/python3 -c 'import lunardate' 2>/dev/null || { e2e_log "python3-lunardate missing: skipped"; e2e_pass; }
orv_not_first_run
color=$(orv_plain_calendar)

orv_start_running
cp "$(orv_wallpaper)" "$E2E_ART/lunar-on.bmp"
e2e_screenshot calendar-on >/dev/null
orv_cells "$E2E_ART/lunar-on.bmp" "$color" >"$E2E_ART/cells.txt"
target=$(orv_pick_day "$E2E_ART/cells.txt") || e2e_fail "no day cell to click"
read -r day l t r b <<<"$target"
e2e_click $(((l + r) / 2)) $(((t + b) / 2)) 3
e2e_wait_window TFEntry visible 10 >/dev/null
sleep 0.5
e2e_screenshot popup >/dev/null
title=$(e2e_find_window TFEntry | sed -E 's/.* title="(.*)"$/\1/')
expected=$(/usr/bin/python3 - "$(date +%Y)" "$(date +%-m)" "$day" <<'PY'
import sys
from lunardate import LunarDate
d = LunarDate.fromSolarDate(*map(int, sys.argv[1:4]))
stems, branches = "甲乙丙丁戊己庚辛壬癸", "子丑寅卯辰巳午未申酉戌亥"
months = ["正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "冬", "腊"]
digits = " 一二三四五六七八九十"
day = ("初" + digits[d.day] if d.day <= 10 else "十" + digits[d.day - 10] if d.day < 20 else
       "二十" if d.day == 20 else "廿" + digits[d.day - 20] if d.day < 30 else "三十")
print(f"{stems[(d.year - 4) % 10]}{branches[(d.year - 4) % 12]}年 {'闰' if d.isLeapMonth else ''}{months[d.month - 1]}月{day}")
PY
)
read -r year monthday <<<"$expected"
e2e_log "day $day: title '$title', lunar date '$year$monthday'"
# The year goes when the pop-up is too narrow for it, then the weekday.
[[ $title == *", $day  $year$monthday  " || $title == *" $day  $monthday  " ]] ||
  e2e_fail "pop-up title '$title' lacks the lunar date '$year$monthday' of day $day"

# Shift + "绿色" asks for a series: "年 (农历)", 3 times marks the same lunar date in the
# next two lunar years.
orv_popup_menu
xdotool key Down Right
sleep 0.5
xdotool key Down keydown shift key Return keyup shift
e2e_wait_window TFRepeat visible 10 >/dev/null
ov_tool click TFRepeat '#206' >/dev/null
sleep 0.3
ov_tool settext TFRepeat '#221' 3
ov_tool select TFRepeat '#223' 4
sleep 0.3
e2e_screenshot lunar-repeat >/dev/null
wall_before=$(orv_wallpaper_mtime)
ov_tool click TFRepeat 确定 >/dev/null
e2e_wait_window TFEntry gone 10 >/dev/null
rebuilt() { [ "$(orv_wallpaper_mtime)" != "$wall_before" ]; }
e2e_wait_for "the rebuilt wallpaper" 15 rebuilt
series=$(/usr/bin/python3 - "$(date +%Y)" "$(date +%-m)" "$day" <<'PY'
import sys
from lunardate import LunarDate
d = LunarDate.fromSolarDate(*map(int, sys.argv[1:4]))
for k in range(3):
    for day in (d.day, d.day - 1):  # a 30th falls on the 29th of a short month
        try:
            print(LunarDate(d.year + k, d.month, day, 0).toSolarDate())
            break
        except ValueError:
            pass
PY
)
e2e_log "lunar series: $(echo $series)"
for d in $series; do e2e_assert_eq 2 "$(orv_day_code "$d")" "colour code of $d"; done
last=$(tail -n 1 <<<"$series")
e2e_assert_eq 0 "$(orv_day_code "$(date -d "$last + 1 year" +%F)")" "colour code a Gregorian year after $last"
orv_end_session
e2e_assert_eq 1 "$(e2e_reg_get 'HKCU\Software\Quenlar\Orvinta3\App' ShowLunar)" "saved ShowLunar"

# Off: the same calendar without the notes under the day numbers.
e2e_reg_set "$ORV_KEY\\App" ShowLunar REG_SZ 0
rm -f "$(orv_wallpaper)"  # so that the start waits for the new one
orv_start_running off
sleep 1
cp "$(orv_wallpaper)" "$E2E_ART/lunar-off.bmp"
e2e_screenshot calendar-off >/dev/null
# The strip under the clicked day's number: notes drawn with the layer on, plain cell off.
crop="$((r - l - 8))x14+$((l + 3))+$((t + 18))"
convert "$E2E_ART/lunar-on.bmp" -crop "$crop" +repage "$E2E_ART/note-on.png"
convert "$E2E_ART/lunar-off.bmp" -crop "$crop" +repage "$E2E_ART/note-off.png"
changed=$(compare -metric AE "$E2E_ART/note-on.png" "$E2E_ART/note-off.png" null: 2>&1 || true)
e2e_log "pixels that differ under the day number: $changed"
[ "${changed%%.*}" -gt 20 ] || e2e_fail "the lunar note did not go away with ShowLunar 0 ($changed pixels differ)"
orv_end_session off
e2e_assert_eq 0 "$(e2e_reg_get 'HKCU\Software\Quenlar\Orvinta3\App' ShowLunar)" "ShowLunar kept off"
e2e_pass
