# End-to-end harness: sourced by every scenario in tests/e2e/scenarios.
#
# One scenario = one private Xvfb display, the Wine prefix of a free slot of the build
# tree (build/win/e2e/slotN/prefix, every program inside one virtual desktop), reset to a
# fresh state, and a keep-alive program that holds the desktop open. Slots let scenarios
# run side by side: each has its own prefix, home folder and wineserver, and one scenario
# at a time holds it. Everything a scenario starts is stopped at its end by PID, then the
# prefix's wineserver is killed; also when the scenario fails or runs out of time. See
# tests/e2e/README.md.

set -Eeuo pipefail

E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../scripts/lib/wine-env.sh
source "$E2E_ROOT/scripts/lib/wine-env.sh"

E2E_BUILD=$(cd "${OV_BUILD_DIR:-$E2E_ROOT/build/win}" && pwd)
E2E_DIR=$E2E_BUILD/e2e
# How many scenarios may run at once, each in its own slot.
E2E_SLOTS=${OV_E2E_SLOTS:-2}
# The slot's folder (prefix, home, lock) and its prefix; e2e_init picks a free slot.
E2E_SLOT=0
E2E_SLOT_DIR=$E2E_DIR/slot0
E2E_PREFIX=$E2E_SLOT_DIR/prefix
E2E_TOOLS=$E2E_DIR/bin
E2E_BIN=$E2E_BUILD/bin
# Seconds a scenario may run before the watchdog stops it; ctest allows a minute more.
E2E_TIMEOUT=${E2E_TIMEOUT:-150}
E2E_DESKTOP_SIZE=${OV_DESKTOP_SIZE:-1280x1024}
E2E_LANG=${E2E_LANG:-zh_CN.UTF-8}
# Where the program is installed inside the prefix, as Windows and as Unix path.
E2E_PROGRAM_DIR_WIN='C:\Program Files\Orvinta'
E2E_PROGRAM_DIR=$E2E_PREFIX/drive_c/Program\ Files/Orvinta

E2E_NAME=
E2E_ART=
E2E_LAST_SHOT=
E2E_SHOT_COUNT=0
E2E_START_TIME=$SECONDS
E2E_XVFB_PID=
E2E_TOOL_PREFIX=  # the prefix whose ovtool server is running, if any
E2E_TOOL_PID=
E2E_WATCHDOG_PID=
E2E_KEEPALIVE_PID=
E2E_CLEANED=0
declare -A E2E_PROC=()   # program name -> PID
E2E_ON_CLEANUP=()        # commands run at the end, after the Wine programs have stopped
E2E_PROC_ORDER=()        # program names in start order

# ---------------------------------------------------------------------------------
# Messages and assertions

# To standard error, like the failures: a helper whose output a scenario captures
# ($(orv_plain_calendar)) may log a retry, and the line must not become part of its value.
e2e_log() { printf '[e2e %s +%ds] %s\n' "$E2E_NAME" "$((SECONDS - E2E_START_TIME))" "$*" >&2; }

# Ends the scenario as failed; the exit trap prints what the desktop looked like.
e2e_fail() {
  printf 'E2E FAILED [%s]: %s\n' "$E2E_NAME" "$*" >&2
  exit 1
}

# Ends the scenario as skipped (exit 77), saying why it cannot run on this machine.
e2e_skip() {
  e2e_log "SKIPPED: $*"
  exit 77
}

e2e_pass() {
  e2e_log "passed"
  exit 0
}

e2e_assert_eq() {
  local expected=$1 actual=$2 what=${3:-value}
  [ "$expected" = "$actual" ] || e2e_fail "$what: expected '$expected', got '$actual'"
}

e2e_assert_match() {
  local regex=$1 actual=$2 what=${3:-value}
  [[ $actual =~ $regex ]] || e2e_fail "$what: '$actual' does not match /$regex/"
}

e2e_assert_file() { [ -e "$1" ] || e2e_fail "missing file: $1"; }
e2e_assert_no_file() { [ ! -e "$1" ] || e2e_fail "file should not exist: $1"; }

# Runs a command every 0.2 s until it succeeds; fails the scenario after TIMEOUT seconds.
#   e2e_wait_for "the log says deinit" 5 grep -q deinit "$log"
e2e_wait_for() {
  local what=$1 timeout=$2
  shift 2
  local deadline=$((SECONDS + timeout))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || e2e_fail "timed out after ${timeout}s waiting for $what"
    sleep 0.2
  done
}

