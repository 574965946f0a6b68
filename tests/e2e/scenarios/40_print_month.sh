#!/usr/bin/env bash
# Printing a month through CUPS and its cups-pdf queue: on the printer tab the preview
# shows the page at the printer's proportions, follows the zoom slider and the
# orientation box; a month picked in the month picker and
# "打印日历" with the print dialog's OK give a PDF within 30 s whose page shows the same
# six-row month grid as the saved "OV3" page image; without the page image the button
# says so instead of printing; an option box is saved under its name and closing the
# program deletes the page image; with no printer to be found the print button and the
# orientation box are disabled.
# e2e-timeout: 200
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/cups.sh"
e2e_init
cups_ready || e2e_skip "CUPS cannot print here: $CUPS_NOT_READY"
pagegrid() { python3 "$E2E_ROOT/tests/e2e/lib/pagegrid.py" "$@"; }

orv_not_first_run
orv_window_font
orv_sample_library >/dev/null
# White paper, framed cells, black text, no shadows: the grid is what shows on the page.
for option in CheckPrintIncludeBackground:0 CheckPrintFrames:1 CheckPrintBlackText:1 CheckPrintShadow:0; do
  e2e_reg_set "$ORV_KEY\\Print" "${option%:*}" REG_DWORD "${option#*:}"
done

control() { orv_children | grep -F "text=\"$1\"" | head -n 1; }
temp_folder() { e2e_unix_path "$(ov_tool folder temp | tr -d '\r')"; }
page_images() { ls "$(temp_folder)" | grep -i '^OV3' || true; }
show_printer_tab() {
  e2e_post TOVMainForm WM_USER+23
  e2e_wait_window TOVMainForm visible 10 >/dev/null
  e2e_send "$(orv_children | grep 'class="SysTabControl32"' | head -n 1 | cut -d' ' -f1)" 0x1330 7 >/dev/null
  # The page is rendered when the preview delay after the tab change runs out.
  e2e_wait_for "the page image" 20 bash -c "ls '$(temp_folder)' | grep -qi '^OV3'"
  sleep 1
}

orv_start_running
show_printer_tab
e2e_screenshot printer-tab >/dev/null
shot=$E2E_LAST_SHOT
e2e_assert_match "enabled=1" "$(control 打印日历)" "print button with a printer"
e2e_assert_match "enabled=1" "$(control 打印前景)" "orientation box with a printer"
[ "$(page_images | wc -l)" = 1 ] || e2e_fail "not one page image: $(page_images)"
read -r pw ph < <(identify -format '%w %h\n' "bmp:$(temp_folder)/$(page_images)")
[ "$pw" -gt "$ph" ] || e2e_fail "landscape page image expected, got $pw x $ph"
# The preview shows the page at its proportions inside the chequered panel.
read -r l t r b < <(orv_children | grep 'class="OVPreviewPanel"' | orv_rect)
read -r vw vh < <(pagegrid extent "$shot" "$l" "$t" "$r" "$b")
awk -v a="$((vw * ph))" -v b="$((vh * pw))" 'BEGIN { exit !(a > 0.97 * b && a < 1.03 * b) }' ||
  e2e_fail "preview $vw x $vh is not in the page's proportions $pw x $ph"

# Each change renders a new page image in place of the last one.
new_page_image() {  # OLD: waits for a page image other than OLD, prints its size
  e2e_wait_for "a new page image" 15 bash -c "ls '$(temp_folder)' | grep -i '^OV3' | grep -qvxF '$1'"
  sleep 0.3
  [ "$(page_images | wc -l)" = 1 ] || e2e_fail "not one page image: $(page_images)"
  identify -format '%w %h\n' "bmp:$(temp_folder)/$(page_images)"
}
# The zoom slider one step up (a click right of its thumb): 35 % of the page.
read -r l t r b < <(orv_children | grep 'class="msctls_trackbar32"' | grep 'visible=1' | orv_rect)
old=$(page_images)
e2e_click "$((r - 12))" "$(((t + b) / 2))"
read -r zw zh < <(new_page_image "$old")
[ $((zw * 30 / 35 - pw)) -ge -1 ] && [ $((zw * 30 / 35 - pw)) -le 1 ] ||
  e2e_fail "zoom 35 % gave $zw x $zh after $pw x $ph at 30 %"
# Portrait and back: the page turns and the preview follows.
old=$(page_images)
ov_tool click TOVMainForm "打印前景" >/dev/null
read -r tw th < <(new_page_image "$old")
[ "$tw" -lt "$th" ] || e2e_fail "portrait page image expected, got $tw x $th"
e2e_screenshot portrait >/dev/null
read -r l t r b < <(orv_children | grep 'class="OVPreviewPanel"' | orv_rect)
read -r vw vh < <(pagegrid extent "$E2E_LAST_SHOT" "$l" "$t" "$r" "$b")
[ "$vw" -lt "$vh" ] || e2e_fail "the preview did not turn to portrait: $vw x $vh"
old=$(page_images)
ov_tool click TOVMainForm "打印前景" >/dev/null
new_page_image "$old" >/dev/null

