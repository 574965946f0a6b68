#!/usr/bin/env bash
# Refreshes docs/desktop.png, the README's picture of the desktop with the calendar, from
# the real program: runs the scenario that builds the wallpaper on a fresh desktop (it
# saves the screenshot among its artefacts in the build tree, also in every test run)
# and copies that screenshot into docs/. Needs the win tree built (scripts/build.sh win).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${OV_BUILD_DIR:-$root/build/win}
scenario=10_wallpaper_quit

started=$(date +%s)
bash "tests/e2e/scenarios/$scenario.sh"
shot=$(find "$build/e2e" -path "*$scenario*" -name '*-desktop-with-calendar.png' -newermt "@$started" | sort | tail -n 1)
[ -n "$shot" ] || { echo "refresh-screenshot: the scenario saved no screenshot" >&2; exit 1; }
mkdir -p docs
# Without metadata (times, paths), so that the same screen gives the same file.
convert "$shot" -strip -define png:exclude-chunks=date,time "docs/desktop.png"
echo "docs/desktop.png from $shot"
