#!/usr/bin/env bash
# The release's installer: an older version installs per user with its Start-menu
# shortcut and uninstall entry, and the installed program runs from its new place; the
# new version upgrades it in place while it runs (the running copy ends cleanly, saving
# its settings) and keeps the notes; uninstalling while the program runs ends it, removes
# every installed file, the Start-menu and autostart shortcuts and the uninstall entry,
# and leaves the notes and settings. Needs scripts/package.sh to have made dist/.
# e2e-timeout: 240
source "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../lib/orvinta.sh"
e2e_init

version=$(sed -n 's/^#define ORV_VERSION_TEXT "\(.*\)"$/\1/p' "$E2E_BUILD/generated/OrvintaVersion.h")
msi=$E2E_ROOT/dist/Orvinta-$version-x64.msi
zip=$E2E_ROOT/dist/Orvinta-$version-x64.zip
[ -f "$msi" ] && [ -f "$zip" ] || e2e_fail "no $msi: run scripts/package.sh first"
old_version=2.9.0.0

# The older release: the same program folder (from the zip) with a lower version.
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$E2E_ART/old"
old_msi=$E2E_ART/Orvinta-$old_version-x64.msi
"$E2E_ROOT/scripts/make-msi.sh" "$E2E_ART/old/Orvinta" "$old_version" "$old_msi"

msiexec_run() {  # NAME ARGS...: runs msiexec quietly and expects success
  local name=$1
  shift
  e2e_start "$name" msiexec "$@" /qn
  e2e_wait_exit "$name" 120 || e2e_fail "msiexec $* did not finish"
  [ "$E2E_EXIT_CODE" = 0 ] || e2e_fail "msiexec $* failed with $E2E_EXIT_CODE"
}
new_code={$("$E2E_ROOT/scripts/make-msi.sh" --product-code "$version")}
old_code={$("$E2E_ROOT/scripts/make-msi.sh" --product-code "$old_version")}
# The entries in the list of installed programs of the two versions, as "NAME VERSION"
# lines (Wine keeps per-user installs there too).
uninstall_entries() {
  local code key
  for code in "$old_code" "$new_code"; do
    key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code"
    e2e_reg_get "$key" DisplayName >/dev/null 2>&1 || continue
    printf '%s %s\n' "$(e2e_reg_get "$key" DisplayName)" "$(e2e_reg_get "$key" DisplayVersion)"
  done
}

install_dir=$(e2e_user_dir)/AppData/Local/Programs/Orvinta
# A run of this scenario that stopped half-way leaves its products installed: their
# files go first (so that no program of theirs runs), then their registration.
for code in "$new_code" "$old_code"; do
  if e2e_reg_get "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$code" DisplayName >/dev/null 2>&1; then
    rm -rf "$install_dir"
    msiexec_run "leftover-$code" /x "$code"
  fi
done
start_menu=$(e2e_user_dir)/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
startup=$(e2e_unix_path "$(ov_tool folder startup | tr -d '\r')")
orv_not_first_run
orv_sample_library >/dev/null

# 1. The older version installs.
msiexec_run install-old /i "$(e2e_win_path "$old_msi")"
for f in Orvinta.exe MHookOV.dll README.txt LICENSES.txt "Images/Blue Lights.jpg" "Skin Images/gold.png" \
  "Overlay Images/BorderBlueXP.png"; do
  e2e_assert_file "$install_dir/$f"
done
e2e_assert_file "$start_menu/Orvinta 3.lnk"
link=$(ov_tool link "$(e2e_win_path "$start_menu/Orvinta 3.lnk")" | tr -d '\r')
grep -q '^target .*\\AppData\\Local\\Programs\\Orvinta\\Orvinta.exe$' <<<"$link" || e2e_fail "Start-menu shortcut: $link"
e2e_assert_eq "Orvinta 3 $old_version" "$(uninstall_entries)" "installed programs"
grep -q '^ARPPRODUCTICON' <<<"$(msiinfo export "$old_msi" Property)" || e2e_fail "no icon for the list of installed programs"

# 2. The installed program starts from its new place and builds its wallpaper.
e2e_start orvinta "$install_dir/Orvinta.exe"
e2e_wait_window TOVMainForm exists 30 >/dev/null
e2e_wait_for "the wallpaper" 30 test -f "$(orv_wallpaper)"
e2e_screenshot installed-program-running >/dev/null
note=$(orv_note_file 2026 3 14)
mkdir -p "$(dirname "$note")"
printf '升级以后还在\r\n' >"$note"

# 3. The new version replaces the old one while it runs: the copy ends as at log-off.
msiexec_run upgrade /i "$(e2e_win_path "$msi")"
e2e_wait_exit orvinta 30 || e2e_fail "the upgrade left the running copy running"
e2e_assert_eq 1 "$(e2e_reg_get "$ORV_KEY\\App" Ec)" "start counter saved by the copy the upgrade ended"
e2e_assert_eq "Orvinta 3 $version" "$(uninstall_entries)" "installed programs after the upgrade"
e2e_assert_file "$install_dir/Orvinta.exe"
e2e_assert_file "$start_menu/Orvinta 3.lnk"
e2e_assert_eq 升级以后还在 "$(tr -d '\r' <"$note")" "the note after the upgrade"

# 4. Uninstalling while the program runs ends it first (it saves its settings and writes
# its autostart shortcut, which the uninstall then removes).
rm -f "$(orv_wallpaper)"
e2e_start orvinta2 "$install_dir/Orvinta.exe"
e2e_wait_window TOVMainForm exists 30 >/dev/null
e2e_wait_for "the wallpaper of the upgraded program" 30 test -f "$(orv_wallpaper)"
msiexec_run uninstall /x "$(e2e_win_path "$msi")"
e2e_wait_exit orvinta2 30 || e2e_fail "uninstalling left the program running"
e2e_assert_eq 2 "$(e2e_reg_get "$ORV_KEY\\App" Ec)" "start counter saved by the copy the uninstall ended"
e2e_assert_no_file "$install_dir"
e2e_assert_no_file "$start_menu/Orvinta 3.lnk"
e2e_assert_no_file "$startup/Orvinta.lnk"
e2e_assert_eq "" "$(uninstall_entries)" "uninstall entries left"
e2e_assert_eq 升级以后还在 "$(tr -d '\r' <"$note")" "the note after uninstalling"
e2e_assert_file "$(e2e_data_folder)/Entries"
e2e_pass