# ---------------------------------------------------------------------------------
# Paths

# A Unix path as Windows sees it (drive Z: is the Unix root).
e2e_win_path() {
  local p=$1
  [[ $p == /* ]] || p=$PWD/$p
  printf 'Z:%s\n' "${p//\//\\}"
}

# A Windows path as a Unix path: C: is the prefix's drive_c, Z: the Unix root.
e2e_unix_path() {
  local p=$1 rest
  case "$p" in
    [cC]:\\* | [cC]:/*) rest=${p:3}; printf '%s/drive_c/%s\n' "$E2E_PREFIX" "${rest//\\//}" ;;
    [zZ]:\\* | [zZ]:/*) rest=${p:2}; printf '%s\n' "${rest//\\//}" ;;
    *) wine winepath -u "$p" 8>&- 2>/dev/null ;;
  esac
}

# Prints a file of the prefix given by its Windows path; fails the scenario when missing.
e2e_read_file() {
  local file
  file=$(e2e_unix_path "$1")
  [ -f "$file" ] || e2e_fail "missing file $1 ($file)"
  cat -- "$file"
}

# The prefix's user folder (drive_c/users/<name>).
e2e_user_dir() {
  local d
  for d in "$E2E_PREFIX"/drive_c/users/*; do
    [ "$(basename "$d")" = Public ] && continue
    [ -d "$d/AppData" ] && { printf '%s\n' "$d"; return 0; }
  done
  return 1
}

e2e_appdata() { printf '%s/AppData/Roaming\n' "$(e2e_user_dir)"; }
# The program's per-user data folder.
e2e_data_folder() { printf '%s/Quenlar/Orvinta\n' "$(e2e_appdata)"; }

# rm -rf, but only of something inside the test tree: a wrong variable must never reach
# the real home or the source tree.
e2e__rm_inside() {
  local target=$1 real
  [ -e "$target" ] || [ -L "$target" ] || return 0
  real=$(realpath -m "$target")
  case "$real" in
    "$E2E_SLOT_DIR"/prefix/* | "$E2E_SLOT_DIR"/home/* | "$E2E_SLOT_DIR"/pc-*/prefix/*) rm -rf -- "$target" ;;
    *) e2e_fail "refusing to delete $target (resolves to $real, outside $E2E_SLOT_DIR)" ;;
  esac
}

# ---------------------------------------------------------------------------------
# Programs

# Runs a Wine command in the foreground. File descriptor 8 holds the scenario lock and
# must not outlive the scenario in a Wine process.
e2e_wine() { wine "$@" 8>&-; }

# A short Wine command that only writes state (regedit, reg add), tried up to three
# times: now and then, on a loaded machine, the first Wine process of a freshly started
# wineserver fails to start at all. What Wine said each time goes to the scenario's
# log. Prints nothing on success; returns 1 after the third failure.
e2e_wine_retry() {
  local try rc out
  for try in 1 2 3; do
    rc=0
    out=$(wine "$@" 2>&1 </dev/null 8>&-) || rc=$?
    [ "$rc" != 0 ] || return 0
    e2e_log "wine $1 failed (try $try, exit $rc): $(tr '\r\n' '  ' <<<"$out" | cut -c1-300)"
    sleep 1
  done
  return 1
}

# grep -q for the end of a pipeline: it reads its input to the end, so that the program
# writing it (a Wine program printing line by line) is never cut off by SIGPIPE, which
# pipefail would turn into a failure although the line was found.
e2e_has() { grep "$@" >/dev/null; }

# The harness's tool inside Wine (tests/e2e/tools/OvTool.cpp); see its usage text.
# Starting a Wine process costs about a sixth of a second and of a processor-second,
# and a scenario makes dozens of queries: those go to the scenario's ovtool server (one
# process, started with the desktop) while it runs in the prefix in use. A wait for a
# window goes there too: the scenario's shell waits for the answer in any case, and the
# server answers within the wait's time-out (30 s at most), well before a served
# command's 120 s. Commands that press keys or click the mouse always start a process of
# their own.
E2E_SERVED=" list find wait children items msgboxes reg desktop window hint send post settext select "
ov_tool() {
  if [ -n "${E2E_TOOL_PREFIX:-}" ] && [ "${WINEPREFIX:-}" = "$E2E_TOOL_PREFIX" ] &&
    [[ $E2E_SERVED == *" ${1:-} "* ]]; then
    local rc=0
    e2e__serve "$@" || rc=$?
    [ "$rc" = 255 ] || return "$rc"  # 255: the server is gone and never saw the command
  fi
  # ovtool ends with 0, 1 (not found), 2 (failed) or 64 (usage). Any other exit is Wine's
  # own: the process did not start, as now and then on a loaded machine, and did nothing,
  # so it is started again.
  local try rc
  for try in 1 2 3; do
    rc=0
    wine "$E2E_TOOLS/ovtool.exe" "$@" 8>&- || rc=$?
    case $rc in 0 | 1 | 2 | 64) return "$rc" ;; esac
    e2e_log "ovtool $1 did not run (try $try, exit $rc)"
    sleep 1
  done
  return "$rc"
}

# Starts the ovtool server of the scenario's prefix, talking through two FIFOs in the
# artefacts folder. Without it ov_tool starts a process for every command.
e2e__start_tool_server() {
  local dir=$E2E_ART
  rm -f "$dir/.tool.in" "$dir/.tool.out"
  mkfifo "$dir/.tool.in" "$dir/.tool.out" || return 0
  wine "$E2E_TOOLS/ovtool.exe" serve <"$dir/.tool.in" >"$dir/.tool.out" 2>>"$dir/ovtool-serve.log" 8>&- &
  E2E_TOOL_PID=$!
  echo "$E2E_TOOL_PID" >>"$dir/.pids"
  exec {E2E_TOOL_IN}>"$dir/.tool.in" {E2E_TOOL_OUT}<"$dir/.tool.out"
  E2E_TOOL_PREFIX=$WINEPREFIX
  if ! ov_tool desktop >/dev/null; then
    E2E_TOOL_PREFIX=
    e2e_log "ovtool server not answering; one process per command"
  fi
}

# Ends the ovtool server (it holds the desktop open like any Wine program with windows).
e2e__stop_tool_server() {
  E2E_TOOL_PREFIX=
  [ -n "${E2E_TOOL_PID:-}" ] && e2e__kill_pid "$E2E_TOOL_PID"
  E2E_TOOL_PID=
}

# One command through the server: its output and errors as the command itself would
# print them, and its exit code. One caller at a time (a lock); each request carries an
# ID, so the rest of an answer whose caller was stopped is skipped. 255 when the request
# could not be sent.
e2e__serve() {
  local arg request id line rc= out=()
  for arg in "$@"; do [[ $arg == *[$'\t\n']* ]] && return 255; done
  id=$BASHPID.$RANDOM
  printf -v request '%s\t' "$id" "$@"
  {
    flock 9
    # In a subshell: a write to a server that is gone ends that subshell (SIGPIPE), not
    # the scenario.
    (printf '%s\n' "${request%$'\t'}" >&"$E2E_TOOL_IN") 2>/dev/null || return 255
    while IFS= read -r -t 120 line <&"$E2E_TOOL_OUT"; do
      if [[ $line == $'\x1e'* ]]; then
        line=${line#$'\x1e'}
        if [ "${line%% *}" = "$id" ]; then
          rc=${line##* }
          break
        fi
        out=()
        continue
      fi
      out+=("$line")
    done
  } 9>"$E2E_ART/.tool.lock"
  # The output in one write, as the program would give it: a reader that stops after
  # its first line (head -n 1) must not cut the writer off.
  local text= errors=
  for line in "${out[@]}"; do
    if [[ $line == $'\x1f'* ]]; then errors+=${line#$'\x1f'}$'\n'; else text+=$line$'\n'; fi
  done
  [ -z "$errors" ] || printf '%s' "$errors" >&2
  [ -z "$text" ] || printf '%s' "$text"
  if [ -z "$rc" ]; then
    echo "ovtool server: no answer to $*" >&2
    return 2
  fi
  return "$rc"
}

# Starts a Windows program in the background under NAME; its output goes to
# artifacts/<scenario>/NAME.log. PROGRAM is a Unix or a Windows path.
e2e_start() {
  local name=$1 program=$2
  shift 2
  [ -z "${E2E_PROC[$name]:-}" ] || e2e_fail "a program named $name was already started"
  wine "$program" "$@" >"$E2E_ART/$name.log" 2>&1 8>&- </dev/null &
  E2E_PROC[$name]=$!
  E2E_PROC_ORDER+=("$name")
  echo "$!" >>"$E2E_ART/.pids"
  e2e_log "started $name (pid $!): $program $*"
}

# Starts a Linux helper of the scenario (a stand-in service, say) in the background under
# NAME, recorded like a program so that the end of the scenario stops it.
e2e_start_helper() {
  local name=$1
  shift
  [ -z "${E2E_PROC[$name]:-}" ] || e2e_fail "a program named $name was already started"
  "$@" >"$E2E_ART/$name.log" 2>&1 8>&- </dev/null &
  E2E_PROC[$name]=$!
  E2E_PROC_ORDER+=("$name")
  echo "$!" >>"$E2E_ART/.pids"
  e2e_log "started $name (pid $!): $*"
}

e2e_pid() { printf '%s\n' "${E2E_PROC[$1]:?no program named $1}"; }
e2e_running() { kill -0 "$(e2e_pid "$1")" 2>/dev/null; }

# Waits until program NAME has ended; sets E2E_EXIT_CODE. Returns 1 after TIMEOUT seconds.
e2e_wait_exit() {
  local name=$1 timeout=${2:-10} pid
  pid=$(e2e_pid "$name")
  local deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
  E2E_EXIT_CODE=0
  wait "$pid" 2>/dev/null || E2E_EXIT_CODE=$?
  return 0
}

# Stops program NAME by its PID (TERM, then KILL after 3 s).
e2e_stop() {
  local name=$1 pid
  pid=${E2E_PROC[$name]:-}
  [ -n "$pid" ] || return 0
  e2e__kill_pid "$pid"
}

e2e__kill_pid() {
  local pid=$1 i
  kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
  kill -TERM "$pid" 2>/dev/null || true
  for i in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Copies the Windows build's bin folder (Orvinta.exe, MHookOV.dll, the files shipped
# beside them) into C:\Program Files\Orvinta of the prefix.
e2e_install_orvinta() {
  [ -f "$E2E_BIN/Orvinta.exe" ] || e2e_fail "no $E2E_BIN/Orvinta.exe: build the win tree first"
  e2e__rm_inside "$E2E_PROGRAM_DIR"
  mkdir -p "$E2E_PROGRAM_DIR"
  cp -a "$E2E_BIN/." "$E2E_PROGRAM_DIR/"
}

# Starts the installed program (installing it first if needed) under the name "orvinta".
e2e_start_orvinta() {
  [ -f "$E2E_PROGRAM_DIR/Orvinta.exe" ] || e2e_install_orvinta
  e2e_start "${E2E_ORVINTA_NAME:-orvinta}" "$E2E_PROGRAM_DIR_WIN\\Orvinta.exe" "$@"
}

# ---------------------------------------------------------------------------------
# Windows, messages, registry

# Waits until a top-level window of CLASS is in STATE (exists, gone, visible, hidden);
# prints the window's line from ovtool. Fails the scenario after TIMEOUT seconds.
# The deadline is kept here too: an ovtool that ends early without the window (a wine
# start that failed, a clock that stepped) is logged and asked again, not taken as the
# answer.
e2e_wait_window() {
  local class=$1 state=${2:-exists} timeout=${3:-10} title=${4:-}
  local started=$SECONDS deadline=$((SECONDS + timeout)) left rc args
  for (( ; ; )); do
    left=$((deadline - SECONDS))
    [ "$left" -ge 1 ] || left=1
    args=(wait "$class" "$state" "$((left * 1000))")
    [ -z "$title" ] || args+=("$title")
    rc=0
    ov_tool "${args[@]}" || rc=$?
    [ "$rc" -ne 0 ] || return 0
    # Bad arguments (64) stay bad; asking again would only hide them until the deadline.
    [ "$rc" -ne 64 ] || e2e_fail "ovtool refused: wait $class $state $timeout"
    [ "$SECONDS" -lt "$deadline" ] || break
    e2e_log "ovtool wait for $class ($state) ended after $((SECONDS - started))s with exit $rc; asking again" >&2
    sleep 0.2
  done
  e2e_fail "window of class $class did not become '$state' within ${timeout}s"
}

# Prints "hwnd pid=.. visible=0|1 rect=l,t,r,b class=.. title=.." of the first window of
# CLASS; returns 1 when there is none.
e2e_find_window() { ov_tool find "$@"; }

e2e_window_visible() {
  local line
  line=$(ov_tool find "$@") || return 1
  [[ $line == *" visible=1 "* ]]
}

e2e_post() { ov_tool post "$@" || e2e_fail "cannot post $2 to $1"; }
# A window whose thread has not looked at its messages for 5 s counts as hung, and the
# send is refused at once without being delivered (a busy start under load): such a
# refusal is tried again for up to 20 s. A send that was delivered and timed out is not
# repeated.
e2e_send() {
  local deadline=$((SECONDS + 20)) started
  for (( ; ; )); do
    started=$(date +%s%N)
    ov_tool send "$@" && return 0
    (( $(date +%s%N) - started < 4000000000 && SECONDS < deadline )) || e2e_fail "no answer to $2 from $1"
    sleep 0.5
  done
}

# A registry value as text (strings as UTF-8, numbers as signed decimals, binary data as
# hex); returns 1 when the key or value is missing.
e2e_reg_get() { ov_tool reg get "$1" "$2"; }
# Every value of a key: "name<TAB>type<TAB>value" lines, then "[subkey]" lines.
e2e_reg_list() { ov_tool reg list "$1"; }
# Wine's own reg query output (CR removed).
e2e_reg_query() { e2e_wine reg query "$@" | tr -d '\r'; }
# Exports a key to FILE (UTF-16, as reg writes it) and a UTF-8 copy FILE.txt beside it.
e2e_reg_export() {
  local key=$1 file=$2
  e2e_wine reg export "$key" "$(e2e_win_path "$file")" /y >/dev/null || return 1
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' >"$file.txt"
}

# ---------------------------------------------------------------------------------
# Screen

# Saves the whole X screen as artifacts/<scenario>/NN-NAME.png and prints the path.
e2e_screenshot() {
  local name=$1
  E2E_SHOT_COUNT=$((E2E_SHOT_COUNT + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$E2E_ART" "$E2E_SHOT_COUNT" "$name")
  import -display "$DISPLAY" -window root "$file" 8>&-
  E2E_LAST_SHOT=$file
  printf '%s\n' "$file"
}

# The colour of one pixel of a PNG as RRGGBB.
e2e_pixel() {
  local file=$1 x=$2 y=$3 out
  out=$(convert "$file" -crop "1x1+$x+$y" -depth 8 txt:- 8>&- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n 1)
  printf '%s\n' "${out#\#}"
}

# Moves the pointer to X,Y (screen pixels, which equal desktop pixels) and clicks the
# left button COUNT times, 80 ms apart.
e2e_click() {
  local x=$1 y=$2 count=${3:-1}
  xdotool mousemove "$x" "$y" click --repeat "$count" --delay 80 1 8>&-
}

# ---------------------------------------------------------------------------------
# Set-up

# Everything in place for one scenario: lock, artefact folder, display, prefix, reset,
# keep-alive, watchdog and the exit trap. NAME defaults to the scenario's file name.
e2e_init() {
  E2E_NAME=${1:-$(basename "${BASH_SOURCE[1]:-$0}" .sh)}
  E2E_ART=$E2E_DIR/artifacts/$E2E_NAME
  E2E_START_TIME=$SECONDS

  local tool
  for tool in ovtool.exe keepalive.exe; do
    [ -f "$E2E_TOOLS/$tool" ] || { echo "missing $E2E_TOOLS/$tool: build the win tree first" >&2; exit 1; }
  done
  # One scenario per slot, also when started by hand beside ctest.
  e2e__take_slot || { echo "no free end-to-end slot in $E2E_DIR within 300 s" >&2; exit 1; }

  rm -rf "$E2E_ART"
  mkdir -p "$E2E_ART"
  : >"$E2E_ART/.pids"

  trap 'e2e__on_exit' EXIT
  trap 'e2e__on_timeout' TERM
  trap 'exit 130' INT
  trap 'e2e__on_error $LINENO "$BASH_COMMAND"' ERR

  # Chinese code page for the program's texts, when the machine has the locale.
  if locale -a 2>/dev/null | grep -ix "${E2E_LANG/UTF-8/utf8}" >/dev/null; then export LANG=$E2E_LANG; else export LANG=en_US.UTF-8; fi
  unset LC_ALL DISPLAY
  ov_wine_env "$E2E_PREFIX"
  # Every process of the scenario carries its slot (for the sweep of a later run there)
  # and the run itself (for checks of what one run left behind).
  export OV_E2E_OWNER=$E2E_SLOT_DIR OV_E2E_RUN=$E2E_NAME.$$
  e2e__sweep_leftovers

  e2e__start_watchdog
  # Wine links My Documents, My Pictures and the desktop folder to these when they exist
  # at boot, rather than to the sandboxed home itself.
  mkdir -p "$HOME"/{Desktop,Documents,Pictures,Music,Videos,Downloads}

  ov_start_xvfb "${E2E_DESKTOP_SIZE}" 8>&- || e2e_fail "cannot start Xvfb"
  E2E_XVFB_PID=$OV_XVFB_PID
  echo "$E2E_XVFB_PID" >>"$E2E_ART/.pids"
  e2e_log "display $DISPLAY (Xvfb pid $E2E_XVFB_PID), prefix $E2E_PREFIX, run $OV_E2E_RUN"

  OV_DESKTOP_SIZE=$E2E_DESKTOP_SIZE ov_wine_prefix_ready "$E2E_PREFIX" desktop 8>&- ||
    e2e_fail "cannot boot the Wine prefix (see $E2E_PREFIX.boot.log)"
  e2e_reset

  wine "$E2E_TOOLS/keepalive.exe" >"$E2E_ART/keepalive.log" 2>&1 8>&- </dev/null &
  E2E_KEEPALIVE_PID=$!
  echo "$E2E_KEEPALIVE_PID" >>"$E2E_ART/.pids"
  e2e_wait_for "the virtual desktop" 30 e2e_desktop_up
  e2e__start_tool_server
  local size
  size=$(ov_tool desktop | head -n 1)
  e2e_assert_eq "${E2E_DESKTOP_SIZE/x/ }" "$size" "desktop size"
  e2e_log "desktop $size up"
}

# Takes the first free slot (lock on file descriptor 8, held until the scenario's shell
# ends) and points the prefix's variables at it; waits up to 300 s while all are taken.
e2e__take_slot() {
  local deadline=$((SECONDS + 300)) s
  for (( ; ; )); do
    for ((s = 0; s < E2E_SLOTS; s++)); do
      mkdir -p "$E2E_DIR/slot$s"
      exec 8>"$E2E_DIR/slot$s/run.lock"
      if flock -n 8; then
        E2E_SLOT=$s
        E2E_SLOT_DIR=$E2E_DIR/slot$s
        E2E_PREFIX=$E2E_SLOT_DIR/prefix
        E2E_PROGRAM_DIR=$E2E_PREFIX/drive_c/Program\ Files/Orvinta
        return 0
      fi
      exec 8>&-
    done
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.5
  done
}

# True while the virtual desktop's X window exists.
e2e_desktop_up() {
  local tree
  tree=$(xwininfo -display "$DISPLAY" -root -tree 2>/dev/null) || return 1
  [[ $tree == *'- Wine desktop"'* ]]
}

# Back to a fresh state without booting the prefix again: the program's registry key,
# its data folder, the desktop wallpaper values, the default picture folder, autostart
# shortcuts, print temporary files and the installed program.
e2e_reset() {
  local reg=$E2E_SLOT_DIR/reset.reg
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[-HKEY_CURRENT_USER\\Software\\Quenlar\\Orvinta3]\r\n\r\n'
    # The values of a freshly booted prefix.
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"Wallpaper"=""\r\n"TileWallpaper"=-\r\n"WallpaperStyle"=-\r\n"LogPixels"=-\r\n\r\n'
  } >"$reg"
  e2e_wine_retry regedit /S "$(e2e_win_path "$reg")" || e2e_fail "cannot reset the registry"

  local user
  user=$(e2e_user_dir) || e2e_fail "no user folder in $E2E_PREFIX"
  e2e__rm_inside "$user/AppData/Roaming/Quenlar/Orvinta"
  rmdir "$user/AppData/Roaming/Quenlar" 2>/dev/null || true
  e2e__rm_inside "$user/Pictures/Wallpaper Images"
  e2e__rm_inside "$user/Documents/Wallpaper Images"
  local f
  for f in "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Startup"/*.lnk \
    "$user"/AppData/Local/Temp/OV3* "$user"/Temp/OV3*; do
    [ -e "$f" ] && e2e__rm_inside "$f"
  done
  e2e__rm_inside "$E2E_PROGRAM_DIR"
  # Folders a scenario made on C: (backup targets, notes folders) are gone too: the next
  # scenario in this prefix walks the folder browser from C:'s first child.
  local entry
  for entry in "$E2E_PREFIX"/drive_c/*; do
    case ${entry##*/} in
      ProgramData | "Program Files" | "Program Files (x86)" | users | windows) ;;
      *) e2e__rm_inside "$entry" ;;
    esac
  done
}

