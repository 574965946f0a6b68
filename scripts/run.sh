#!/usr/bin/env bash
# Builds Orvinta.exe and starts it under Wine in a virtual desktop of its own prefix
# (build/run/prefix, with Chinese as the system language). On $DISPLAY when there is one;
# otherwise on a private headless X server: then it answers the first-start questions with
# their defaults, waits for the wallpaper, saves a screenshot of the desktop, says where,
# and stops what it started.
#   OV_RUN_LANG=en_US.UTF-8 scripts/run.sh   runs in a Western code page instead
#   OV_RUN_SECONDS=N                          how long the headless run waits (default 20)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/wine-env.sh

scripts/install-deps.sh
mkdir -p build
scripts/build.sh win

export LANG=${OV_RUN_LANG:-zh_CN.UTF-8}
run=$root/build/run
prefix=$run/prefix
ov_wine_env "$prefix"

headless=0
pids=()
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  ov_start_xvfb "${OV_DESKTOP_SIZE:-1280x1024}"
  pids+=("$OV_XVFB_PID")
fi
cleanup() {
  if [ "$headless" = 1 ]; then
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  fi
}
trap cleanup EXIT

echo "== preparing the Wine prefix (the first time takes about 20 s)"
ov_wine_prefix_ready "$prefix" desktop

# The program lives in a normal program folder inside the prefix.
progdir="$prefix/drive_c/Program Files/Orvinta"
mkdir -p "$progdir"
cp -r "$root/build/win/bin/." "$progdir/"
exe='C:\Program Files\Orvinta\Orvinta.exe'

if [ "$headless" = 0 ]; then
  echo "== starting Orvinta on $DISPLAY (it lives in the tray; close the Wine desktop window to stop)"
  exec wine "$exe" "$@"
fi

echo "== starting Orvinta on a headless desktop ($DISPLAY)"
wine "$exe" "$@" >"$run/orvinta.log" 2>&1 &
pids+=($!)
# First start: confirm the information box and keep the default picture folder.
for key in 1 2; do
  sleep 5
  xdotool key Return 2>/dev/null || true
done
sleep "${OV_RUN_SECONDS:-20}"
shot=$run/screenshot.png
import -window root "$shot"
echo "== screenshot of the desktop: $shot"
