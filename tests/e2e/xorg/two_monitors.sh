#!/usr/bin/env bash
# Two placed monitors, which Wine's virtual desktop cannot give: an X.Org server with the
# dummy driver and two Xinerama heads (a 1024x768 primary with an 800x600 monitor on its
# left, so the virtual screen's origin is (-800, 0) and its bottom-left corner is on no
# monitor), and Wine without a virtual desktop. Checks what the program installs on
# Windows 10 and on Windows 7, the unshown corner, the mini controller on the left monitor
# and a triple-click there opening the pop-up over the clicked cell.
# Needs root (Xorg), xserver-xorg-core and xserver-xorg-video-dummy, the Windows build and
# the booted end-to-end prefix that the scenarios before it leave; without them it is
# skipped (exit 77). The test e2e_two_monitors, or by hand: bash tests/e2e/xorg/two_monitors.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
source "$root/scripts/lib/wine-env.sh"
build=${OV_BUILD_DIR:-$root/build/win}
bin=$build/bin
tool=$build/e2e/bin/ovtool.exe
# Artefacts (wallpapers, logs) stay in the artefacts folder; the prefix copy is removed.
work=$build/e2e/artifacts/two_monitors
rm -rf "$work" && mkdir -p "$work"
prefix=$build/e2e/two-monitors-prefix
xorg_pid=
orv_pid=