# ---------------------------------------------------------------------------------
# Tear-down

e2e__start_watchdog() {
  local main=$$ art=$E2E_ART timeout=$E2E_TIMEOUT
  (
    set +e
    trap - EXIT ERR INT
    trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
    sleep "$timeout" &
    sleeper=$!
    wait "$sleeper"
    echo "scenario ran longer than ${timeout}s" >"$art/.timeout"
    kill -TERM "$main" 2>/dev/null || true
    # The shell runs its trap only when its foreground command returns: end what it is
    # waiting for (its children that are not the scenario's registered programs).
    local me=$BASHPID p
    for p in $(e2e__descendants "$main"); do
      [ "$p" = "$me" ] && continue
      grep -qx "$p" "$art/.pids" 2>/dev/null && continue
      kill -TERM "$p" 2>/dev/null || true
    done
  ) 8>&- &
  E2E_WATCHDOG_PID=$!
}

# PIDs of every descendant of a process, children first.
e2e__descendants() {
  local parent=$1 child
  for child in $(ps -o pid= --ppid "$parent" 2>/dev/null); do
    echo "$child"
    e2e__descendants "$child"
  done
}

# PIDs of processes whose environment holds NAME=VALUE, apart from this shell and its
# ancestors.
e2e__processes_with_env() {
  local entry=$1 ancestors=" $$ $BASHPID " p=$$ stat pid
  # The parent's PID is the field after the command name, which may hold spaces and
  # parentheses. Read without starting a process: a scenario calls this while it waits
  # for its processes to end, and every process started costs milliseconds of a loaded
  # machine.
  while [ "$p" -gt 1 ] 2>/dev/null && read -r stat 2>/dev/null <"/proc/$p/stat"; do
    stat=${stat##*) }
    p=${stat#* }
    p=${p%% *}
    ancestors+="$p "
  done
  # One grep over every process's environment (NUL-separated entries, whole entries
  # only). The list is made before the grep starts, so neither the grep nor the shell
  # that runs it is in it.
  local environs=(/proc/[0-9]*/environ) file
  for file in $(grep -lzxF -e "$entry" -- "${environs[@]}" 2>/dev/null || true); do
    pid=${file#/proc/}
    pid=${pid%/environ}
    [[ $ancestors == *" $pid "* ]] || echo "$pid"
  done
  return 0
}

# Wine processes of this harness's prefix (Xvfb is started with the prefix in its
# environment too, and left out).
e2e__prefix_processes() {
  local pid
  for pid in $(e2e__processes_with_env "WINEPREFIX=$E2E_PREFIX"); do
    [ "$pid" = "${E2E_XVFB_PID:-}" ] || echo "$pid"
  done
}

# A scenario killed hard (ctest's own time-out, kill -9) cannot clean up: end what it
# left in this slot (its Xvfb, watchdog and Wine processes all carry OV_E2E_OWNER) before
# starting anew. Other slots' scenarios are left alone.
e2e__sweep_leftovers() {
  local left p
  left=$(e2e__processes_with_env "OV_E2E_OWNER=$E2E_SLOT_DIR")
  [ -z "$left" ] && return 0
  echo "e2e: stopping processes left by an earlier run: $(echo $left)" >&2
  timeout 20 wineserver -k 8>&- 2>/dev/null || true
  sleep 0.5
  for p in $(e2e__processes_with_env "OV_E2E_OWNER=$E2E_SLOT_DIR"); do kill -KILL "$p" 2>/dev/null || true; done
}

e2e__on_error() {
  printf 'E2E ERROR [%s]: command failed at line %s: %s\n' "$E2E_NAME" "$1" "$2" >&2
}

e2e__on_timeout() {
  printf 'E2E FAILED [%s]: %s\n' "$E2E_NAME" "$(cat "$E2E_ART/.timeout" 2>/dev/null || echo terminated)" >&2
  exit 124
}

# What the desktop looked like when a scenario failed.
e2e__diagnose() {
  echo "---- diagnostics for $E2E_NAME (artefacts: $E2E_ART)" >&2
  if [ -n "${DISPLAY:-}" ] && kill -0 "${E2E_XVFB_PID:-0}" 2>/dev/null; then
    local shot=$E2E_ART/failure.png
    timeout 10 import -display "$DISPLAY" -window root "$shot" 8>&- 2>/dev/null && E2E_LAST_SHOT=$shot
  fi
  echo "last screenshot: ${E2E_LAST_SHOT:-none}" >&2
  if [ -f "$E2E_TOOLS/ovtool.exe" ] && [ -n "${DISPLAY:-}" ]; then
    echo "top-level windows:" >&2
    timeout 15 wine "$E2E_TOOLS/ovtool.exe" list 8>&- 2>/dev/null | grep -v -E 'class="(WineDdeServerName|WineDdeEventClass|IME)"' |
      sed 's/^/  /' >&2 || true
    echo "message boxes:" >&2
    timeout 15 wine "$E2E_TOOLS/ovtool.exe" msgboxes 8>&- 2>/dev/null | sed 's/^/  /' >&2 || true
  fi
  local name
  for name in "${E2E_PROC_ORDER[@]}"; do
    local state=ended
    kill -0 "${E2E_PROC[$name]}" 2>/dev/null && state=running
    echo "program $name (pid ${E2E_PROC[$name]}, $state), last lines of $E2E_ART/$name.log:" >&2
    tail -n 15 "$E2E_ART/$name.log" 2>/dev/null | sed 's/^/  /' >&2 || true
  done
  echo "----" >&2
}

e2e__on_exit() {
  local rc=$?
  trap - EXIT ERR TERM INT
  set +e
  [ "$E2E_CLEANED" = 1 ] && exit "$rc"
  E2E_CLEANED=1
  [ "$rc" = 0 ] || [ "$rc" = 77 ] || e2e__diagnose
  e2e_cleanup
  [ "$rc" = 0 ] || [ "$rc" = 77 ] || echo "E2E FAILED [$E2E_NAME] (exit $rc)" >&2
  exit "$rc"
}

# Stops everything the scenario started, by PID, newest first; then the prefix's
# wineserver (the desktop, services and anything the programs started in turn), then
# the display.
e2e_cleanup() {
  local i name
  [ -n "$E2E_WATCHDOG_PID" ] && e2e__kill_pid "$E2E_WATCHDOG_PID"
  for ((i = ${#E2E_PROC_ORDER[@]} - 1; i >= 0; i--)); do
    name=${E2E_PROC_ORDER[$i]}
    e2e__kill_pid "${E2E_PROC[$name]}"
  done
  [ -n "$E2E_KEEPALIVE_PID" ] && e2e__kill_pid "$E2E_KEEPALIVE_PID"
  # Further PCs of the scenario (lib/pcs.sh): their wineservers and displays.
  if declare -F e2e__pcs_cleanup >/dev/null; then e2e__pcs_cleanup; fi
  E2E_TOOL_PREFIX=
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 20 wineserver -k 8>&- 2>/dev/null || true
    local deadline=$((SECONDS + 10)) left
    while left=$(e2e__prefix_processes) && [ -n "$left" ] && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
    if [ -n "$left" ]; then
      echo "e2e: killing what wineserver -k left: $(echo $left)" >&2
      for i in $left; do kill -KILL "$i" 2>/dev/null || true; done
    fi
  fi
  for i in "${E2E_ON_CLEANUP[@]}"; do "$i"; done
  E2E_ON_CLEANUP=()
  [ -n "$E2E_XVFB_PID" ] && e2e__kill_pid "$E2E_XVFB_PID"
  E2E_XVFB_PID=
}
