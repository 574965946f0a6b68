# More computers in one scenario (sourced after harness.sh): each further "PC" is a Wine
# prefix of its own (a copy of the slot's booted prefix, kept in the slot and reset before
# each scenario, like the slot's own), with its own wineserver, its own Xvfb display and
# virtual desktop, and a keep-alive. The slot's own prefix is the PC "main".
#
#   e2e_add_pc b          # makes PC b ready (the current PC stays as it was)
#   e2e_use_pc b          # later harness calls (ov_tool, e2e_start_orvinta, e2e_data_folder,
#   e2e_use_pc main       # xdotool, screenshots) act on that PC
#
# Programs started on a PC are stopped by PID at the end as usual; then each PC's
# wineserver and display are ended too.

declare -A E2E_PC_PREFIX=() E2E_PC_DISPLAY=() E2E_PC_XVFB=()
E2E_PC=main

# The folder of PC NAME's prefix inside the slot.
e2e__pc_dir() { printf '%s/pc-%s\n' "$E2E_SLOT_DIR" "$1"; }

# Makes PC NAME: copies the slot's prefix when there is no copy yet or the slot's prefix
# was booted again since, resets it, starts a display, its desktop and a keep-alive.
e2e_add_pc() {
  local name=$1 dir prefix main_prefix=$E2E_SLOT_DIR/prefix
  [ -z "${E2E_PC_PREFIX[$name]:-}" ] || e2e_fail "PC $name was already added"
  [ "$E2E_PC" = main ] || e2e_fail "add PCs while the main PC is in use"
  E2E_PC_PREFIX[main]=$main_prefix
  E2E_PC_DISPLAY[main]=$DISPLAY
  dir=$(e2e__pc_dir "$name")
  prefix=$dir/prefix
  (
    flock 9
    if [ ! -f "$prefix/.ov-ready" ] || [ "$main_prefix/.ov-ready" -nt "$prefix/.ov-ready" ]; then
      rm -rf "$prefix"
      mkdir -p "$dir"
      # The copy's wineserver is a server of its own: a prefix is known by its folder.
      cp -a "$main_prefix" "$prefix"
      rm -f "$prefix/.ov-ready"
      touch "$prefix/.ov-ready"
    fi
  ) 9>"$dir.lock" || e2e_fail "cannot copy the prefix for PC $name"
  E2E_PC_PREFIX[$name]=$prefix

  local saved_display=$DISPLAY
  unset DISPLAY
  ov_start_xvfb "$E2E_DESKTOP_SIZE" 8>&- || e2e_fail "cannot start Xvfb for PC $name"
  E2E_PC_XVFB[$name]=$OV_XVFB_PID
  E2E_PC_DISPLAY[$name]=$DISPLAY
  echo "$OV_XVFB_PID" >>"$E2E_ART/.pids"
  export DISPLAY=$saved_display

  e2e_use_pc "$name"
  e2e_reset
  e2e_start "keepalive-$name" "$E2E_TOOLS/keepalive.exe"
  e2e_wait_for "the virtual desktop of PC $name" 30 e2e_desktop_up
  e2e_log "PC $name: display $DISPLAY, prefix $prefix"
  e2e_use_pc main
}

# Points the harness at PC NAME ("main" for the slot's own).
e2e_use_pc() {
  local name=$1
  [ -n "${E2E_PC_PREFIX[$name]:-}" ] || { [ "$name" = main ] && return 0; e2e_fail "no PC $name"; }
  E2E_PC=$name
  E2E_PREFIX=${E2E_PC_PREFIX[$name]}
  E2E_PROGRAM_DIR=$E2E_PREFIX/drive_c/Program\ Files/Orvinta
  export WINEPREFIX=$E2E_PREFIX DISPLAY=${E2E_PC_DISPLAY[$name]}
}

# Runs a command on PC NAME and comes back to the PC in use: e2e_on b e2e_data_folder.
# Not for e2e_start (a subshell's programs are not recorded): use e2e_use_pc for that.
e2e_on() {
  local name=$1
  shift
  (e2e_use_pc "$name" && "$@")
}

# At the end, after the programs were stopped by PID: each added PC's wineserver and
# display; the main PC is put back for the rest of the clean-up.
e2e__pcs_cleanup() {
  local name
  for name in "${!E2E_PC_XVFB[@]}"; do
    WINEPREFIX=${E2E_PC_PREFIX[$name]} timeout 20 wineserver -k 8>&- 2>/dev/null || true
    e2e__kill_pid "${E2E_PC_XVFB[$name]}"
  done
  E2E_PC_XVFB=()
  [ -z "${E2E_PC_PREFIX[main]:-}" ] || e2e_use_pc main
}