fail() { echo "two_monitors: FAIL: $*" >&2; exit 1; }
# A Wine command that only writes state (reg, regedit), tried up to three times: now and
# then, on a loaded machine, a Wine process fails to start at all. Fails with what Wine
# said the last time.
wine_try() {
  local try out
  for try in 1 2 3; do
    out=$(wine "$@" 2>&1 </dev/null 8>&-) && return 0
    sleep 1
  done
  fail "wine $* failed three times: $(tr '\r\n' '  ' <<<"$out" | cut -c1-300)"
}
skip() { echo "two_monitors: SKIPPED: $*" >&2; exit 77; }
finish() {
  [ -n "$orv_pid" ] && kill "$orv_pid" 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null || true
  rm -rf "$prefix"
  echo "two_monitors: artefacts in $work"
}
trap finish EXIT
command -v Xorg >/dev/null && [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
  skip "no Xorg with the dummy driver (scripts/install-deps.sh installs them)"
[ "$(id -u)" = 0 ] || skip "Xorg needs root here"
[ -f "$bin/Orvinta.exe" ] && [ -f "$tool" ] || fail "build the Windows tree first"
[ -f "$build/e2e/slot0/prefix/system.reg" ] || skip "no booted end-to-end prefix: run an e2e scenario first"

monitor_sections() {
  local n
  for n in 0 1; do
    printf 'Section "Device"\n  Identifier "d%s"\n  Driver "dummy"\n  VideoRam 64000\nEndSection\n' $n
    printf 'Section "Monitor"\n  Identifier "m%s"\n  HorizSync 5.0-1000.0\n  VertRefresh 5.0-200.0\n' $n
    printf '  Modeline "1024x768" 63.50 1024 1072 1176 1328 768 771 775 798\n'
    printf '  Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628\nEndSection\n'
  done
  printf 'Section "Screen"\n  Identifier "s0"\n  Device "d0"\n  Monitor "m0"\n  DefaultDepth 24\n'
  printf '  SubSection "Display"\n    Depth 24\n    Modes "1024x768"\n  EndSubSection\nEndSection\n'
  printf 'Section "Screen"\n  Identifier "s1"\n  Device "d1"\n  Monitor "m1"\n  DefaultDepth 24\n'
  printf '  SubSection "Display"\n    Depth 24\n    Modes "800x600"\n  EndSubSection\nEndSection\n'
}
{
  printf 'Section "ServerFlags"\n  Option "AutoAddDevices" "false"\n  Option "AutoEnableDevices" "false"\n'
  printf '  Option "DontVTSwitch" "true"\n  Option "Xinerama" "true"\nEndSection\n'
  monitor_sections
  printf 'Section "ServerLayout"\n  Identifier "l"\n  Screen 0 "s0" 800 0\n  Screen 1 "s1" 0 0\nEndSection\n'
} >"$work/xorg.conf"
# The server picks a free display itself and writes its number when it is ready.
Xorg -displayfd 3 -config "$work/xorg.conf" -noreset -nolisten tcp -novtswitch -sharevts \
  -logfile "$work/xorg.log" 3>"$work/display" >"$work/xorg.out" 2>&1 &
xorg_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; kill -0 $xorg_pid 2>/dev/null || break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xorg did not start (see $work/xorg.out)"
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
heads=$(xdpyinfo -ext XINERAMA 2>/dev/null | grep -c 'head #' || true)
[ "$heads" = 2 ] || fail "display $DISPLAY has $heads Xinerama heads, expected 2"

# A copy of the prefix without the virtual desktop, with Xinerama heads as monitors.
# Copied while no scenario changes it (holding its slot's lock).
rm -rf "$prefix"
flock -w 300 "$build/e2e/slot0/run.lock" cp -a "$build/e2e/slot0/prefix" "$prefix"
export LANG=zh_CN.UTF-8
ov_wine_env "$prefix"
cat >"$work/monitors.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"=-

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"UseXRandR"="N"
"UseXVidMode"="N"

[HKEY_CURRENT_USER\Control Panel\Mouse]
"DoubleClickSpeed"="5000"
REG
wine_try regedit /S "$(winepath -w "$work/monitors.reg")"
wineserver -w
key='HKCU\Software\Quenlar\Orvinta3'
desk='HKCU\Control Panel\Desktop'
reg_get() { wine "$tool" reg get "$1" "$2" 2>/dev/null | tr -d '\r'; }
wall=$prefix/drive_c/users/root/AppData/Roaming/Quenlar/Orvinta/Wallpaper.bmp
# The screen rectangle "l,t,r,b" of the program's window of CLASS, empty while it has none.
window_rect() { wine "$tool" list 2>/dev/null | grep "class=\"$1\"" | sed 's/.*rect=\([-0-9,]*\).*/\1/' || true; }
# The number of colours in a part of the wallpaper file.
colours() { convert "$wall" -crop "$1" +repage -format '%k' info:; }

[ "$(wine "$tool" desktop 2>/dev/null | head -1 | tr -d '\r')" != "" ] || fail "no desktop"

for version in win10 win7; do
  wine_try reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d $version /f
  wineserver -k 2>/dev/null || true
  wineserver -w
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  wine_try reg add "$key\\App" /v FirstRun /t REG_SZ /d 0 /f
  timeout 90 wine "$bin/Orvinta.exe" /quit >"$work/quit-$version.log" 2>&1 8>&- || fail "/quit on $version"
  cp "$wall" "$work/wallpaper-$version.bmp"
  size=$(identify -format '%wx%h' "$wall")
  [ "$size" = 1824x768 ] || fail "$version: wallpaper $size, expected the virtual screen 1824x768"
  style=$(reg_get "$desk" WallpaperStyle) tile=$(reg_get "$desk" TileWallpaper)
  if [ $version = win10 ]; then
    [ "$style/$tile" = 22/0 ] || fail "win10: WallpaperStyle/TileWallpaper $style/$tile, expected span 22/0"
    corner=800x168+0+600      # the left monitor's column below its 600 rows
  else
    [ "$style/$tile" = 0/1 ] || fail "win7: WallpaperStyle/TileWallpaper $style/$tile, expected tile 0/1"
    corner=800x168+1024+600   # the same part, rotated 800 columns to the left
  fi
  [ "$(colours $corner)" = 1 ] || fail "$version: the unshown corner holds more than the desktop colour"
  [ "$(colours 800x600+0+0)" != 1 ] || [ $version = win7 ] || fail "win10: the left monitor's part is empty"
  echo "two_monitors: $version: $size, WallpaperStyle $style, TileWallpaper $tile, unshown corner plain"
done

# The panel on the left monitor (wallpaper pixels 40..780 = screen -760..-20).
wine reg delete "$key" /f >/dev/null 2>&1 || true
wine_try reg add "$key\\App" /v FirstRun /t REG_SZ /d 0 /f
for kv in "CalendarR1 40" "CalendarR2 40" "CalendarR3 780" "CalendarR4 580"; do
  set -- $kv
  wine_try reg add "$key\\Panels" /v "$1" /t REG_DWORD /d "$2" /f
done
wine "$bin/Orvinta.exe" >"$work/orvinta.log" 2>&1 8>&- &
orv_pid=$!
# The controller is created at 0,0 and placed after the first wallpaper is built: wait
# for it to reach the left monitor rather than reading it the moment it exists.
on_left() { [ -n "$cr" ] && [ "$cr" -le 0 ] && [ "$cl" -ge -800 ]; }
for _ in $(seq 60); do
  controller=$(window_rect TFController)
  IFS=, read -r cl ct cr cb <<<"$controller"
  on_left && break
  sleep 0.5
done
on_left || fail "mini controller at $controller, not on the left monitor"
echo "two_monitors: mini controller at $controller"

# A triple-click in the panel's grid, in the middle of the left monitor.
x=-380 y=400
wine "$tool" cursor $x $y >/dev/null 2>&1
for _ in 1 2 3; do wine "$tool" post TOrvintaApplication 0xCAE 0x202 0 >/dev/null 2>&1; done
rect=
for _ in $(seq 20); do
  rect=$(window_rect TFEntry)
  [ -n "$rect" ] && break
  sleep 0.5
done
[ -n "$rect" ] || fail "no pop-up after a triple-click at $x,$y"
IFS=, read -r pl pt pr pb <<<"$rect"
# The window covers the cell (its caption bar 17 rows above it) and stays on the left monitor.
[ "$pl" -le $x ] && [ $x -le "$pr" ] && [ "$pt" -le $y ] && [ $y -le "$pb" ] || fail "pop-up $rect not over $x,$y"
[ "$pr" -le 0 ] && [ "$pl" -ge -800 ] || fail "pop-up $rect not on the left monitor"
import -window root "$work/popup.png" 2>/dev/null || true
echo "two_monitors: pop-up at $rect"
echo "two_monitors: PASS"
