#!/usr/bin/env bash
# Without MHookOV.dll the program still starts, shows the hook error box, runs on and
# can be closed.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init
orv_not_first_run
orv_sample_library >/dev/null
e2e_install_orvinta
rm "$E2E_PROGRAM_DIR/MHookOV.dll"

e2e_start_orvinta
expected="Orvinta 桌面鼠标挂钓无法初始化。在桌面上三击鼠标也许无法工作。请尝试重启本程序。如果不起作用 - 重启您的系统。"
e2e_wait_for "the hook error box" 30 orv_has_box 挂钓
e2e_screenshot hook-error >/dev/null
orv_assert_box "$expected"
orv_press 确定
e2e_wait_for "the box to close" 10 orv_no_boxes
e2e_running orvinta || e2e_fail "the program ended after the hook error"
e2e_assert_file "$(orv_wallpaper)"
orv_end_session
e2e_pass
