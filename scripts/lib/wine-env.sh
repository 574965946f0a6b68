# Shared shell functions for running the Windows build under Wine: a private prefix
# kept away from the real home, a headless X display when there is none, and a prefix
# booted once under a lock. Sourced by scripts/wine-run and the end-to-end harness.

# Wine's noise off; no Mono or Gecko installers; no menu entries in the home folder.
ov_wine_env() {
  local prefix=$1
  export WINEPREFIX=$prefix
  export WINEDEBUG=${OV_WINEDEBUG:--all}
  # Without a debugger a crashing program ends at once with an error code: Wine's
  # automatic debugger otherwise hangs here until the test's time-out.
  # OV_WINE_CRASH_DEBUG=1 keeps it, for a backtrace.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  [ "${OV_WINE_CRASH_DEBUG:-0}" = 1 ] || WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winedbg.exe=d"
  local home
  home=$(dirname "$prefix")/home
  mkdir -p "$home/.local/share" "$home/.config" "$home/.cache"
  export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache
  # Wine names Unix files in the locale's encoding: keep it UTF-8 so that Chinese file
  # names work. The Windows code page follows the language (936 for zh_CN, 1252 for en_US).
  case "${LANG:-}" in
    *.UTF-8|*.utf8) ;;
    *) export LANG=en_US.UTF-8 ;;
  esac
  export LC_ALL=$LANG
}

# Boots the prefix once (under a lock, so parallel test programs wait for the first).
# $2 = "desktop" makes every program of the prefix run inside one virtual desktop.
ov_wine_prefix_ready() {
  local prefix=$1 mode=${2:-plain}
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.ov-ready" ]; then
      rm -rf "$prefix"
      # wineserver keeps inherited pipes open: never pipe wineboot, wait with wineserver -w.
      wineboot --init >"$prefix.boot.log" 2>&1 </dev/null
      wineserver -w
      local fonts="$prefix/drive_c/windows/Fonts"
      mkdir -p "$fonts"
      # Debian's Wine does not load its own fonts folder: caption buttons need Marlett.
      for f in /usr/share/wine/fonts/marlett.ttf; do
        [ -f "$f" ] && cp "$f" "$fonts/"
      done
      local reg="$prefix.setup.reg"
      {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        # Tahoma has no Chinese glyphs and the prefix has no YaHei: both fall back to WenQuanYi.
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"Tahoma"="WenQuanYi Micro Hei"\r\n"Microsoft YaHei UI"="WenQuanYi Micro Hei"\r\n\r\n'
        if [ "$mode" = desktop ]; then
          printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="shell"\r\n\r\n'
          printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"shell"="%s"\r\n\r\n' "${OV_DESKTOP_SIZE:-1280x1024}"
        fi
      } >"$reg"
      # The prefix counts as ready only with these settings in it: a regedit that did
      # not start (it happens now and then on a loaded machine) is tried again.
      local try ok=0
      for try in 1 2 3; do
        if wine regedit /S "$reg" >>"$prefix.boot.log" 2>&1 </dev/null; then ok=1; break; fi
        echo "regedit of the prefix settings failed (try $try)" >>"$prefix.boot.log"
        sleep 1
      done
      wineserver -w
      [ "$ok" = 1 ] || exit 1
      touch "$prefix/.ov-ready"
    fi
  ) 9>"$prefix.lock"
}

# Starts Xvfb on a free display when $DISPLAY is empty; sets OV_XVFB_PID.
ov_ensure_display() {
  OV_XVFB_PID=
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  ov_start_xvfb "${1:-1280x1024}"
}

# A headless display that belongs to a prefix and outlives single programs: every program
# of the prefix, and the prefix's own helper processes that linger after them, then talk to
# the same X server. Started on first use; `ov_stop_prefix_display` ends it.
ov_prefix_display() {
  local prefix=$1 size=${2:-1280x1024}
  mkdir -p "$(dirname "$prefix")"
  local n
  {
  n=$(
    flock 8
    if [ -f "$prefix.display" ]; then
      read -r n pid <"$prefix.display" || true
      if [ -n "${pid:-}" ] && kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
        echo "$n"
        exit 0
      fi
    fi
    # Xvfb outlives this lock: it must not inherit it, or the next caller waits forever.
    ov_start_xvfb "$size" >/dev/null </dev/null 8>&- || exit 1
    echo "${DISPLAY#:} $OV_XVFB_PID" >"$prefix.display"
    echo "${DISPLAY#:}"
  )
  } 8>"$prefix.display.lock"
  [ -n "$n" ] || return 1
  export DISPLAY=":$n"
}

ov_stop_prefix_display() {
  local prefix=$1
  if [ -f "$prefix.display" ]; then
    read -r _ pid <"$prefix.display" || true
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    rm -f "$prefix.display"
  fi
}

ov_start_xvfb() {
  local size=${1:-1280x1024} n
  for n in $(seq 90 189); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      setsid Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 </dev/null &
      OV_XVFB_PID=$!
      local i owner
      # Ready when the display's lock names our server (another one may have taken the
      # number meanwhile: ours then ends, and the next number is tried) and its socket exists.
      for i in $(seq 1 100); do
        kill -0 "$OV_XVFB_PID" 2>/dev/null || break
        owner=$(tr -dc 0-9 2>/dev/null <"/tmp/.X$n-lock" || true)
        [ "$owner" = "$OV_XVFB_PID" ] && [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
      done
      if kill -0 "$OV_XVFB_PID" 2>/dev/null && [ "${owner:-}" = "$OV_XVFB_PID" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill "$OV_XVFB_PID" 2>/dev/null || true
      wait "$OV_XVFB_PID" 2>/dev/null || true
    fi
  done
  OV_XVFB_PID=
  echo "no free X display for Xvfb" >&2
  return 1
}