# November 2026 in the month picker, taken with Enter: it needs six week rows.
first_image=$(page_images)
read -r l t r b < <(orv_children | grep 'class="SysDateTimePick32"' | orv_rect)
e2e_click "$((l + 16))" "$(((t + b) / 2))"
xdotool type --delay 80 2026 8>&-
xdotool key Right 8>&-
xdotool type --delay 80 11 8>&-
xdotool key Return 8>&-
e2e_wait_for "the November page" 15 bash -c "ls '$(temp_folder)' | grep -i '^OV3' | grep -qvxF '$first_image'"
e2e_assert_match 'text="2026年11月"' "$(orv_children | grep 'class="SysDateTimePick32"')" "month picker"
sleep 0.5
e2e_screenshot november >/dev/null

pdfs=$(cups_pdf_folder)
mkdir -p "$pdfs"
ls "$pdfs" >"$E2E_ART/pdfs-before.txt"
[ "$(page_images | wc -l)" = 1 ] || e2e_fail "the earlier page image was not replaced: $(page_images)"
cp "$(temp_folder)/$(page_images)" "$E2E_ART/page-image.bmp"
ov_tool click TOVMainForm "打印日历" >/dev/null || e2e_fail "no print button"
e2e_wait_window '#32770' visible 10 >/dev/null
sleep 0.5
e2e_screenshot print-dialog >/dev/null
read -r l t r b < <(ov_tool children '#32770' | tr -d '\r' | grep ' id=1 ' | orv_rect)
e2e_click "$(((l + r) / 2))" "$(((t + b) / 2))"
new_pdf() { ls "$pdfs" | grep -F 'Orvinta_Image' | grep -vxF -f "$E2E_ART/pdfs-before.txt" | head -n 1; }
e2e_wait_for "the printed PDF" 30 bash -c "ls '$pdfs' | grep -F Orvinta_Image | grep -qvxF -f '$E2E_ART/pdfs-before.txt'"
pdf=$pdfs/$(new_pdf)
# The PDF goes from the shared output folder at the end, passing or not; a copy stays.
remove_printed() { rm -f "$pdf"; }
E2E_ON_CLEANUP+=(remove_printed)
e2e_wait_for "the PDF written to its end" 10 bash -c "tail -c 32 '$pdf' | grep -q '%%EOF'"
cp "$pdf" "$E2E_ART/printed.pdf"
e2e_assert_match "Orvinta_Image__[0-9]+_x_[0-9]+_" "$pdf" "job title in the PDF's name"
pdftoppm -r 100 -png -singlefile "$E2E_ART/printed.pdf" "$E2E_ART/printed"
pagegrid compare "$E2E_ART/page-image.bmp" "$E2E_ART/printed.png" | tee "$E2E_ART/compare.txt" ||
  e2e_fail "the printed page differs from the page image: $(cat "$E2E_ART/compare.txt")"
# Six week rows: across the Monday column 9 lines (title, weekday row, then the Mondays
# 2 to 30 in rows 2 to 6; the bottom of one cell and the top of the next are one line at
# this resolution; five rows would leave out the 30th); the week-number column and seven
# day columns: 9 lines down.
read -r _ lines_mondays _ < <(grep '^column' "$E2E_ART/compare.txt")
read -r _ lines_v _ < <(grep '^vertical' "$E2E_ART/compare.txt")
[ "$lines_mondays" = 9 ] && [ "$lines_v" = 9 ] || e2e_fail "no six-row month grid on the printed page"

# The page image gone before printing: the dialog, then a message instead of a page.
rm -f "$(temp_folder)/$(page_images)"
ov_tool click TOVMainForm "打印日历" >/dev/null || e2e_fail "no print button"
e2e_wait_window '#32770' visible 10 "打印" >/dev/null
ov_tool press 1 "打印" >/dev/null
e2e_wait_for "the message" 10 orv_has_box "没有可打印的日历图像。"
orv_assert_box "没有可打印的日历图像。"
orv_press "确定"

# An option box redraws the page, which writes a new page image; closing the program
# deletes it.
ov_tool click TOVMainForm "阴影" >/dev/null || e2e_fail "no box 阴影"
e2e_wait_for "a new page image" 10 bash -c "ls '$(temp_folder)' | grep -qi '^OV3'"
e2e_post TOVMainForm WM_COMMAND 100
e2e_wait_exit orvinta 20 || e2e_fail "the program did not end on 退出"
[ -z "$(page_images)" ] || e2e_fail "page images left after closing: $(page_images)"
# The box clicked on is saved under its own name in section Print.
e2e_assert_eq 1 "$(e2e_reg_get "$ORV_KEY\\Print" CheckPrintShadow)" "CheckPrintShadow saved"
e2e_assert_eq 35 "$(e2e_reg_get "$ORV_KEY\\App" PrintZoomFactor)" "PrintZoomFactor saved"

# No printer: the button and the orientation box are disabled, silently.
cups_hide_printers
E2E_ORVINTA_NAME=second orv_start_running second
show_printer_tab
e2e_screenshot no-printer >/dev/null
e2e_assert_match "enabled=0" "$(control 打印日历)" "print button without a printer"
e2e_assert_match "enabled=0" "$(control 打印前景)" "orientation box without a printer"
orv_no_boxes || e2e_fail "a message box without a printer: $(orv_box_texts)"
e2e_pass
